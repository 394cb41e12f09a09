// The main window without a sensor: layout and start states, scaling, the
// mode switches, the menu handlers, the missing library and the screen replay.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <thread>

#include "acquisition/measurement_run.h"
#include "draw/canvas.h"
#include "draw/scaled_widgets.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "test_window.h"
#include "ui/device_messages.h"

namespace sfigmo {
namespace {

using test::TestWindow;

QColor BaseOf(const QWidget* w) { return w->palette().color(QPalette::Base); }

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(MainWindowLayout, ControlsAtTheirPlacesWithTheirTexts) {
  TestWindow t;
  TForm1& f = *t.form;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("       Анализатор пульса ТЕРВОЛАН   ООО \"МЕЛТА\""));
  EXPECT_EQ(f.Button2->geometry(), QRect(8, 0, 49, 25));
  EXPECT_EQ(f.Button2->text(), QStringLiteral("Изме&р"));
  EXPECT_EQ(f.Button2->toolTip(), QStringLiteral("Измерение"));
  EXPECT_EQ(f.Button3->text(), QStringLiteral("Про&в"));
  EXPECT_EQ(f.Button4->geometry(), QRect(120, 0, 49, 25));
  EXPECT_EQ(f.Button5->text(), QStringLiteral("Заклю&ч"));
  EXPECT_EQ(f.Memo1->geometry(), QRect(440, 0, 89, 25));
  EXPECT_EQ(f.Memo2->geometry(), QRect(544, 0, 89, 25));
  EXPECT_EQ(f.ProgressBar1->geometry(), QRect(8, 28, 625, 13));
  EXPECT_EQ(f.Button10->geometry(), QRect(8, 40, 49, 25));
  EXPECT_EQ(f.Button1->geometry(), QRect(368, 280, 49, 25));
  EXPECT_EQ(f.Button1->text(), QStringLiteral("СТАРТ"));
  EXPECT_EQ(f.Button1->toolTip(), QStringLiteral("Калибровка"));
  // Panel controls: panel at (0, 48).
  EXPECT_EQ(f.TreeView1->mapTo(&f, QPoint(0, 0)) - f.centralWidget()->mapTo(&f, QPoint(0, 0)),
            QPoint(8, 56));
  EXPECT_EQ(f.TreeView1->size(), QSize(625, 217));
  EXPECT_EQ(f.Button8->geometry(), QRect(368, 232, 49, 25));
  EXPECT_EQ(f.RadioButton1->text(), QStringLiteral("Автомат"));
  EXPECT_TRUE(f.RadioButton1->isChecked());
  EXPECT_EQ(f.RadioButton2->text(), QStringLiteral("Ручное"));
  EXPECT_EQ(f.BitBtn1->text(), QStringLiteral("&Выход"));
  EXPECT_EQ(f.TrackBar1->value(), 20);
  EXPECT_EQ(f.TrackBar1->maximum(), 40);
  EXPECT_EQ(f.Edit1->text(), QStringLiteral("МЛТ"));
  EXPECT_EQ(f.Edit2->text(), QStringLiteral("61"));
  EXPECT_EQ(f.Edit3->text(), QStringLiteral("М"));
  EXPECT_EQ(f.StaticText1->text(), QStringLiteral("ПАЦИЕНТ"));
  EXPECT_EQ(BaseOf(f.Memo1), colours::Silver);
  EXPECT_EQ(BaseOf(f.ListBox1), colours::Green);
  EXPECT_EQ(BaseOf(f.ListBox2), colours::Cyan);
  EXPECT_EQ(BaseOf(f.Memo3), colours::Yellow);
  EXPECT_EQ(f.traceCanvas().pixel(300, 100), colours::Silver);
  for (QWidget* w : std::initializer_list<QWidget*>{f.ListBox1, f.ListBox2, f.Edit1, f.Edit2,
                                                    f.Edit3, f.StaticText1, f.StaticText2,
                                                    f.StaticText3, f.Memo3, f.TrackBar1}) {
    EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
  }
  EXPECT_EQ(f.width(), 641);
  EXPECT_EQ(f.centralWidget()->height() + f.statusBar()->height(), 333);
}

TEST(MainWindowLayout, MenuCaptionsAndStartStates) {
  TestWindow t;
  TForm1& f = *t.form;
  EXPECT_EQ(f.FileMenu->title(), QStringLiteral("Фай&л"));
  EXPECT_EQ(f.ServiceMenu->title(), QStringLiteral("Сервис"));
  EXPECT_EQ(f.Help_->text(), QStringLiteral("Справка"));
  EXPECT_EQ(f.Open_->text(), QStringLiteral("Отк&р"));
  EXPECT_EQ(f.Regis_->text(), QStringLiteral("Реги&c"));
  EXPECT_TRUE(f.Regis_->text().endsWith(QLatin1Char('c')));  // Latin c
  EXPECT_EQ(f.Save_->text(), QStringLiteral("Со&хр"));
  EXPECT_EQ(f.Print_->text(), QStringLiteral("Печать"));
  EXPECT_EQ(f.Graf_->text(), QStringLiteral("Графика"));
  EXPECT_EQ(f.SMS2_->text(), QStringLiteral("МобSMS"));
  EXPECT_TRUE(f.Open_->isEnabled());
  EXPECT_FALSE(f.Regis_->isEnabled());
  EXPECT_FALSE(f.Save_->isEnabled());
  EXPECT_TRUE(f.Print_->isEnabled());
  EXPECT_TRUE(f.Graf_->isEnabled());
  EXPECT_TRUE(f.SMS2_->isEnabled());
  EXPECT_TRUE(f.Help_->isEnabled());
}

TEST(MainWindowLayout, ScaledByScreenWidthAtCreation) {
  TestWindow wide(1280);
  EXPECT_DOUBLE_EQ(wide.form->scaleFactor(), 1.6);
  EXPECT_EQ(wide.form->Button2->geometry(), QRect(13, 0, 78, 40));
  EXPECT_EQ(wide.form->width(), 1026);
  EXPECT_EQ(wide.form->TreeView1->size(), QSize(1000, 347));
  EXPECT_EQ(wide.form->traceCanvas().width(), 1000);
  EXPECT_NEAR(wide.form->Button2->font().pointSizeF(), 12.8, 0.01);
  TestWindow design(800);
  EXPECT_DOUBLE_EQ(design.form->scaleFactor(), 1.0);
  EXPECT_EQ(design.form->width(), 641);
}

// A screen and the desktop area its panels leave.
struct ScreenCase {
  int width, height;
  QRect available() const { return QRect(0, 0, width, height - 30); }
};

TEST(MainWindowLayout, FitsAndIsCentredOnCommonScreens) {
  const ScreenCase screens[] = {{800, 600},   {1366, 768},  {1920, 1080},
                                {2560, 1440}, {3440, 1440}, {1280, 1024}};
  for (const ScreenCase& s : screens) {
    SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
    TestWindow t(s.width, {}, s.available());
    TForm1& f = *t.form;
    const QRect window(f.pos(), f.size());
    EXPECT_TRUE(s.available().contains(window)) << window.x() << "," << window.y() << " "
                                                << window.width() << "x" << window.height();
    EXPECT_GE(f.width(), 641);
    EXPECT_LE(f.scaleFactor(), s.width / 800.0);
    // Centred: as much room left as right (the frame a window manager adds
    // is allowed for).
    const int left = window.left(), right = s.width - 1 - window.right();
    EXPECT_NEAR(left, right, 20);
    // The trace area and its drawing follow the same factor.
    EXPECT_EQ(f.traceCanvas().layout().scale(), f.scaleFactor());
    EXPECT_EQ(f.TreeView1->width(), f.designLayout().px(625));
    // Drop-downs use the window's scaled font.
    EXPECT_EQ(f.FileMenu->font().pointSizeF(), f.font().pointSizeF());
    EXPECT_EQ(f.ServiceMenu->font().pointSizeF(), f.font().pointSizeF());
  }
}

class NoLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    t.form->show();
    t.form->FormActivate();
    sfigmo::test::WaitWhileBusy(*t.form);
  }
  QTemporaryDir empty;
  TestWindow t{800, empty.path()};
};

