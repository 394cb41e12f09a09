// The settings line of telport.txt: fields at fixed characters, the number
// rewrite, the number check, port names and the file rewrite.

#include "messaging/settings_line.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>

#include "messaging/port_names.h"
#include "messaging/screens/messaging_texts.h"
#include "messaging/settings_file.h"

namespace sfigmo {
namespace {

const QString kLong = QStringLiteral("--port COM3  +79161234567 --timeout 60 tail");

TEST(SettingsLine, LongLineShowsPortAndNumberAtTheirCharacters) {
  EXPECT_EQ(SettingsPort(kLong), QStringLiteral("COM3  "));
  EXPECT_EQ(SettingsNumber(kLong), QStringLiteral("+79161234567"));
}

TEST(SettingsLine, ShortLinesGiveWhatCharactersThereAre) {
  EXPECT_EQ(SettingsPort(QStringLiteral("--port")), QString());
  EXPECT_EQ(SettingsPort(QStringLiteral("--port US")), QStringLiteral("US"));
  EXPECT_EQ(SettingsNumber(QStringLiteral("--port USB0  +7916")), QStringLiteral("+7916"));
  EXPECT_EQ(SettingsNumber(QString()), QString());
}

TEST(SettingsLine, RecordingANumberReplacesCharacters14To25) {
  struct Case {
    const char* number;
    const char* expected;
  } cases[] = {
      // 12 characters: exactly 14-25 replaced, the rest as it was
      {"+79031112233", "--port COM3  +79031112233 --timeout 60 tail"},
      // 10 characters: padded with blanks, the text after it keeps its place
      {"+790311122", "--port COM3  +790311122   --timeout 60 tail"},
      // 14 characters: only the first 12 are kept
      {"+7903111223344", "--port COM3  +79031112233 --timeout 60 tail"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceNumber(kLong, QString::fromUtf8(c.number)), QString::fromUtf8(c.expected))
        << c.number;
  }
}

// The sequence that used to break the line: a 10-character number, then a
// 12-character one; and lines that earlier versions damaged are repaired.
TEST(SettingsLine, ShorterNumbersNeverMoveTheRestAndDamagedLinesAreRepaired) {
  const QString shipped = QStringLiteral("--port PTS4  +79001234567 --timeout 60");
  const QString ten = ReplaceNumber(shipped, QStringLiteral("+791611122"));
  EXPECT_EQ(ten, QStringLiteral("--port PTS4  +791611122   --timeout 60"));
  const QString twelve = ReplaceNumber(ten, QStringLiteral("+79161112233"));
  EXPECT_EQ(twelve, shipped.left(13) + QStringLiteral("+79161112233 --timeout 60"));
  EXPECT_EQ(SettingsArguments(twelve),
            (QStringList{"--port", "PTS4", "+79161112233", "--timeout", "60"}));

  struct Case {
    const char* damaged;
    const char* number;
    const char* repaired;
  } cases[] = {
      // after a 10-character number recorded without padding
      {"--port PTS4  +791611122 --timeout 60", "+79161112233",
       "--port PTS4  +79161112233 --timeout 60"},
      {"--port PTS4  +791611122 --timeout 60", "+7916", "--port PTS4  +7916        --timeout 60"},
      // after the 12-character number that followed it: blank and dash eaten
      {"--port PTS4  +79161112233-timeout 60", "+79161112233",
       "--port PTS4  +79161112233 --timeout 60"},
      // nine characters left the text glued on directly
      {"--port PTS4  +79161112--timeout 60", "+79161112233",
       "--port PTS4  +79161112233 --timeout 60"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceNumber(QString::fromUtf8(c.damaged), QString::fromUtf8(c.number)),
              QString::fromUtf8(c.repaired))
        << c.damaged;
  }
}

TEST(SettingsLine, NumberGoesAtTheEndOfALineShorterThan13) {
  EXPECT_EQ(ReplaceNumber(QStringLiteral("--port"), QStringLiteral("+79031112233")),
            QStringLiteral("--port+79031112233"));
  EXPECT_EQ(ReplaceNumber(QStringLiteral("--port USB0 "), QStringLiteral("+7")),
            QStringLiteral("--port USB0 +7          "));
}

TEST(SettingsLine, PortRewriteKeepsTheRestAndPads) {
  EXPECT_EQ(ReplacePort(kLong, QStringLiteral("PTS7")),
            QStringLiteral("--port PTS7  +79161234567 --timeout 60 tail"));
  EXPECT_EQ(ReplacePort(QStringLiteral("--port"), QStringLiteral("PTS12")),
            QStringLiteral("--port PTS12 "));
  EXPECT_EQ(ReplacePort(kLong, QStringLiteral("PTS1234567")).size(), kLong.size());
}

TEST(SettingsLine, NumberCheckAcceptsPlusAndTenToElevenDigitsOnly) {
  for (const char* good : {"+79161234567", "+7916123456", "+37529123456"}) {
    EXPECT_EQ(CheckNumber(QString::fromUtf8(good)), NumberRefusal::None) << good;
  }
  struct Bad {
    const char* number;
    NumberRefusal refusal;
  } bads[] = {
      {"", NumberRefusal::Empty},
      {"+7 916123456", NumberRefusal::BadCharacter},
      {"+7-916-12345", NumberRefusal::BadCharacter},
      {"7916+123", NumberRefusal::BadCharacter},
      {"+", NumberRefusal::BadCharacter},
      {"+7916abc", NumberRefusal::BadCharacter},
      {"+7916\t1", NumberRefusal::BadCharacter},
      {"+791612345678", NumberRefusal::TooLong},
      {"+7903111223344", NumberRefusal::TooLong},
      {"+7916\n", NumberRefusal::BadCharacter},
      {"89161234567", NumberRefusal::NoPlus},
      {"+7123", NumberRefusal::TooShort},
      {"+1", NumberRefusal::TooShort},
      {"+791612345", NumberRefusal::TooShort},
  };
  for (const Bad& b : bads) {
    EXPECT_NE(CheckNumber(QString::fromUtf8(b.number)), NumberRefusal::None) << b.number;
    EXPECT_EQ(CheckNumber(QString::fromUtf8(b.number)), b.refusal) << b.number;
    // Every refusal says why, in the window's language.
    EXPECT_TRUE(NumberRefusalText(b.refusal, QString::fromUtf8(b.number))
                    .contains(QRegularExpression(QStringLiteral("[а-я]{4}"))))
        << b.number;
  }
}

TEST(SettingsLine, ArgumentsSplitOnBlanks) {
  EXPECT_EQ(SettingsArguments(QStringLiteral("--port USB0  +79161234567\t--timeout 60 ")),
            (QStringList{"--port", "USB0", "+79161234567", "--timeout", "60"}));
}

TEST(PortNames, NamesMapToDevicesAndBack) {
  struct Case {
    const char* name;
    const char* device;
  } cases[] = {
      {"COM1  ", "/dev/ttyS0"}, {"com10", "/dev/ttyS9"},  {"USB0", "/dev/ttyUSB0"},
      {"ACM2", "/dev/ttyACM2"}, {"RFC0", "/dev/rfcomm0"}, {"PTS123", "/dev/pts/123"},
  };
  for (const Case& c : cases) {
    const auto device = DeviceForPortName(c.name);
    ASSERT_TRUE(device) << c.name;
    EXPECT_EQ(*device, c.device);
    const auto back = PortNameForDevice(c.device);
    ASSERT_TRUE(back) << c.device;
    EXPECT_EQ(DeviceForPortName(*back), device);
    EXPECT_EQ(back->size(), 6u);
  }
  for (const char* bad :
       {"", "COM0", "COM", "LPT1", "USB", "USBx", "PTS1234", "COM1 x", "/dev/ttyS0"}) {
    EXPECT_FALSE(DeviceForPortName(bad)) << bad;
  }
  EXPECT_FALSE(PortNameForDevice("/dev/pts/1234"));  // seven characters do not fit
  EXPECT_FALSE(PortNameForDevice("/dev/ttyUSB"));
}

class SettingsFile : public ::testing::Test {
 protected:
  QString path() const { return dir.filePath(QStringLiteral("telport.txt")); }
  void write(const QByteArray& bytes) {
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray read() const {
    QFile f(path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir dir;
};

TEST_F(SettingsFile, FirstLineOnlyWithoutItsLineEnd) {
  write("--port USB0  +79161234567\r\nsecond line\r\n");
  const SettingsRead r = ReadSettingsLine(path());
  EXPECT_TRUE(r.error.ok());
  EXPECT_EQ(r.line, QStringLiteral("--port USB0  +79161234567"));
}

TEST_F(SettingsFile, MissingFileIsNamedInTheError) {
  const SettingsRead r = ReadSettingsLine(path());
  EXPECT_EQ(r.error.Failure, MessagingFailure::SettingsNotFound);
  const QString text = MessagingErrorText(r.error);
  EXPECT_TRUE(text.contains(path())) << text.toStdString();
}

TEST_F(SettingsFile, RewriteLeavesExactlyOneLineWithCrLf) {
  write("old line\nsecond\n");
  EXPECT_TRUE(WriteSettingsLine(path(), QStringLiteral("--port USB0  +79031112233")).ok());
  EXPECT_EQ(read(), QByteArray("--port USB0  +79031112233\r\n"));
}

TEST_F(SettingsFile, FailedRewriteLeavesTheFileAsItWas) {
  write("--port USB0  +79161234567\r\n");
  // A file size limit makes the write fail for any user, root included, as
  // a full disk would.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const MessagingError failed =
      WriteSettingsLine(path(), QStringLiteral("--port USB0  +79031112233"));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(failed.Failure, MessagingFailure::FileWrite);
  EXPECT_EQ(failed.Errno, EFBIG);
  EXPECT_EQ(failed.Path, path());
  const QString error = MessagingErrorText(failed);
  // The system's reason, never Qt's "Unknown error".
  EXPECT_TRUE(error.contains(QStringLiteral("превышен предел размера файла")))
      << error.toStdString();
  EXPECT_FALSE(error.contains(QStringLiteral("Unknown")));
  EXPECT_EQ(read(), QByteArray("--port USB0  +79161234567\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("telport.txt")});

  const MessagingError gone =
      WriteTextFile(dir.filePath(QStringLiteral("gone/sms.txt")), "PULS=72");
  EXPECT_EQ(gone.Errno, ENOENT);
  const QString missing = MessagingErrorText(gone);
  EXPECT_TRUE(missing.contains(QStringLiteral("файл или папка не найдены")))
      << missing.toStdString();
}

TEST_F(SettingsFile, PortRewriteAndDefaultCopy) {
  const QString defaults = dir.filePath(QStringLiteral("default.txt"));
  {
    QFile f(defaults);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("--port USB0  +79001234567 --timeout 60\r\n");
  }
  EXPECT_TRUE(EnsureSettingsFile(path(), defaults).ok());
  EXPECT_TRUE(WriteSettingsPort(path(), QStringLiteral("PTS4")).ok());
  EXPECT_EQ(read(), QByteArray("--port PTS4  +79001234567 --timeout 60\r\n"));
  // An existing file is the user's: never replaced by the default.
  EXPECT_TRUE(EnsureSettingsFile(path(), defaults).ok());
  EXPECT_EQ(read(), QByteArray("--port PTS4  +79001234567 --timeout 60\r\n"));
}

}  // namespace
}  // namespace sfigmo
