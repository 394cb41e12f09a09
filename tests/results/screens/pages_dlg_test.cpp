// The results dialog as a user meets it: caption, tabs and their fixed
// lines, coloured verdicts filled on showing, the tab it reopens on, the
// scaling to the screen width, and a picture of every tab.
#include "results/screens/pages_dlg.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "record/pulsogram_record.h"

namespace {

using sfigmo::AnalysisResults;
using sfigmo::PulsogramRecord;

// Numbers as a user with Russian settings sees them, on the design screen.
const sfigmo::DisplaySettings kShown{',', 800};

AnalysisResults Measured() {
  AnalysisResults r;
  r.PULS = 72.46;
  r.VRKI = 0.16;
  r.KOLP = 1;
  r.DescentTime = 0.13;
  r.NAGR = 0.11;
  r.MeanInterval = 0.8;
  return r;
}

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

TEST(PagesDlg, LayoutCaptionTabsAndControls) {
  TPagesDlg dlg(nullptr, kShown);
  EXPECT_EQ(dlg.windowTitle(), QString(63, QLatin1Char(' ')) + QStringLiteral("Р Е З У Л Ь Т А Т"));
  EXPECT_EQ(dlg.size(), QSize(643, 375));
  EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());  // fixed border
  EXPECT_EQ(dlg.PageControl1->geometry(), QRect(8, 8, 625, 345));
  EXPECT_EQ(dlg.StatusBar1->geometry(), QRect(0, 358, 643, 17));

  const QStringList titles{"Пульс", "Сердце", "Сосуды", "Ритм", "Перебои"};
  const int counts[] = {13, 15, 11, 9, 12};
  const QLabel* labels[] = {dlg.Label2, dlg.Label3, dlg.Label4, dlg.Label5, dlg.Label6};
  ASSERT_EQ(dlg.PageControl1->count(), 5);
  for (int tab = 0; tab < 5; ++tab) {
    SCOPED_TRACE(tab);
    EXPECT_EQ(dlg.PageControl1->tabText(tab), titles[tab]);
    QWidget* page = dlg.PageControl1->widget(tab);
    EXPECT_EQ(labels[tab]->parentWidget(), page);
    EXPECT_EQ(labels[tab]->objectName(), QStringLiteral("Label%1").arg(tab + 2));
    EXPECT_EQ(labels[tab]->pos(), QPoint(8, 8));
    EXPECT_EQ(dlg.ListBoxes[tab]->parentWidget(), page);
    EXPECT_EQ(dlg.ListBoxes[tab]->geometry(), QRect(8, 32, 601, 241));
    EXPECT_EQ(dlg.ListBoxes[tab]->count(), counts[tab]);
    EXPECT_EQ(dlg.ListBoxes[tab]->item(0)->text(), QString());
    EXPECT_EQ(dlg.CloseButtons[tab]->text(), QStringLiteral("&Close"));
    EXPECT_EQ(dlg.CloseButtons[tab]->geometry(), QRect(544, 280, 49, 25));
  }
}

TEST(PagesDlg, ExplanatoryLinesKeepTheirBlanksAndLetters) {
  TPagesDlg dlg(nullptr, kShown);
  QListWidget* pulse = dlg.ListBoxes[0];
  EXPECT_EQ(pulse->item(11)->text(), QStringLiteral("     "));
  EXPECT_EQ(pulse->item(12)->text(), QStringLiteral(" "));
  EXPECT_EQ(
      pulse->item(2)->text(),
      QStringLiteral("    Повышенным считается пульс от 80 до 90, пульс свыше  90 - ТАХИКАРДИЯ. "));
  // The stored text has a Latin c in this word; it must stay as it is.
  const QString heart = dlg.ListBoxes[1]->item(2)->text();
  EXPECT_TRUE(
      heart.startsWith(QStringLiteral("    Эффективно") + QLatin1Char('c') + QStringLiteral("ть")));
  EXPECT_EQ(dlg.ListBoxes[2]->item(10)->text(), QString());
  EXPECT_TRUE(dlg.ListBoxes[2]->item(5)->text().contains(QChar(0x2013)));
  EXPECT_EQ(dlg.ListBoxes[3]->item(8)->text(),
            QStringLiteral("    норму может быть предвестником ЭКСТАСИСТОЛИИ."));
  EXPECT_EQ(dlg.ListBoxes[4]->item(11)->text(),
            QStringLiteral(
                "Постоянное присутствие в пульсограмме экстрасистол требует врачебного контроля."));
}