TEST_F(NoLibrary, MissingLibraryEndsInNoSignal) {
  TForm1& f = *t.form;
  EXPECT_EQ(t.messages, QStringList{QStringLiteral(": Library load failed")});
  EXPECT_EQ(f.NoSignal, 1);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_EQ(BaseOf(f.Memo1), QColor(255, 0, 0));
  EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
  EXPECT_TRUE(f.Label1->text().isEmpty());
  for (QPushButton* b : {f.Button1, f.Button2, f.Button3, f.Button4, f.Button5})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  for (QPushButton* b : {f.Button2, f.Button3, f.Button4, f.Button5, f.Button8, f.Button10})
    EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
  EXPECT_FALSE(f.Button1->isHidden());
  ASSERT_TRUE(f.CurrentRecord);
  ASSERT_TRUE(f.BrowseRecord);
  EXPECT_TRUE(f.ProgramFolder.endsWith(QLatin1Char('/')));
  EXPECT_TRUE(QDir(f.ProgramFolder + QStringLiteral("DataMLT/DatInt")).exists());
  t.save(QStringLiteral("start-no-library"));
}

TEST_F(NoLibrary, ModeSwitchesShowTheirButtons) {
  TForm1& f = *t.form;
  f.session().show(Screen::Results);
  f.session().setConclusionShown(true);
  f.ListBox1->show();
  f.RadioButton2->click();
  EXPECT_TRUE(f.Button1->isHidden());
  for (QPushButton* b : {f.Button2, f.Button3, f.Button4, f.Button5}) EXPECT_FALSE(b->isHidden());
  EXPECT_TRUE(f.Button3->isEnabled());
  EXPECT_FALSE(f.Button4->isEnabled());
  EXPECT_FALSE(f.Button5->isEnabled());
  EXPECT_FALSE(f.Button2->isEnabled());  // no signal disabled it; the switch leaves it
  EXPECT_TRUE(f.ListBox1->isHidden());
  EXPECT_EQ(f.session().screen(), Screen::Idle);
  EXPECT_EQ(f.session().ConclusionShown(), 1);

  f.Button4->setEnabled(true);
  f.RadioButton1->click();
  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_FALSE(f.Button1->isEnabled());  // left as the check set it
  for (QPushButton* b : {f.Button2, f.Button3, f.Button4, f.Button5}) EXPECT_TRUE(b->isHidden());
  for (QPushButton* b : {f.Button3, f.Button4, f.Button5}) EXPECT_FALSE(b->isEnabled());
}

