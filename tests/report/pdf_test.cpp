// The report as a PDF through libdspdf.so, read back with poppler; the PDF
// maker's refusals.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <random>

#include "hostile_records.h"
#include "report/screens/report_pdf.h"
#include "report/screens/report_texts.h"
#include "report_test_support.h"

namespace sfigmo {
namespace {

using test::HostileRecord;
using test::HostileRecords;
using test::MakeRecord;
using test::PdfText;
using test::RunTool;

constexpr double kPointsPerMm = 72 / 25.4;

ReportPdfOptions Options(const QString& folder = QStringLiteral(SFIGMO_BIN_DIR)) {
  ReportPdfOptions o;
  o.LibraryFolder = folder;
  o.Page.DecimalSeparator = ',';
  return o;
}

struct Word {
  double xMin, yMin, xMax, yMax;
  QString Text;
};

// pdftotext -bbox: every word with its box in points from the top-left.
std::vector<Word> PdfWords(const QString& pdf) {
  const QString html =
      RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})
          .Output;
  static const QRegularExpression re(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  std::vector<Word> words;
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble(), m.captured(5)});
  }
  return words;
}

QString Slurp(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().toHex()) : QString();
}

TEST(ReportPdf, OneA4PageWithEveryTextInPlace) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("Иванов отчёт.pdf"));
  auto record = MakeRecord();
  record->Results.VRKI = 0.03;
  const ReportError result = WriteReportPdf(*record, pdf, Options());
  ASSERT_TRUE(result.ok()) << ReportErrorText(result).toStdString();

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}).Output;
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
  const QString fonts = RunTool(QStringLiteral("pdffonts"), {pdf}).Output;
  EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationSans"))) << fonts.toStdString();
  EXPECT_FALSE(fonts.contains(
      QRegularExpression(QStringLiteral("\\bno\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"),
                         QRegularExpression::MultilineOption)))
      << "a font is not embedded:\n"
      << fonts.toStdString();

  const QString text = PdfText(pdf);
  const QStringList expected = {QStringLiteral("Анализатор пульса «Терволан»"),
                                QStringLiteral("25.12.08, 10:15:30"),
                                QStringLiteral("Иванов, 67 лет"),
                                QStringLiteral("Результаты анализа"),
                                QStringLiteral("норма"),
                                QStringLiteral("Пульс"),
                                QStringLiteral("72"),
                                QStringLiteral("уд/мин"),
                                QStringLiteral("55-80"),
                                QStringLiteral("Вариационных размах"),
                                QStringLiteral("0,03"),
                                QStringLiteral("0,06-0,16"),
                                QStringLiteral("Коэффициент вариации"),
                                QStringLiteral("4,321"),
                                QStringLiteral("2-10"),
                                QStringLiteral("Сопротивление сосудов"),
                                QStringLiteral("0,071"),
                                QStringLiteral("0,06-0,09"),
                                QStringLiteral("Тонус сосудов"),
                                QStringLiteral("19"),
                                QStringLiteral("10-25"),
                                QStringLiteral("Время максимальной нагрузки"),
                                QStringLiteral("0,09"),
                                QStringLiteral("0,07-0,11"),
                                QStringLiteral("Количество пауз"),
                                QStringLiteral("Количество экстрасистол"),
                                QStringLiteral("Заключение"),
                                QStringLiteral("1. Пульс жёсткий"),
                                QStringLiteral("2. Частота пульса в норме"),
                                QStringLiteral("3. Перебои не обнаружены"),
                                QStringLiteral("4. Синусовый ритм не нарушен"),
                                QStringLiteral("5. Нагрузка миокарда в норме")};
  qsizetype from = 0;
  for (const QString& e : expected) {
    const qsizetype at = text.indexOf(e, from);
    ASSERT_GE(at, 0) << "missing or out of order: " << e.toStdString() << "\n"
                     << text.toStdString();
    from = at + e.size();
  }

  const std::vector<Word> words = PdfWords(pdf);
  auto find = [&](const QString& w) -> const Word* {
    for (const Word& x : words)
      if (x.Text == w) return &x;
    return nullptr;
  };
  const Word* titleEnd = find(QStringLiteral("«Терволан»"));
  ASSERT_NE(titleEnd, nullptr);
  EXPECT_NEAR(titleEnd->xMax, 190 * kPointsPerMm, 0.5 * kPointsPerMm);
  const Word* firstRow = find(QStringLiteral("Пульс"));
  ASSERT_NE(firstRow, nullptr);
  EXPECT_NEAR(firstRow->yMin, 117 * kPointsPerMm, 0.5 * kPointsPerMm);
  EXPECT_NEAR(firstRow->xMin, 20 * kPointsPerMm, 0.5 * kPointsPerMm);

  // A picture of the page for a look beside the layout.
  QDir().mkpath(QStringLiteral(SFIGMO_SCREENSHOT_DIR));
  RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                       QStringLiteral("80"), QStringLiteral("-singlefile"), pdf,
                                       QStringLiteral(SFIGMO_SCREENSHOT_DIR "/report_pdf")});
}

