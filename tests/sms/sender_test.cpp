// cmd2phone's arguments and message checks, the simulated modem's dialogue,
// and cmd2phone against modem-sim on a pseudo-terminal.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "at_modem.h"
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

// The modem's side of one text-mode send, fed byte by byte and all at once.
TEST(AtModem, TextModeSendLogsNumberAndText) {
  const std::string host = "ATE0\rAT+CMGF=1\rAT+CMGS=\"+79161234567\"\rPULS=72 KOLE=1\x1a";
  for (std::size_t chunk : {std::size_t{1}, host.size()}) {
    modemsim::AtModem modem({});
    std::string reply;
    std::vector<std::string> log;
    for (std::size_t i = 0; i < host.size(); i += chunk) {
      modem.Receive(host.data() + i, std::min(chunk, host.size() - i), reply, log);
    }
    ASSERT_EQ(modem.Sent().size(), 1u);
    EXPECT_EQ(modem.Sent()[0].number, "+79161234567");
    EXPECT_EQ(modem.Sent()[0].text, "PULS=72 KOLE=1");
    EXPECT_EQ(log.back(), "SMS +79161234567 PULS=72 KOLE=1");
    EXPECT_NE(reply.find("\r\n> "), std::string::npos);
    EXPECT_NE(reply.find("+CMGS: 1"), std::string::npos);
  }
}

TEST(AtModem, ToldRepliesToTheSend) {
  struct Case {
    modemsim::SendReply reply;
    const char* expected;
  } cases[] = {{modemsim::SendReply::Error, "\r\nERROR\r\n"},
               {modemsim::SendReply::CmsError, "\r\n+CMS ERROR: 330\r\n"},
               {modemsim::SendReply::Silent, ""}};
  for (const Case& c : cases) {
    modemsim::ModemConfig config;
    config.sendReply = c.reply;
    config.cmsError = 330;
    modemsim::AtModem modem(config);
    std::string reply;
    std::vector<std::string> log;
    const std::string start = "ATE0\rAT+CMGF=1\rAT+CMGS=\"+7\"\r";
    modem.Receive(start.data(), start.size(), reply, log);
    reply.clear();
    modem.Receive("x\x1a", 2, reply, log);
    EXPECT_EQ(reply, c.expected);
    EXPECT_TRUE(modem.Sent().empty());
  }
}

struct SenderRun {
  int exitCode = -1;
  QString out;
  QString err;
};

// Runs cmd2phone with a settings line in a folder holding sms.txt.
SenderRun RunSender(const QString& settingsLine,
                    const QByteArray& sms = sfigmo::testing::ExampleMessage()) {
  QTemporaryDir folder;
  sfigmo::testing::WriteFile(folder.filePath(QStringLiteral("sms.txt")), sms);
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

QString Line(const sfigmo::testing::ModemSim& modem, const char* number, int timeout = 20) {
  return QStringLiteral("--port %1%2 --timeout %3")
      .arg(modem.port(), QString::fromUtf8(number))
      .arg(timeout);
}

TEST(Cmd2phone, NumberAndTextArriveExactly) {
  sfigmo::testing::ModemSim modem({});
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
    sfigmo::testing::ModemSim modem({"--send-reply", c.reply});
    const SenderRun run = RunSender(Line(modem, "+79161234567"));
    EXPECT_EQ(run.exitCode, 1) << c.reply;
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.expected))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST(Cmd2phone, SilentModemEndsInTheTimeOut) {
  for (const char* option : {"--silent", "--send-reply=silent"}) {
    const QStringList options = QString::fromUtf8(option).split(QLatin1Char('='));
    sfigmo::testing::ModemSim modem(options);
    const SenderRun run = RunSender(Line(modem, "+79161234567", 2));
    EXPECT_EQ(run.exitCode, 3) << option << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("не ответил"))) << run.err.toStdString();
  }
}

TEST(Cmd2phone, BadInputEndsBeforeTheModemIsTouched) {
  sfigmo::testing::ModemSim modem({});
  struct Case {
    QString line;
    QByteArray sms;
  } cases[] = {
      {Line(modem, "+7916 1234"), sfigmo::testing::ExampleMessage()},
      {QStringLiteral("--port LPT1  +79161234567"), sfigmo::testing::ExampleMessage()},
      {Line(modem, "+79161234567"), QByteArray()},
  };
  for (const Case& c : cases) {
    const SenderRun run = RunSender(c.line, c.sms);
    EXPECT_EQ(run.exitCode, 2) << c.line.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("cmd2phone: "))) << run.err.toStdString();
  }
  EXPECT_FALSE(modem.log().contains(QStringLiteral("CMD")));
}

TEST(ModemSim, TelportOptionPointsTheSettingsLineAtIt) {
  QTemporaryDir dir;
  const QString telport = dir.filePath(QStringLiteral("telport.txt"));
  ASSERT_TRUE(sfigmo::testing::WriteFile(telport, "--port USB0  +79001234567 --timeout 60\r\n"));
  sfigmo::testing::ModemSim modem({"--telport", telport});
  ASSERT_FALSE(modem.port().isEmpty());
  EXPECT_EQ(sfigmo::testing::ReadFile(telport), (QStringLiteral("--port ") + modem.port() +
                                                 QStringLiteral("+79001234567 --timeout 60\r\n"))
                                                    .toUtf8());
}

}  // namespace
