// The phone SMS window: layout, activation (last measurement into the
// current record, sms.txt, the two edits), recording a number, and sending
// through cmd2phone to modem-sim, also from the main window's menu.




#include "draw/canvas.h"
#include "hostile_records.h"
#include "messaging/screens/form3.h"
#include "messaging/screens/form3_texts.h"
#include "modem_process.h"
#include "save_picture.h"
#include "sms_test_support.h"
#include "ui/form1.h"
#include "wait_while_busy.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace sfigmo::test {
namespace {

const QByteArray kTelport = "--port USB0  +79161234567 --timeout 20\r\n";

// A program folder with a last measurement and telport.txt, and the window
// on it, comma separator, messages captured.
// A mouse click at the centre of `control`, given to the top-level window
// at that point, so it reaches whatever a user would hit there.
void ClickAt(QWidget& window, QWidget* control) {
  if (!window.isVisible()) window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                    control->mapTo(&window, control->rect().center()));
}

class Form3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = dir.path() + QLatin1Char('/');
    current = RecordWith(AnalysisResults{});
    current->Results.PULS = 99;  // an unsaved measurement in the main window
    form = std::make_unique<TForm3>(nullptr, DisplaySettings{',', 800});
    form->setSources(current.get(), folder);
    form->setMessagePresenter([this](const QString& text) { messages << text; });
    form->setDefaultSettingsFile(dir.filePath(QStringLiteral("no-default.txt")));
  }
  void layAll(const QByteArray& telport = kTelport) {
    ASSERT_TRUE(LayLastMeasurement(dir.path(), *RecordWith(ExampleResults())));
    ASSERT_TRUE(WriteFile(folder + "telport.txt", telport));
  }
  QByteArray telport() const { return ReadFile(folder + "telport.txt"); }
  QByteArray sms() const { return ReadFile(folder + "sms.txt"); }
  // Clicks a control at its centre, as a user does, through the window.
  void click(QWidget* w) { ClickAt(*form, w); }
  void typeNumber(const QString& number) {
    form->Edit1->clear();
    QTest::keyClicks(form->Edit1, number);
  }
  // True when row y of the drawing area holds dark (text) pixels.
  bool rowHasText(int top) const {
    const QImage& img = form->canvas().image();
    for (int y = top; y < top + 12; ++y) {
      for (int x = 12; x < 200; ++x) {
        if (qGray(img.pixel(x, y)) < 100) return true;
      }
    }
    return false;
  }
  void save(const QString& name) { SavePicture(*form, QStringLiteral(SFIGMO_SCREENS_DIR), name); }

  QTemporaryDir dir;
  QString folder;
  std::unique_ptr<PulsogramRecord> current;
  std::unique_ptr<TForm3> form;
  QStringList messages;
};

