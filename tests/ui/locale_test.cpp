// The program's numbers follow the user's language even where the C
// library has no data for it (a Russian LANG on a machine where that locale
// was never generated). The locale is read once per process, so the window
// runs in a child copy of this test program with the environment set.

#include <gtest/gtest.h>
#include <locale.h>

#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>

#include "sensor_sim.h"
#include "test_window.h"
#include "ui/decimal_separator.h"

namespace sfigmo {
namespace {

// Russian to anyone who reads the name, unloadable for the C library: its
// character set does not exist.
constexpr char kUngeneratedRussian[] = "ru_RU.SFIGMO-NO-SUCH-CHARSET";
constexpr char kChildFlag[] = "SFIGMO_LOCALE_CHILD";

bool CLibraryCanLoad(const char* name) {
  locale_t loc = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return false;
  freelocale(loc);
  return true;
}

TEST(DecimalSeparator, RussianLanguageWithoutCLocaleData) {
  ASSERT_FALSE(CLibraryCanLoad(kUngeneratedRussian));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("LC_ALL"));
  env.remove(QStringLiteral("LC_NUMERIC"));
  env.remove(QStringLiteral("LC_MESSAGES"));
  env.insert(QStringLiteral("LANG"), QString::fromLatin1(kUngeneratedRussian));
  env.insert(QString::fromLatin1(kChildFlag), QStringLiteral("1"));
  QProcess child;
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=DecimalSeparatorChild.*")});
  ASSERT_TRUE(child.waitForFinished(60000));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test")));
}

// Runs only inside the child started above.
TEST(DecimalSeparatorChild, BatteryShownWithComma) {
  if (qEnvironmentVariableIsEmpty(kChildFlag))
    GTEST_SKIP() << "runs as a child of DecimalSeparator";
  const auto sim = test::StartSensorSim({QStringLiteral("--battery"), QStringLiteral("7.4")});
  ASSERT_TRUE(sim->Started()) << sim->Errors();
  QTemporaryDir folder;
  TForm1Options o;
  o.display = UserDisplaySettings();  // as the program starts: the user's separator
  o.display.ScreenWidth = 800;
  o.programFolder = folder.path();
  o.activateOnFirstShow = false;
  o.messagePresenter = [](const QString&, const QString&, bool) {};
  TForm1 form(o);
  form.show();
  form.FormActivate();
  sfigmo::test::WaitWhileBusy(form);
  EXPECT_EQ(form.Label1->text(), QStringLiteral("Ubat=7,4"));
}

}  // namespace
}  // namespace sfigmo