TEST(ReportPdf, MissingLibraryWritesNothingAndSaysSo) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
  const ReportError result = WriteReportPdf(*MakeRecord(), pdf, Options(dir.path()));
  EXPECT_EQ(result.Failure, ReportFailure::PdfMakerMissing);
  const QString message = ReportErrorText(result);
  EXPECT_TRUE(message.contains(QStringLiteral("libdspdf.so"))) << message.toStdString();
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ReportPdf, LibraryLackingAFunctionWritesNothing) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("older report");
  old.close();
  const ReportError result =
      WriteReportPdf(*MakeRecord(), pdf, Options(QStringLiteral(SFIGMO_PARTIAL_PDF_MAKER_DIR)));
  EXPECT_EQ(result.Failure, ReportFailure::PdfMakerFunction);
  EXPECT_EQ(result.Detail, QStringLiteral("PrintPageM"));
  const QString message = ReportErrorText(result);
  EXPECT_TRUE(message.contains(QStringLiteral("«PrintPageM»"))) << message.toStdString();
  QFile again(pdf);
  ASSERT_TRUE(again.open(QIODevice::ReadOnly));
  EXPECT_EQ(again.readAll(), QByteArray("older report"));
}

// The library bound directly, as another caller would.
class PdfMakerCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(SFIGMO_BIN_DIR "/libdspdf.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    BeginDoc = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, "BeginDoc"));
    SetPage = reinterpret_cast<int (*)(int, int, int, int)>(dlsym(handle_, "SetPage"));
    PrintPageM = reinterpret_cast<int (*)(const void*, int)>(dlsym(handle_, "PrintPageM"));
    PrintPageF = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, "PrintPageF"));
    NewPage = reinterpret_cast<int (*)()>(dlsym(handle_, "NewPage"));
    EndDoc = reinterpret_cast<int (*)()>(dlsym(handle_, "EndDoc"));
    ASSERT_TRUE(BeginDoc && SetPage && PrintPageM && PrintPageF && NewPage && EndDoc);
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }
  QByteArray path(const char* name) const {
    return QFile::encodeName(dir_.filePath(QString::fromLatin1(name)));
  }

  QTemporaryDir dir_;
  void* handle_ = nullptr;
  int (*BeginDoc)(const char*) = nullptr;
  int (*SetPage)(int, int, int, int) = nullptr;
  int (*PrintPageM)(const void*, int) = nullptr;
  int (*PrintPageF)(const char*) = nullptr;
  int (*NewPage)() = nullptr;
  int (*EndDoc)() = nullptr;
};

TEST_F(PdfMakerCalls, GarbagePictureDataIsRefusedCalmly) {
  const QByteArray good = ReportPictureData(*MakeRecord(), {});
  ASSERT_GT(good.size(), 100);
  std::mt19937 random(7);
  QByteArray noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  QByteArray flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x5a);
  QByteArray headerOnly = good.left(16);
  QByteArray truncated = good.left(good.size() / 2);

  const QByteArray pdf = path("garbage.pdf");
  ASSERT_EQ(BeginDoc(pdf.constData()), 1);
  ASSERT_EQ(SetPage(2, 0, 0, 0), 1);
  for (const QByteArray* bad : {&noise, &flipped, &headerOnly, &truncated})
    EXPECT_EQ(PrintPageM(bad->constData(), static_cast<int>(bad->size())), 0);
  EXPECT_EQ(PrintPageM(nullptr, 100), 0);
  EXPECT_EQ(PrintPageM(good.constData(), 0), 0);
  EXPECT_EQ(PrintPageM(good.constData(), -5), 0);
  EXPECT_EQ(PrintPageF(path("missing.pic").constData()), 0);
  // Nothing was printed: no document is left behind.
  EXPECT_EQ(EndDoc(), 0);
  EXPECT_FALSE(QFile::exists(QFile::decodeName(pdf)));
}