TEST_F(Form3Test, LayoutCaptionAndControls) {
  EXPECT_EQ(form->windowTitle(),
            QString(82, QLatin1Char(' ')) + QStringLiteral("ПОСЫЛКА SMS ВРАЧУ "));
  EXPECT_EQ(form->size(), QSize(703, 389));
  EXPECT_TRUE(form->isModal());
  struct Case {
    QWidget* w;
    QRect geometry;
  } cases[] = {
      {form->TreeView1, {16, 24, 657, 249}}, {form->Button2, {72, 296, 105, 33}},
      {form->Edit2, {272, 304, 65, 21}},     {form->Edit1, {352, 304, 89, 21}},
      {form->Button1, {472, 296, 105, 33}},  {form->BitBtn1, {592, 296, 73, 33}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.w->geometry(), c.geometry) << c.w->objectName().toStdString();
  EXPECT_EQ(form->Button2->text(), QStringLiteral("Записать телефон"));
  EXPECT_EQ(form->Button1->text(), QStringLiteral("SMS врачу"));
  EXPECT_EQ(form->BitBtn1->text(), QStringLiteral("&Выход"));
  EXPECT_EQ(form->Label1->text(), QStringLiteral("ПОРТ"));
  EXPECT_EQ(form->Label1->pos(), QPoint(288, 336));
  EXPECT_EQ(form->Label2->text(), QStringLiteral("ТЕЛЕФОН"));
  EXPECT_EQ(form->Label2->pos(), QPoint(368, 336));
}

TEST_F(Form3Test, ScaledOnAWiderScreen) {
  TForm3 wide(nullptr, {',', 1200});
  EXPECT_EQ(wide.size(), QSize(1054, 584));  // 703 x 1.5 = 1054.5: a half goes to the even pixel
  EXPECT_EQ(wide.Button1->geometry(), QRect(708, 444, 158, 50));
}

// The instruction lines follow the window's scale: each line's text lies in
// the same band of the drawing area as at 800 pixels.
TEST_F(Form3Test, InstructionLinesScaleWithTheWindow) {
  layAll();
  for (const int width : {1366, 1920, 2560}) {
    SCOPED_TRACE(width);
    TForm3 wide(nullptr, {',', width});
    wide.setSources(current.get(), folder);
    wide.setMessagePresenter([this](const QString& text) { messages << text; });
    wide.FormActivate();
    const DesignLayout& m = wide.canvas().layout();
    EXPECT_DOUBLE_EQ(m.scale(), width / 800.0);
    EXPECT_EQ(wide.canvas().width(), m.px(657));
    const QImage& img = wide.canvas().image();
    // Dark pixels of the first and the last line, at their scaled bands.
    auto darkIn = [&](int designTop, int designBottom) {
      int dark = 0;
      for (int y = m.px(designTop); y < m.px(designBottom); ++y)
        for (int x = m.px(12); x < m.px(300); ++x) dark += qGray(img.pixel(x, y)) < 100;
      return dark;
    };
    EXPECT_GT(darkIn(20, 32), 40);
    EXPECT_GT(darkIn(200, 212), 40);
    EXPECT_EQ(darkIn(2, 18), 0);  // nothing above the first line
    if (width == 1920) SavePicture(wide, QStringLiteral(SFIGMO_SCREENS_DIR), QStringLiteral("form3-1920"));
  }
}

TEST_F(Form3Test, ActivationReplacesCurrentRecordWritesMessageAndFillsEdits) {
  layAll();
  form->FormActivate();
  EXPECT_EQ(current->Results.PULS, 72.4);  // the saved one, not the unsaved 99
  EXPECT_EQ(sms(), ExampleMessage());
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("+79161234567"));
  EXPECT_EQ(form->Edit2->text(), QStringLiteral("USB0  "));
  EXPECT_FALSE(form->Edit2->isEnabled());
  EXPECT_TRUE(form->statusText().isEmpty()) << form->statusText().toStdString();
  for (int k = 1; k <= 13; ++k) EXPECT_TRUE(rowHasText(20 + 15 * (k - 1))) << "line " << k;
}

TEST_F(Form3Test, MouseMovementRedrawsLine13WithOneBlank) {
  layAll();
  form->FormActivate();
  const QImage before = form->canvas().image().copy();
  QTest::mouseMove(form->TreeView1, QPoint(300, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(300, 100), QPointF(300, 100), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(form->TreeView1, &move);
  const QImage after = form->canvas().image();
  EXPECT_EQ(before.copy(0, 0, 657, 199), after.copy(0, 0, 657, 199));  // lines 1 to 12 as they were
  EXPECT_NE(before.copy(0, 200, 657, 14), after.copy(0, 200, 657, 14));
  EXPECT_STRNE(kSmsInstructionLines[12], kSmsInstructionLine13Redrawn);
}

TEST_F(Form3Test, MissingPiecesShowOneMessageAndWriteNothing) {
  struct Case {
    const char* name;
    bool record;
    const char* telport;
    const char* expected;
  } cases[] = {
      {"no measurement", false, "--port USB0  +79161234567\r\n", "сохраните измерение"},
      {"no telport.txt", true, nullptr, "telport.txt"},
      {"short telport.txt", true, "--port USB0  +791\r\n", "короче 25 символов"},
  };
  for (const Case& c : cases) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + "DataMLT/DatInt");
    if (c.record) {
      ASSERT_TRUE(LayLastMeasurement(dir.path(), *RecordWith(ExampleResults())));
    }
    if (c.telport != nullptr) {
      ASSERT_TRUE(WriteFile(folder + "telport.txt", c.telport));
    }
    current->Results.PULS = 99;
    form->FormActivate();
    EXPECT_TRUE(form->statusText().contains(QString::fromUtf8(c.expected)))
        << c.name << ": " << form->statusText().toStdString();
    EXPECT_FALSE(QFile::exists(folder + "sms.txt")) << c.name;
    EXPECT_EQ(current->Results.PULS, 99) << c.name;
    if (!c.record) save(QStringLiteral("form3-no-measurement"));
    EXPECT_TRUE(form->Button1->isEnabled() && form->Button2->isEnabled());
    // Sending without a fresh message is refused: sms.txt could be stale.
    click(form->Button1);
    EXPECT_TRUE(form->statusText().startsWith(QStringLiteral("SMS не отправлено"))) << c.name;
    EXPECT_FALSE(form->senderRunning());
  }
  save(QStringLiteral("form3-short-telport"));
  // The short line's characters still reach the edits.
  EXPECT_EQ(form->Edit1->text(), QStringLiteral("+791"));
}

