// cmd2phone's arguments and message checks, and cmd2phone against modem-sim
// on a pseudo-terminal.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "message_text.h"
#include "messaging/port_names.h"
#include "modem_process.h"
#include "sender_args.h"
#include "sms_test_support.h"

namespace {

using cmd2phone::ParseSenderArgs;

std::vector<std::string> Words(const char* line) {
  std::vector<std::string> out;
  for (const QString& w : QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    out.push_back(w.toStdString());
  }
  return out;
}

TEST(SenderArgs, SettingsLineGivesDeviceNumberAndTimeout) {
  struct Case {
    const char* line;
    const char* device;
    const char* number;
    int timeout;
  } cases[] = {
      {"--port USB0  +79161234567 --timeout 20", "/dev/ttyUSB0", "+79161234567", 20},
      {"--port COM3  +79161234567", "/dev/ttyS2", "+79161234567",
       cmd2phone::kDefaultTimeoutSeconds},
      // a port name of all six characters runs into the number
      {"--port PTS123+79161234567 --timeout 5", "/dev/pts/123", "+79161234567", 5},
      {"--timeout 7 --port acm1 89161234567", "/dev/ttyACM1", "89161234567", 7},
  };
  for (const Case& c : cases) {
    const auto a = ParseSenderArgs(Words(c.line));
    EXPECT_TRUE(a.error.empty()) << c.line << ": " << a.error;
    EXPECT_EQ(a.device, c.device) << c.line;
    EXPECT_EQ(a.number, c.number) << c.line;
    EXPECT_EQ(a.timeoutSeconds, c.timeout) << c.line;
  }
}

TEST(SenderArgs, UnusableLinesAreRefusedWithAReason) {
  for (const char* line :
       {"", "+79161234567", "--port LPT1  +79161234567", "--port USB0",
        "--port USB0  +7916 1234567", "--port USB0  +7916x1234567",
        "--port USB0  +79161234567 --timeout 0", "--port USB0  +79161234567 --timeout",
        "--port USB0  +79161234567 --colour red", "--port"}) {
    EXPECT_FALSE(ParseSenderArgs(Words(line)).error.empty()) << line;
  }
}

TEST(MessageText, FirstLineWithoutLineEndAndLengthLimits) {
  EXPECT_EQ(cmd2phone::MessageFromBytes("PULS=72 KOLE=1\r\r\n").text, "PULS=72 KOLE=1");
  EXPECT_TRUE(cmd2phone::MessageFromBytes(std::string(160, 'a')).error.empty());
  for (const std::string& bad :
       {std::string(), std::string("\r\r\n"), std::string(161, 'a'), std::string("PULS=\xff"),
        std::string("a\x1a b"), std::string("a\rb\n")}) {
    EXPECT_FALSE(cmd2phone::MessageFromBytes(bad).error.empty()) << bad;
  }
  const auto cyrillic = cmd2phone::MessageFromBytes("Пульс 72");
  EXPECT_TRUE(cyrillic.error.empty());
  EXPECT_FALSE(cyrillic.plain);
}

struct SenderRun {
  int exitCode = -1;
  QString out;
  QString err;
};

// Runs cmd2phone with a settings line in a folder holding sms.txt.
SenderRun RunSender(const QString& settingsLine,
                    const QByteArray& sms = sfigmo::test::ExampleMessage()) {
  QTemporaryDir folder;
  sfigmo::test::WriteFile(folder.filePath(QStringLiteral("sms.txt")), sms);
  QProcess p;
  p.setWorkingDirectory(folder.path());
  p.start(QStringLiteral(CMD2PHONE_EXE), settingsLine.split(QLatin1Char(' '), Qt::SkipEmptyParts));
  SenderRun run;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return run;
  }
  run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  run.out = QString::fromUtf8(p.readAllStandardOutput());
  run.err = QString::fromUtf8(p.readAllStandardError());
  return run;
}

QString Line(const sfigmo::test::ModemSim& modem, const char* number, int timeout = 20) {
  return QStringLiteral("--port %1%2 --timeout %3")
      .arg(modem.port(), QString::fromUtf8(number))
      .arg(timeout);
}

TEST(Cmd2phone, NumberAndTextArriveExactly) {
  sfigmo::test::ModemSim modem({});
  ASSERT_FALSE(modem.port().isEmpty());
  const SenderRun run = RunSender(Line(modem, "+79161234567"));
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.count(QLatin1Char('\n')), 1) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains(QStringLiteral("+79161234567")));
  EXPECT_TRUE(
      modem.log().contains("\nSMS +79161234567 PULS=72 VRKI=0,123 KOLP=0 KOLE=1 KOVR=5,3 "
                           "SPSO=0,075 TOSO=18 NAGR=0,091\n"))
      << modem.log().toStdString();
}

TEST(Cmd2phone, ModemErrorsGiveNonZeroExitWithTheError) {
  struct Case {
    const char* reply;
    const char* expected;
  } cases[] = {{"error", "ERROR"}, {"cms:330", "+CMS ERROR: 330"}};
  for (const Case& c : cases) {
    sfigmo::test::ModemSim modem({"--send-reply", c.reply});
    const SenderRun run = RunSender(Line(modem, "+79161234567"));
    EXPECT_EQ(run.exitCode, 1) << c.reply;
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.expected))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST(Cmd2phone, SilentModemEndsInTheTimeOut) {
  for (const char* option : {"--silent", "--send-reply=silent"}) {
    const QStringList options = QString::fromUtf8(option).split(QLatin1Char('='));
    sfigmo::test::ModemSim modem(options);
    const SenderRun run = RunSender(Line(modem, "+79161234567", 2));
    EXPECT_EQ(run.exitCode, 3) << option << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("не ответил"))) << run.err.toStdString();
  }
}

TEST(Cmd2phone, BadInputEndsBeforeTheModemIsTouched) {
  sfigmo::test::ModemSim modem({});
  struct Case {
    QString line;
    QByteArray sms;
  } cases[] = {
      {Line(modem, "+7916 1234"), sfigmo::test::ExampleMessage()},
      {QStringLiteral("--port LPT1  +79161234567"), sfigmo::test::ExampleMessage()},
      {Line(modem, "+79161234567"), QByteArray()},
  };
  for (const Case& c : cases) {
    const SenderRun run = RunSender(c.line, c.sms);
    EXPECT_EQ(run.exitCode, 2) << c.line.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("cmd2phone: "))) << run.err.toStdString();
  }
  EXPECT_FALSE(modem.log().contains(QStringLiteral("CMD")));
}

}  // namespace
