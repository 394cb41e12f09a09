// The conclusion screen, the results dialog and the printed report judge a
// measurement by one rule table: at each edge of each band they give the same
// verdict, while the score keeps its own, stricter load cut-offs.
#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "analysis/conclusion_rules.h"
#include "report/report_model.h"
#include "results/pages_verdicts.h"
#include "results_fixtures.h"

namespace sfigmo {
namespace {

struct Edge {
  double AnalysisResults::*field;
  double value;
  bool hardPulse;
  const char* screen;  // the verdict this value decides, as the conclusion draws it
  const char* report;  // ... as the report prints it
  PagesTab tab;        // ... and the results dialog's tab that shows it
  const char* dialog;
  int score;
};

constexpr const char* kNormal = "ЧАСТОТА ПУЛЬСА В НОРМЕ -";
constexpr const char* kLowered = "ПУЛЬС  ПОНИЖЕН -";
constexpr const char* kRaised = "ПУЛЬС  ПОВЫШЕН -";
constexpr const char* kUndisturbed = "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН";
constexpr const char* kDisturbed = "НАРУШЕН СИНУСОВЫЙ РИТМ";
constexpr const char* kLoadOk = "НАГРУЗКА МИОКАРДА В НОРМЕ";
constexpr const char* kLoadWeak = "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА";
constexpr const char* kHeartOk = "СОКРАЩЕНИЕ  МЫШЦЫ В НОРМЕ - ";
constexpr const char* kHeartWeak = "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА - ";

TEST(RuleTable, EveryScreenJudgesEachEdgeAlikeAndTheScoreKeepsItsOwnCutOffs) {
  constexpr auto P = &AnalysisResults::PULS;
  constexpr auto V = &AnalysisResults::VRKI;
  constexpr auto D = &AnalysisResults::DescentTime;
  constexpr auto N = &AnalysisResults::NAGR;
  const Edge edges[] = {
      {P, 54.99, false, "НИЗКИЙ   ПУЛЬС -", "Низкий пульс", kPulseTab, "НИЗКИЙ   ПУЛЬС -", 65},
      {P, 55, false, kLowered, "Пульс понижен", kPulseTab, kLowered, 100},
      {P, 69.99, false, kLowered, "Пульс понижен", kPulseTab, kLowered, 100},
      {P, 70, false, kNormal, "Частота пульса в норме", kPulseTab, kNormal, 100},
      {P, 80, false, kNormal, "Частота пульса в норме", kPulseTab, kNormal, 100},
      {P, 80.01, false, kRaised, "Пульс повышен", kPulseTab, kRaised, 80},
      {P, 90, false, kRaised, "Пульс повышен", kPulseTab, kRaised, 80},
      {P, 90.01, false, "ВЫСОКИЙ  ПУЛЬС -", "Высокий пульс", kPulseTab, "ВЫСОКИЙ  ПУЛЬС -", 65},
      {V, 0.0399999, true, kUndisturbed, "Синусовый ритм не нарушен", kRhythmTab, kUndisturbed, 60},
      {V, 0.04, false, kUndisturbed, "Синусовый ритм не нарушен", kRhythmTab, kUndisturbed, 100},
      {V, 0.1599999, false, kUndisturbed, "Синусовый ритм не нарушен", kRhythmTab, kUndisturbed,
       100},
      // The score's rhythm band still holds 0.16, the verdict no longer does.
      {V, 0.16, false, kDisturbed, "Нарушен синусовый ритм", kRhythmTab, kDisturbed, 100},
      {V, 0.1600001, false, kDisturbed, "Нарушен синусовый ритм", kRhythmTab, kDisturbed, 60},
      // Load: the verdict allows at most 0.12 and 0.11, the score wants below
      // 0.12 and below 0.10.
      {D, 0.1199999, false, kLoadOk, "Нагрузка миокарда в норме", kHeartTab, kHeartOk, 100},
      {D, 0.12, false, kLoadOk, "Нагрузка миокарда в норме", kHeartTab, kHeartOk, 60},
      {D, 0.1200001, false, kLoadWeak, "Сердечная мышца ослаблена", kHeartTab, kHeartWeak, 60},
      {N, 0.0999999, false, kLoadOk, "Нагрузка миокарда в норме", kHeartTab, kHeartOk, 100},
      {N, 0.10, false, kLoadOk, "Нагрузка миокарда в норме", kHeartTab, kHeartOk, 60},
      {N, 0.11, false, kLoadOk, "Нагрузка миокарда в норме", kHeartTab, kHeartOk, 60},
      {N, 0.1100001, false, kLoadWeak, "Сердечная мышца ослаблена", kHeartTab, kHeartWeak, 60},
  };
  for (const Edge& e : edges) {
    AnalysisResults r = test::HealthyResults();
    r.*e.field = e.value;
    SCOPED_TRACE(testing::Message() << e.screen << " at " << e.value);

    std::vector<std::string> conclusion;
    for (const VerdictLine& line : ConclusionVerdicts(r)) conclusion.push_back(line.Text);
    EXPECT_NE(std::find(conclusion.begin(), conclusion.end(), e.screen), conclusion.end());
    EXPECT_EQ(conclusion.front() == "ПУЛЬС ЖЕСТКИЙ", e.hardPulse);

    const QStringList report = ReportVerdicts(r);
    EXPECT_TRUE(report.contains(QString::fromUtf8(e.report))) << report.join('|').toStdString();
    EXPECT_EQ(report.front() == QStringLiteral("Пульс жёсткий"), e.hardPulse);

    const std::string dialog = PagesVerdicts(r, r, ',')[e.tab].Text;
    EXPECT_EQ(dialog.rfind(e.dialog, 0), 0u) << dialog;

    EXPECT_EQ(ConclusionScore(r), e.score);
  }
}

}  // namespace
}  // namespace sfigmo