// A last measurement whose stored results are damaged, that the check does
// not accept or whose signal is doubtful is never written to sms.txt nor
// sent: the doctor would get numbers no sound recording gave. The window
// says why (the signal warning for a doubtful one).
TEST_F(Form3Test, DamagedLastMeasurementIsNeitherWrittenNorSent) {
  std::vector<std::pair<std::string, std::unique_ptr<PulsogramRecord>>> records;
  for (double puls : {std::nan(""), std::numeric_limits<double>::infinity(), -72.7, 2730.0}) {
    AnalysisResults damaged = ExampleResults();
    damaged.PULS = puls;
    records.emplace_back("повреждены", RecordWith(damaged));
  }
  for (HostileRecord& h : HostileRecords()) records.emplace_back("не принято", std::move(h.Record));
  records.emplace_back("СИГНАЛ НЕУСТОЙЧИВ - ПОВТОРИТЕ ИЗМЕРЕНИЕ (отмечен дикротический зубец)",
                       DoubleCountedRecording());
  for (const auto& [said, record] : records) {
    SCOPED_TRACE(said);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + "DataMLT/DatInt");
    ASSERT_TRUE(LayLastMeasurement(dir.path(), *record));
    ASSERT_TRUE(WriteFile(folder + "telport.txt", kTelport));
    form->FormActivate();
    EXPECT_TRUE(form->statusText().contains(QString::fromStdString(said)))
        << form->statusText().toStdString();
    EXPECT_FALSE(QFile::exists(folder + "sms.txt"));
    click(form->Button1);
    EXPECT_TRUE(form->statusText().startsWith(QStringLiteral("SMS не отправлено")));
    EXPECT_FALSE(form->senderRunning());
  }
  save(QStringLiteral("form3-damaged-results"));
}

// Each press of "SMS врачу" prepares the message afresh and shows only its
// own outcome: no piling of refusals, no stale reason once it is mended.
TEST_F(Form3Test, EachAttemptShowsItsOwnOutcomeOnly) {
  ASSERT_TRUE(LayLastMeasurement(dir.path(), *RecordWith(ExampleResults())));
  form->setSenderProgram(dir.filePath(QStringLiteral("no-such-sender")));
  form->FormActivate();
  for (int attempt = 0; attempt < 3; ++attempt) {
    click(form->Button1);
    EXPECT_EQ(form->statusText().count(QStringLiteral("SMS не отправлено")), 1)
        << form->statusText().toStdString();
    EXPECT_TRUE(form->statusText().contains(QStringLiteral("telport.txt")));
  }
  ASSERT_TRUE(WriteFile(folder + "telport.txt", kTelport));  // the user mends it
  QSignalSpy ended(form.get(), &TForm3::senderFinished);
  click(form->Button1);
  EXPECT_EQ(sms(), ExampleMessage());
  ASSERT_TRUE(ended.count() > 0 || ended.wait(10000));
  EXPECT_FALSE(form->statusText().contains(QStringLiteral("Нет файла настроек")))
      << form->statusText().toStdString();
  EXPECT_TRUE(form->statusText().contains(QStringLiteral("не удалось запустить")))
      << form->statusText().toStdString();
}

TEST_F(Form3Test, RecordingANumberRewritesCharacters14To25Only) {
  layAll("--port COM3  +79161234567 --timeout 20\r\nsecond line\r\n");
  form->show();
  form->FormActivate();
  struct Case {
    const char* typed;
    QByteArray expected;
  } cases[] = {
      {"+79031112233", "--port COM3  +79031112233 --timeout 20\r\n"},
      // a shorter number is padded: the text after it keeps its place
      {"+7903111223", "--port COM3  +7903111223  --timeout 20\r\n"},
      // too short for a phone number: refused, the file stays as it was
      {"+790311122", "--port COM3  +79161234567 --timeout 20\r\nsecond line\r\n"},
      {"89031112233", "--port COM3  +79161234567 --timeout 20\r\nsecond line\r\n"},
      // a longer one is refused: the file stays as it was
      {"+7903111223344", "--port COM3  +79161234567 --timeout 20\r\nsecond line\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFile(folder + "telport.txt",
                          "--port COM3  +79161234567 --timeout 20\r\nsecond line\r\n"));
    form->Edit2->setText(QStringLiteral("USB9"));  // never written back
    typeNumber(QString::fromUtf8(c.typed));
    click(form->Button2);
    EXPECT_EQ(telport(), c.expected) << c.typed;
  }
}

TEST_F(Form3Test, RefusedNumberWritesNothing) {
  layAll();
  form->show();
  form->FormActivate();
  for (const char* bad : {"+7 9031112233", "+7(903)11122", "", "+7123", "+1", "89001234567"}) {
    typeNumber(QString::fromUtf8(bad));
    click(form->Button2);
    EXPECT_EQ(telport(), kTelport) << bad;
    EXPECT_FALSE(form->statusText().isEmpty()) << bad;
    EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(bad));  // kept for correction
  }
}