TEST_F(NoLibrary, MenuOpeningClearsTheStatusAndTrend) {
  TForm1& f = *t.form;
  f.session().show(Screen::TrendGraph);
  TForm1::showStatus(f.Memo2, QColor(255, 0, 0), QStringLiteral("x"));
  f.ListBox1->show();
  f.ListBox2->show();
  emit f.FileMenu->aboutToShow();
  EXPECT_EQ(f.session().TrendViewShown(), 0);
  EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
  EXPECT_EQ(BaseOf(f.Memo2), colours::Silver);
  EXPECT_FALSE(f.ListBox1->isHidden());
  f.session().show(Screen::TrendGraph);
  emit f.ServiceMenu->aboutToShow();
  EXPECT_EQ(f.session().TrendViewShown(), 0);
  EXPECT_TRUE(f.ListBox1->isHidden());
  EXPECT_TRUE(f.ListBox2->isHidden());
}

TEST_F(NoLibrary, RecordingCheckRejectsAnEmptyRecording) {
  TForm1& f = *t.form;
  f.RadioButton2->click();
  f.Button3->click();
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  EXPECT_EQ(BaseOf(f.Memo2), QColor(255, 0, 0));
  EXPECT_EQ(f.CheckFailed, 1);
  EXPECT_EQ(f.session().CheckViewShown(), 1);
  EXPECT_FALSE(f.Button4->isEnabled());
  EXPECT_FALSE(f.Regis_->isEnabled());
  t.save(QStringLiteral("check-rejected"));
}

TEST_F(NoLibrary, ExposureReplaysTheCheckButCanvasUpdatesDoNot) {
  TForm1& f = *t.form;
  f.RadioButton2->click();
  f.Button3->click();
  ASSERT_EQ(f.session().CheckViewShown(), 1);
  f.Memo2->setPlainText(QStringLiteral("x"));
  // Drawing on the trace area repaints only the trace area.
  f.traceCanvas().moveTo(0, 0);
  f.traceCanvas().lineTo(100, 100);
  Settle();
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("x"));
  // Hiding and showing again exposes the window: the check runs again.
  f.hide();
  Settle();
  f.show();
  Settle();
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
}

TEST_F(NoLibrary, AfterTheConclusionNothingIsReplayed) {
  TForm1& f = *t.form;
  f.session().show(Screen::Idle);
  f.Memo2->setPlainText(QStringLiteral("x"));
  f.hide();
  Settle();
  f.show();
  Settle();
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("x"));
}

