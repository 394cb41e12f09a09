// The simulated modem's dialogue, and modem-sim as a process.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "at_modem.h"
#include "modem_process.h"
#include "sms_test_support.h"

namespace {

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

TEST(ModemSim, TelportOptionPointsTheSettingsLineAtIt) {
  QTemporaryDir dir;
  const QString telport = dir.filePath(QStringLiteral("telport.txt"));
  ASSERT_TRUE(sfigmo::test::WriteFile(telport, "--port USB0  +79001234567 --timeout 60\r\n"));
  sfigmo::test::ModemSim modem({"--telport", telport});
  ASSERT_FALSE(modem.port().isEmpty());
  EXPECT_EQ(sfigmo::test::ReadFile(telport), (QStringLiteral("--port ") + modem.port() +
                                                 QStringLiteral("+79001234567 --timeout 60\r\n"))
                                                    .toUtf8());
}

}  // namespace