// Waits for the sender to end; true when it ended in time.
bool WaitForSender(TForm3& form, QSignalSpy& spy) {
  return spy.count() > 0 || spy.wait(60000) || !form.senderRunning();
}

TEST_F(Form3Test, SmsButtonSendsTheResultsLineToTheModem) {
  ModemSim modem({});
  ASSERT_FALSE(modem.port().isEmpty());
  layAll("--port " + modem.port().toUtf8() + "+79161234567 --timeout 20\r\n");
  form->show();
  form->FormActivate();
  save(QStringLiteral("form3"));
  QSignalSpy spy(form.get(), &TForm3::senderFinished);
  click(form->Button1);
  ASSERT_TRUE(WaitForSender(*form, spy));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 0) << spy.at(0).at(1).toString().toStdString();
  EXPECT_TRUE(
      modem.log().contains("\nSMS +79161234567 PULS=72 VRKI=0,123 KOLP=0 KOLE=1 KOVR=5,3 "
                           "SPSO=0,075 TOSO=18 NAGR=0,091\n"))
      << modem.log().toStdString();
  EXPECT_TRUE(form->statusText().startsWith(QStringLiteral("SMS отправлено")))
      << form->statusText().toStdString();
  EXPECT_TRUE(messages.isEmpty());
  save(QStringLiteral("form3-sent"));
}

TEST_F(Form3Test, SenderFailuresAreReported) {
  ModemSim modem({"--send-reply", "cms:500"});
  layAll("--port " + modem.port().toUtf8() + "+79161234567 --timeout 20\r\n");
  form->show();
  form->FormActivate();
  {
    QSignalSpy spy(form.get(), &TForm3::senderFinished);
    click(form->Button1);
    ASSERT_TRUE(WaitForSender(*form, spy));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("+CMS ERROR: 500")))
        << messages[0].toStdString();
    EXPECT_NE(spy.at(0).at(0).toInt(), 0);
  }
  save(QStringLiteral("form3-failed"));
  form->setSenderProgram(dir.filePath(QStringLiteral("no-such-sender")));
  QSignalSpy spy(form.get(), &TForm3::senderFinished);
  click(form->Button1);
  ASSERT_TRUE(WaitForSender(*form, spy));
  ASSERT_EQ(messages.size(), 2);
  EXPECT_TRUE(messages[1].contains(QStringLiteral("не удалось запустить")))
      << messages[1].toStdString();
}

// From the main window's menu: "МобSMS" opens the window modally, which
// replaces the current record; "SMS врачу" reaches the simulated modem.
TEST(Form3FromMenu, MenuOpensWindowThatSendsToTheModem) {
  QTemporaryDir dir;
  ModemSim modem({});
  ASSERT_TRUE(LayLastMeasurement(dir.path(), *RecordWith(ExampleResults())));
  ASSERT_TRUE(WriteFile(dir.filePath("telport.txt"),
                        "--port " + modem.port().toUtf8() + "+79031112233\r\n"));
  TForm1Options o;
  o.display.ScreenWidth = 800;
  o.programFolder = dir.path();
  o.display.DecimalSeparator = ',';
  o.activateOnFirstShow = false;
  o.messagePresenter = [](const QString&, const QString&, bool) {};
  TForm1 form1(o);
  TForm3 form3(&form1, {',', 800});
  QStringList messages;
  form3.setMessagePresenter([&](const QString& text) { messages << text; });
  form1.Form3 = &form3;
  form1.FormActivate();  // the first activation allocates the record buffers
  sfigmo::test::WaitWhileBusy(form1);
  ASSERT_TRUE(form1.CurrentRecord);
  form1.CurrentRecord->Results.PULS = 99;
  bool sent = false;
  QTimer::singleShot(0, &form3, [&] {
    EXPECT_TRUE(form3.isVisible());
    form3.FormActivate();
    QSignalSpy spy(&form3, &TForm3::senderFinished);
    ClickAt(form3, form3.Button1);
    sent = spy.wait(60000) || spy.count() > 0;
    ClickAt(form3, form3.BitBtn1);
  });
  form1.SMS2_->trigger();
  EXPECT_TRUE(sent);
  EXPECT_FALSE(form3.isVisible());
  EXPECT_EQ(form1.CurrentRecord->Results.PULS, 72.4);
  EXPECT_TRUE(modem.log().contains("\nSMS +79031112233 PULS=72 VRKI=0,123 KOLP=0 KOLE=1"))
      << modem.log().toStdString();
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  EXPECT_EQ(ReadFile(dir.filePath("sms.txt")), ExampleMessage());
}

}  // namespace
}  // namespace sfigmo::test