TEST(PagesDlg, ActivationFillsColouredVerdicts) {
  TPagesDlg dlg(nullptr, kShown);
  const AnalysisResults working = Measured();
  auto record = std::make_unique<PulsogramRecord>();
  record->Results = working;
  record->Results.NAGR = 0.105;  // the heart tab shows the stored value
  dlg.setSources(&working, record.get());
  dlg.FormActivate();

  EXPECT_EQ(dlg.Label2->text(), QStringLiteral("ЧАСТОТА ПУЛЬСА В НОРМЕ -72,5"));
  EXPECT_EQ(TextColour(dlg.Label2), QColor(0, 128, 0));
  EXPECT_TRUE(dlg.Label2->font().bold());
  EXPECT_EQ(dlg.Label2->font().pointSize(), 10);
  EXPECT_EQ(dlg.Label3->text(), QStringLiteral("СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА - 0,105"));
  EXPECT_EQ(TextColour(dlg.Label3), QColor(0, 0, 255));
  EXPECT_EQ(dlg.Label4->text(), QStringLiteral("ТОНУС СОСУДОВ - 29,4"));  // 0.235 / 0.8
  EXPECT_EQ(TextColour(dlg.Label4), QColor(0, 128, 0));
  EXPECT_EQ(dlg.Label5->text(), QStringLiteral("НАРУШЕН СИНУСОВЫЙ РИТМ"));
  EXPECT_EQ(TextColour(dlg.Label5), QColor(255, 0, 0));
  EXPECT_EQ(dlg.Label6->text(), QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"));
  EXPECT_EQ(TextColour(dlg.Label6), QColor(255, 0, 0));
}

TEST(PagesDlg, WithoutSourcesShowsZeroResultsWithoutCrashing) {
  TPagesDlg dlg(nullptr, kShown);
  dlg.FormActivate();
  EXPECT_EQ(dlg.Label2->text(), QStringLiteral("НИЗКИЙ   ПУЛЬС -0"));
  EXPECT_EQ(dlg.Label4->text(), QStringLiteral("ТОНУС СОСУДОВ - -"));
}

TEST(PagesDlg, ReopensOnTheLastTabShownAndRefillsOnEveryShowing) {
  TPagesDlg dlg(nullptr, kShown);
  AnalysisResults working = Measured();
  PulsogramRecord record{};
  record.Results = working;
  dlg.setSources(&working, &record);
  EXPECT_EQ(dlg.PageControl1->currentIndex(), 4);  // "Перебои" the first time
  dlg.show();
  EXPECT_EQ(dlg.Label6->text(), QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"));
  dlg.PageControl1->setCurrentIndex(1);
  dlg.CloseButtons[1]->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  working.KOLP = 0;
  dlg.show();
  EXPECT_EQ(dlg.PageControl1->currentIndex(), 1);
  EXPECT_EQ(dlg.Label6->text(), QStringLiteral("ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ"));
  dlg.hide();
}

TEST(PagesDlg, ClosedAsSoonAsItShowsTheModalLoopStillEnds) {
  TPagesDlg dlg(nullptr, kShown);
  const AnalysisResults working = Measured();
  dlg.setSources(&working, nullptr);
  bool hung = false;
  QTimer::singleShot(0, &dlg, [&dlg] { dlg.CloseButtons[4]->click(); });
  QTimer::singleShot(3000, &dlg, [&] {
    hung = true;
    dlg.done(QDialog::Rejected);
  });
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
  EXPECT_FALSE(hung);
  EXPECT_EQ(dlg.Label6->text(), QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"));
}

TEST(PagesDlg, ScalesByScreenWidthOnly) {
  TPagesDlg wide(nullptr, {',', 1024});  // 1.28
  EXPECT_DOUBLE_EQ(wide.scale(), 1.28);
  EXPECT_EQ(wide.size(), QSize(823, 480));
  EXPECT_EQ(wide.PageControl1->geometry(), QRect(10, 10, 800, 442));
  EXPECT_EQ(wide.CloseButtons[0]->geometry(), QRect(696, 358, 63, 32));
  TPagesDlg plain(nullptr, kShown);
  const double wideFont = wide.font().pointSizeF();
  EXPECT_NEAR(wideFont, plain.font().pointSizeF() * 1.28, 0.01);
  wide.FormActivate();
  EXPECT_NEAR(wide.Label2->font().pointSizeF(), 12.8, 0.01);
}

// Each tab's picture shows that tab's verdict in its colour where its label
// sits, and no other tab's; the pictures are kept for a look.
TEST(PagesDlg, PictureOfEveryTab) {
  TPagesDlg dlg(nullptr, kShown);
  const AnalysisResults working = Measured();
  PulsogramRecord record{};
  record.Results = working;
  dlg.setSources(&working, &record);
  dlg.show();
  const QLabel* labels[] = {dlg.Label2, dlg.Label3, dlg.Label4, dlg.Label5, dlg.Label6};
  QDir().mkpath(QStringLiteral(SFIGMO_SCREENSHOT_DIR));
  for (int tab = 0; tab < 5; ++tab) {
    SCOPED_TRACE(tab);
    dlg.PageControl1->setCurrentIndex(tab);
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(643, 375));
    // The labels of all tabs share one place: only the shown one is drawn.
    const QRect area(labels[tab]->mapTo(&dlg, QPoint(0, 0)), labels[tab]->size());
    for (int other = 0; other < 5; ++other) {
      const QRgb ink = TextColour(labels[other]).rgb();
      int inked = 0;
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) inked += shot.pixel(x, y) == ink;
      if (TextColour(labels[other]) == TextColour(labels[tab]))
        EXPECT_GT(inked, 20) << "tab " << other << "'s colour";
      else
        EXPECT_EQ(inked, 0) << "tab " << other << "'s colour";
    }
    EXPECT_TRUE(
        shot.save(QStringLiteral(SFIGMO_SCREENSHOT_DIR "/results-dialog-tab%1.png").arg(tab + 1)));
  }
  dlg.hide();
}

}  // namespace