TEST_F(NoLibrary, ModalWindowClosingRunsTheCheckAgainKeepingTheRecord) {
  TForm1& f = *t.form;
  PulsogramRecord* record = f.CurrentRecord.get();
  record->Samples[0] = 1234;
  f.Memo1->setPlainText(QStringLiteral("x"));
  t.messages.clear();
  // Switching applications is no activation.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&f, &activate);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("x"));

  QDialog dialog(&f);
  QTimer::singleShot(50, &dialog, &QDialog::accept);
  f.execModal(&dialog);
  test::WaitWhileBusy(f);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_EQ(t.messages.size(), 1);
  EXPECT_EQ(f.CurrentRecord.get(), record);
  EXPECT_EQ(f.CurrentRecord->Samples[0], 1234);
}

TEST_F(NoLibrary, LibraryMessagesFromItsReaderAreQueued) {
  t.messages.clear();
  // The window's thread waits for the reader thread (as _SetDTRPort(0)
  // does) while the reader reports a failed write: no deadlock, and the
  // message is shown once the window's thread runs events again.
  std::thread reader([&] { DeviceMessageSink("Ошибка записи в порт!", "Error", 1, t.form.get()); });
  reader.join();
  EXPECT_TRUE(t.messages.isEmpty());
  Settle();
  EXPECT_EQ(t.messages, QStringList{QStringLiteral("Error: Ошибка записи в порт!")});
  // On the window's own thread it is shown at once.
  DeviceMessageSink("Поток не запустился!", "ERROR", 0, t.form.get());
  EXPECT_EQ(t.messages.size(), 2);
}

// Leftovers of writes cut short between write and rename go at start: only
// names with the program's marker, only older than a minute.
TEST(ProgramStart, RemovesOnlyItsOwnStaleTemporaryFiles) {
  QTemporaryDir data;
  const QDir root(data.path());
  root.mkpath(QStringLiteral("DataMLT/DatInt"));
  root.mkpath(QStringLiteral("PDF"));
  struct Case {
    const char* path;
    bool old;
    bool removed;
  } cases[] = {
      {"DataMLT/.sfigmo-tmp-Ab12cd", true, true},
      {"DataMLT/DatInt/.sfigmo-tmp-Qw3rty", true, true},
      {".sfigmo-tmp-9f8e7D", true, true},
      {"PDF/.sfigmo-tmp-k2J9xx", true, true},
      {"DataMLT/DatInt/.sfigmo-tmp-new123", false, false},  // may be a write in progress
      // The user's own copies, however much they look like leftovers.
      {"telport.txt.261209", true, false},
      {"telport.txt.Backup", true, false},
      {"sms.txt.old001", true, false},
      {"PDF/Ivanov.pdf.Final1", true, false},
      {"DataMLT/.Ivanov.pul.q1w2e3", true, false},
      {"DataMLT/.МЛТ67М26_12_07_09_05_03.pul.Xy3k9Q", true, false},
      {"DataMLT/x.pul", true, false},
      {"telport.txt", true, false},
      {"DataMLT/notes.txt", true, false},
  };
  const QDateTime old = QDateTime::currentDateTime().addSecs(-300);
  for (const Case& c : cases) {
    QFile f(root.filePath(QString::fromUtf8(c.path)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << c.path;
    f.write("x");
    f.flush();  // a later flush would make the file new again
    if (c.old) ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime)) << c.path;
  }
  QTemporaryDir empty;
  TForm1Options o;
  o.display.ScreenWidth = 800;
  o.libraryFolder = empty.path();
  o.programFolder = data.path();
  o.activateOnFirstShow = false;
  o.messagePresenter = [](const QString&, const QString&, bool) {};
  TForm1 f(o);
  for (const Case& c : cases)
    EXPECT_EQ(QFile::exists(root.filePath(QString::fromUtf8(c.path))), !c.removed) << c.path;
}

