// One user's whole path against the simulated sensor: "СТАРТ" to the
// conclusion, "Реги&c", "Со&хр", reopening the saved measurement, and a
// trend over three saved measurements.
#include <QAction>
#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "archive_window.h"
#include "draw/canvas.h"
#include "draw/session.h"
#include "wait_while_busy.h"
#include "results/screens/pages_dlg.h"
#include "sensor_sim.h"

namespace sfigmo::test {
namespace {

class UserPath : public ArchiveWindow {
 protected:
  void SetUp() override {
    sim_ = test::StartSensorSim(QStringList{QStringLiteral("--bpm"), QStringLiteral("72")});
    ASSERT_TRUE(sim_->Started()) << sim_->Errors();
    ArchiveWindow::SetUp();
    dlg_ = new TPagesDlg(form.get(), {',', 800});
    form->PagesDlg = dlg_;
    form->FormActivate();
    sfigmo::test::WaitWhileBusy(*form);
    ASSERT_EQ(form->NoSignal, 0) << messages.join('\n').toStdString();
    // The user closes the results dialog as soon as it is up.
    auto* poll = new QTimer(dlg_);
    QObject::connect(poll, &QTimer::timeout, dlg_, [this] {
      if (QApplication::activeModalWidget() == dlg_ && dlg_->isVisible())
        dlg_->CloseButtons[0]->click();
    });
    poll->start(20);
  }

  // "СТАРТ" to the conclusion, then registration and saving at `when`;
  // the saved file's name.
  std::string MeasureAndSave(const QDateTime& when) {
    const QPoint start = form->Button1->mapTo(form.get(), form->Button1->rect().center());
    QTest::mouseClick(form.get()->childAt(start), Qt::LeftButton);
    test::WaitWhileBusy(*form);
    EXPECT_EQ(form->session().ConclusionShown(), 1) << "the chain stopped before the conclusion";
    now = when;
    form->N1Click();
    form->Regis_->trigger();
    form->Save_->trigger();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    return FilesIn(last()).at(0);
  }

  static QJsonObject Analyze(const fs::path& file, bool stored) {
    QProcess p;
    QStringList args{QStringLiteral("--json")};
    if (stored) args << QStringLiteral("--stored");
    args << QString::fromStdString(file.string());
    p.start(QStringLiteral(SFIGMO_BIN_DIR "/sfigmo-analyze"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  }

  std::unique_ptr<SimProcess> sim_;
  TPagesDlg* dlg_ = nullptr;
};

TEST_F(UserPath, MeasureRegisterSaveReopenAndDrawTrends) {
  const std::string first = MeasureAndSave(At(9, 5, 3));
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(first, "МЛТ67М26_12_07_09_05_03.pul");
  PulsogramRecord saved{};
  ASSERT_TRUE(ReadRecord(archive() / first, saved).ok());
  const PulsogramRecord& current = *form->CurrentRecord;
  ASSERT_GT(current.SampleCount, 0);
  EXPECT_EQ(saved.SampleCount, current.SampleCount);
  EXPECT_EQ(0, std::memcmp(saved.Samples, current.Samples, sizeof saved.Samples));
  EXPECT_EQ(0, std::memcmp(&saved.Results, &current.Results, sizeof saved.Results));
  EXPECT_NEAR(saved.Results.PULS, 72, 3);

  // The command-line analyser reads the same results back, and computes
  // them again from the samples.
  const QJsonObject stored = Analyze(archive() / first, true);
  const QJsonObject recomputed = Analyze(archive() / first, false);
  const struct {
    const char* key;
    double AnalysisResults::*member;
  } fields[] = {{"PULS", &AnalysisResults::PULS}, {"VRKI", &AnalysisResults::VRKI},
                {"KOVR", &AnalysisResults::KOVR}, {"SPSO", &AnalysisResults::SPSO},
                {"NAGR", &AnalysisResults::NAGR}, {"KOLP", &AnalysisResults::KOLP},
                {"KOLE", &AnalysisResults::KOLE}};
  for (const auto& f : fields) {
    EXPECT_EQ(stored.value(QLatin1String(f.key)).toDouble(), saved.Results.*f.member) << f.key;
    EXPECT_EQ(recomputed.value(QLatin1String(f.key)).toDouble(), saved.Results.*f.member) << f.key;
  }

  // Reopened from the archive.
  form->N1Click();
  form->Open_->trigger();
  ASSERT_EQ(form->ListBox1->count(), 1);
  DoubleClick(form->ListBox1, 0);
  EXPECT_EQ(Bytes(*form->CurrentRecord), Bytes(saved));
  EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("       КАДР  1"));

  // Two more measurements, then the trend over all three.
  form->RadioButton1->click();
  MeasureAndSave(At(9, 15, 0));
  MeasureAndSave(At(9, 25, 0));
  ASSERT_EQ(FilesIn(archive()).size(), 4u);  // three records and DatInt
  std::vector<int> pulse;
  for (const std::string& name : FilesIn(archive())) {
    if (name == "DatInt") continue;
    PulsogramRecord r{};
    ASSERT_TRUE(ReadRecord(archive() / name, r).ok());
    pulse.push_back(200 - static_cast<int>(std::lround(r.Results.PULS)));
  }
  form->N2Click();
  form->Graf_->trigger();
  Click(form->ListBox2, 0);
  DoubleClick(form->ListBox2, 2);
  ASSERT_EQ(form->session().TrendViewShown(), 1);
  const Canvas& c = form->traceCanvas();
  for (int i = 0; i < 3; ++i) {
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        red |= c.pixel(20 + 250 * i + dx, pulse[i] + dy) == colours::Red;
    EXPECT_TRUE(red) << "point " << i;
  }
  SaveScreen(QStringLiteral("user-path-trend"));
}

}  // namespace
}  // namespace sfigmo::test