TEST_F(PdfMakerCalls, CallsOutOfOrderAreRefused) {
  const QByteArray good = ReportPictureData(*MakeRecord(), {});
  EXPECT_EQ(SetPage(2, 0, 0, 0), 0);
  EXPECT_EQ(PrintPageM(good.constData(), static_cast<int>(good.size())), 0);
  EXPECT_EQ(NewPage(), 0);
  EXPECT_EQ(EndDoc(), 0);
  EXPECT_EQ(BeginDoc(nullptr), 0);
  EXPECT_EQ(BeginDoc(""), 0);
  EXPECT_EQ(BeginDoc(path("no/such/folder/x.pdf").constData()), 0);
  ASSERT_EQ(BeginDoc(path("two.pdf").constData()), 1);
  EXPECT_EQ(SetPage(3, 0, 0, 0), 0);
  EXPECT_EQ(SetPage(2, 0, 1, 0), 0);
  EXPECT_EQ(PrintPageM(good.constData(), static_cast<int>(good.size())), 1);
  EXPECT_EQ(NewPage(), 1);
  EXPECT_EQ(EndDoc(), 1);
  const QString info =
      RunTool(QStringLiteral("pdfinfo"), {QFile::decodeName(path("two.pdf"))}).Output;
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))))
      << info.toStdString();
}

// A PDF folder on a disk that really fills up (a small tmpfs; root only): the
// maker says so and leaves no cut file, and the program's check agrees.
TEST_F(PdfMakerCalls, FullDiskFailsTheDocumentAndLeavesNoCutFile) {
  const QString mount = dir_.filePath(QStringLiteral("small"));
  QDir().mkpath(mount);
  if (::geteuid() != 0 ||
      ::mount("tmpfs", QFile::encodeName(mount).constData(), "tmpfs", 0, "size=8k") != 0)
    GTEST_SKIP() << "no small tmpfs (needs root)";
  const QByteArray pdf = QFile::encodeName(mount + QStringLiteral("/full.pdf"));
  const QByteArray good = ReportPictureData(*MakeRecord(), {});
  ASSERT_EQ(BeginDoc(pdf.constData()), 1);
  ASSERT_EQ(SetPage(2, 0, 0, 0), 1);
  PrintPageM(good.constData(), static_cast<int>(good.size()));
  const int ended = EndDoc();
  const QStringList left = QDir(mount).entryList(QDir::Files | QDir::Hidden);
  ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
  EXPECT_EQ(ended, 0);
  EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
}

TEST(ReportPdf, DamagedResultsAreSaidInThePdf) {
  QTemporaryDir dir;
  auto record = MakeRecord();
  record->Results.PULS = std::nan("");
  const QString pdf = dir.filePath(QStringLiteral("damaged.pdf"));
  ReportPdfOptions options;
  options.LibraryFolder = QStringLiteral(SFIGMO_BIN_DIR);
  const ReportError result = WriteReportPdf(*record, pdf, options);
  ASSERT_TRUE(result.ok()) << ReportErrorText(result).toStdString();
  const QString text = PdfText(pdf).simplified();
  EXPECT_TRUE(text.contains(QStringLiteral("повреждены"))) << text.toStdString();
  for (const char* never : {"NAN", "Пульс понижен", "Перебои не обнаружены"})
    EXPECT_FALSE(text.contains(QString::fromUtf8(never))) << never;
}

// A record the check does not accept prints no value and no conclusion,
// only why, whatever healthy block it carries.
TEST(ReportPdf, RecordsNotAcceptedPrintOnlyTheReason) {
  QTemporaryDir dir;
  ReportPdfOptions options;
  options.LibraryFolder = QStringLiteral(SFIGMO_BIN_DIR);
  for (const HostileRecord& h : HostileRecords()) {
    SCOPED_TRACE(h.Name);
    const QString pdf = dir.filePath(QString::fromUtf8(h.Name) + QStringLiteral(".pdf"));
    const ReportError result = WriteReportPdf(*h.Record, pdf, options);
    ASSERT_TRUE(result.ok()) << ReportErrorText(result).toStdString();
    const QString text = PdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Запись не принята"))) << text.toStdString();
    for (const char* never : {"Частота пульса в норме", " 72 ", "Перебои не обнаружены"})
      EXPECT_FALSE(text.contains(QString::fromUtf8(never))) << never << text.toStdString();
  }
}

TEST_F(PdfMakerCalls, AFailedDocumentKeepsTheOlderFile) {
  const QByteArray pdf = path("kept.pdf");
  QFile old(QFile::decodeName(pdf));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("older report");
  old.close();
  ASSERT_EQ(BeginDoc(pdf.constData()), 1);
  EXPECT_EQ(PrintPageM("junk", 4), 0);
  EXPECT_EQ(EndDoc(), 0);
  EXPECT_EQ(Slurp(QFile::decodeName(pdf)), QString::fromLatin1(QByteArray("older report").toHex()));
}

}  // namespace
}  // namespace sfigmo