// On a large screen the drop-downs, Qt's message boxes and file dialogs and
// the mode indicators follow the window's scaled font; no menu entry is
// shortened.
TEST(MainWindowLayout, QtsOwnWindowsAndIndicatorsFollowTheScale) {
  sfigmo::DialogFontFollower follower;
  qApp->installEventFilter(&follower);
  const ScreenCase screens[] = {{800, 600}, {1920, 1080}, {3440, 1440}};
  for (const ScreenCase& s : screens) {
    const QString size = QStringLiteral("%1x%2").arg(s.width).arg(s.height);
    SCOPED_TRACE(size.toStdString());
    TestWindow t(s.width, {}, s.available());
    TForm1& f = *t.form;
    f.show();
    const double points = f.font().pointSizeF();
    for (QMenu* menu : {f.FileMenu, f.ServiceMenu}) {
      menu->popup(f.mapToGlobal(QPoint(0, 0)));
      QTest::qWait(10);
      // Shortened entries differ from the same menu drawn with room to spare.
      const QImage drawn = menu->grab().toImage();
      drawn.save(
          QStringLiteral(SFIGMO_SCREENS_DIR "/menu-%1-%2.png").arg(menu->objectName(), size));
      menu->setMinimumWidth(3 * menu->width());
      const QImage roomy = menu->grab().toImage();
      menu->setMinimumWidth(0);
      const QRect entries(0, 0, drawn.width() - 12, drawn.height());
      EXPECT_EQ(drawn.copy(entries), roomy.copy(entries)) << menu->objectName().toStdString();
      menu->hide();
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Ошибка"),
                    QStringLiteral("Нет места на диске"), QMessageBox::Ok, &f);
    box.show();
    EXPECT_EQ(box.font().pointSizeF(), points);
    sfigmo::test::SavePicture(box, QStringLiteral(SFIGMO_SCREENS_DIR),
                              QStringLiteral("message-box-") + size);
    QFileDialog files(&f, QStringLiteral("Открыть файл с данными"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    EXPECT_EQ(files.font().pointSizeF(), points);
    sfigmo::test::SavePicture(files, QStringLiteral(SFIGMO_SCREENS_DIR),
                              QStringLiteral("file-dialog-") + size);
    QStyleOptionButton option;
    option.initFrom(f.RadioButton1);
    const int indicator = f.RadioButton1->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth,
                                                               &option, f.RadioButton1);
    const int unscaled = QApplication::style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
    EXPECT_NEAR(indicator, unscaled * f.scaleFactor(), 1.0);
    EXPECT_LE(f.RadioButton1->sizeHint().width(), f.RadioButton1->width());
    t.save(QStringLiteral("main-window-") + size);
  }
}

TEST(FirstShow, RunsTheStartUpCheckOnce) {
  QTemporaryDir empty;
  TForm1Options o;
  o.display.ScreenWidth = 800;
  o.libraryFolder = empty.path();
  QTemporaryDir data;
  o.programFolder = data.path();
  int shown = 0;
  o.messagePresenter = [&](const QString&, const QString&, bool) { ++shown; };
  TForm1 f(o);
  f.show();
  Settle();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  f.hide();
  Settle();
  f.show();
  Settle();
  EXPECT_EQ(shown, 1);
}

TEST(FirstShow, NoPlaceholderBeforeTheFirstActivation) {
  // The window as it first appears, before the queued activation has run.
  QTemporaryDir empty;
  QTemporaryDir data;
  TForm1Options o;
  o.display.ScreenWidth = 800;
  o.libraryFolder = empty.path();
  o.programFolder = data.path();
  o.messagePresenter = [](const QString&, const QString&, bool) {};
  TForm1 f(o);
  f.show();
  for (QWidget* w : f.findChildren<QWidget*>()) {
    if (!w->isVisible() || w->objectName().isEmpty()) continue;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) text = memo->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
    EXPECT_NE(text, w->objectName()) << "a control shows its own name";
  }
  for (QPushButton* b : {f.Button2, f.Button3, f.Button4, f.Button5, f.Button8, f.Button10})
    EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
  for (QPushButton* b : {f.Button3, f.Button4, f.Button5, f.Button8, f.Button10})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_EQ(BaseOf(f.Memo1), colours::Silver);
  // The activation itself still follows the show.
  EXPECT_TRUE(f.Memo1->toPlainText().isEmpty());
  Settle();
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
}

TEST(CloseWindow, ReleasesTheRecords) {
  QTemporaryDir empty;
  TestWindow t(800, empty.path());
  t.form->show();
  t.form->FormActivate();
  sfigmo::test::WaitWhileBusy(*t.form);
  ASSERT_TRUE(t.form->CurrentRecord);
  t.form->BitBtn1->click();
  EXPECT_FALSE(t.form->CurrentRecord);
  EXPECT_FALSE(t.form->BrowseRecord);
}

}  // namespace
}  // namespace sfigmo
