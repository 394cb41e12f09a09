// The print window's PDF actions and refusals, driven through its dialogs as
// a user would; printing on a real queue lives in cups_print_test.cpp.

#include "report/screens/form4.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "save_picture.h"
#include "report_test_support.h"
#include "draw/trace_area.h"

namespace sfigmo {
namespace {

using test::MakeRecord;
using test::PdfText;
using test::WhenModal;
using test::WriteRecordFile;

// A print window over a temporary program folder, its messages kept, its
// print command a script that notes its argument.
struct PrintWindow {
  explicit PrintWindow(QString libraryFolder = QStringLiteral(SFIGMO_BIN_DIR),
                       int screenWidth = 800) {
    QDir(folder.path()).mkpath(QStringLiteral("DataMLT"));
    const QString script = folder.filePath(QStringLiteral("print.sh"));
    QFile f(script);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/printed.txt\"\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TForm4Options o;
    o.libraryFolder = std::move(libraryFolder);
    o.printerWaitMs = 0;
    o.printCommand = script;
    o.display = {',', screenWidth};
    o.messagePresenter = [this](const QString& text) { messages << text; };
    form = std::make_unique<TForm4>(nullptr, o);
    form->ProgramFolder = folder.path() + u'/';
  }

  QString record(const QString& name, int bytes = -1) {
    const QString path = folder.filePath(QStringLiteral("DataMLT/") + name);
    WriteRecordFile(path, *MakeRecord());
    if (bytes >= 0) QFile::resize(path, bytes);
    return path;
  }
  QStringList printed() const {
    QFile f(folder.filePath(QStringLiteral("printed.txt")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }
  QString pdf(const QString& name) const { return folder.filePath(QStringLiteral("PDF/") + name); }

  // Clicks the button at its place in the shown window, as a user does.
  void click(QPushButton* button) {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                      button->mapTo(form.get(), button->rect().center()));
  }

  QTemporaryDir folder;
  QStringList messages;
  std::unique_ptr<TForm4> form;
};

void ChooseFile(const QString& path) {
  WhenModal<QFileDialog>([path](QFileDialog* d) { test::PickFile(d, path); },
                         QStringLiteral("OpenDialog1"));
}

void CancelFileDialog() {
  WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); }, QStringLiteral("OpenDialog1"));
}

void OnSaveDialog(std::function<void(QFileDialog*)> act) {
  WhenModal<QFileDialog>(std::move(act), QStringLiteral("SaveDialog1"));
}

bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 60000); }

TEST(PrintWindow, ControlsAtTheirPlaces) {
  PrintWindow w;
  EXPECT_EQ(w.form->windowTitle(), QStringLiteral("Печать"));
  EXPECT_EQ(w.form->size(), QSize(468, 317));
  EXPECT_EQ(w.form->Button1->text(), QStringLiteral("ПЕЧАТЬ"));
  EXPECT_EQ(w.form->Button1->geometry(), QRect(152, 224, 89, 33));
  EXPECT_EQ(w.form->Button2->text(), QStringLiteral("Создать PDF"));
  EXPECT_EQ(w.form->Button2->geometry(), QRect(256, 224, 81, 33));
  EXPECT_EQ(w.form->Button3->text(), QStringLiteral("Печать PDF"));
  EXPECT_EQ(w.form->Button3->geometry(), QRect(352, 224, 81, 33));
  w.form->show();
  test::SavePicture(*w.form, QStringLiteral(SFIGMO_SCREENSHOT_DIR), QStringLiteral("form4"));
}

// What "ПРОВЕРЬТЕ ГОТОВНОСТЬ ПЕЧАТИ" inks on the drawing area after a real
// click on "Печать" (its file dialog cancelled).
QRect WaitingTextInk(PrintWindow& w) {
  CancelFileDialog();
  w.click(w.form->Button1);
  const QImage& picture = w.form->TreeView1->canvas().image();
  QRect ink;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) != w.form->TreeView1->background()) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST(PrintWindow, WaitingTextCoversTheSameShareOfTheAreaAtEveryWidth) {
  PrintWindow design(QStringLiteral(SFIGMO_BIN_DIR), 800);
  const QRect at800 = WaitingTextInk(design);
  ASSERT_FALSE(at800.isEmpty());
  for (const int width : {1366, 1920, 2560}) {
    SCOPED_TRACE(width);
    PrintWindow w(QStringLiteral(SFIGMO_BIN_DIR), width);
    const double k = width / 800.0;
    const QRect ink = WaitingTextInk(w);
    const double tolerance = std::max(2.0, k);  // a glyph's smoothed edge
    EXPECT_NEAR(ink.left(), at800.left() * k, tolerance);
    EXPECT_NEAR(ink.top(), at800.top() * k, tolerance);
    EXPECT_NEAR(ink.right() + 1, (at800.right() + 1) * k, tolerance);
    EXPECT_NEAR(ink.bottom() + 1, (at800.bottom() + 1) * k, tolerance);
  }
}

TEST(PrintWindow, ScaledForA1280PixelScreenWithThePictureInside) {
  const qreal designFont = PrintWindow().form->font().pointSizeF();
  PrintWindow w(QStringLiteral(SFIGMO_BIN_DIR), 1280);
  EXPECT_EQ(w.form->size(), QSize(749, 507));
  EXPECT_EQ(w.form->TreeView1->geometry(), QRect(26, 26, 680, 296));
  EXPECT_EQ(w.form->Button1->geometry(), QRect(243, 358, 142, 53));
  EXPECT_EQ(w.form->Button2->geometry(), QRect(410, 358, 130, 53));
  EXPECT_EQ(w.form->Button3->geometry(), QRect(563, 358, 130, 53));
  EXPECT_DOUBLE_EQ(w.form->Button1->font().pointSizeF(), designFont * 1.6);
  // A real click reaches the button; its notice is drawn whole inside the
  // area, clear of its edges.
  CancelFileDialog();
  w.click(w.form->Button1);
  const QImage& picture = w.form->TreeView1->canvas().image();
  EXPECT_EQ(picture.size(), w.form->TreeView1->size());
  QRect ink;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) != w.form->TreeView1->background()) ink |= QRect(x, y, 1, 1);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(picture.rect().adjusted(1, 1, -1, -1).contains(ink)) << ink.x() << ',' << ink.right();
  test::SavePicture(*w.form, QStringLiteral(SFIGMO_SCREENSHOT_DIR),
                       QStringLiteral("form4-1280"));
}

TEST(PrintWindow, PrintPdfWritesIntoPdfFolderAndHandsItOn) {
  PrintWindow w;
  const QString record = w.record(QStringLiteral("МЛТ67М08_12_25_10_15_30.pul"));
  ASSERT_FALSE(QDir(w.folder.filePath(QStringLiteral("PDF"))).exists());
  QSignalSpy done(w.form.get(), &TForm4::printCommandFinished);
  WhenModal<QFileDialog>(
      [&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Открыть файл с данными"));
        EXPECT_EQ(QDir(d->directory()).canonicalPath(),
                  QDir(w.folder.filePath(QStringLiteral("DataMLT"))).canonicalPath());
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        test::PickFile(d, record);
      },
      QStringLiteral("OpenDialog1"));
  w.click(w.form->Button3);
  ASSERT_TRUE(WaitFor([&] { return done.count() == 1; }));
  EXPECT_TRUE(done.at(0).at(0).toBool());
  const QString pdf = w.pdf(QStringLiteral("МЛТ67М08_12_25_10_15_30.pdf"));
  EXPECT_EQ(w.printed(), QStringList{pdf});
  EXPECT_TRUE(PdfText(pdf).contains(QStringLiteral("Иванов, 67 лет")));
  EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join(u'\n').toStdString();
}

TEST(PrintWindow, CreatePdfProposesTheRecordsNameAndCancelWritesNothing) {
  PrintWindow w;
  const QString record = w.record(QStringLiteral("x.pul"));
  QString proposed;
  ChooseFile(record);
  OnSaveDialog([&](QFileDialog* d) {
    proposed = d->selectedFiles().value(0);
    d->reject();
  });
  w.form->Button2Click();
  EXPECT_EQ(QFileInfo(proposed).fileName(), QStringLiteral("Иванов67М08_12_25_10_15_30.pdf"));
  EXPECT_TRUE(QDir(w.folder.filePath(QStringLiteral("PDF"))).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(w.messages.isEmpty());

  // Confirmed, the chosen name gets its ".pdf".
  const QString chosen = w.folder.filePath(QStringLiteral("PDF/мой отчёт"));
  ChooseFile(record);
  OnSaveDialog([&](QFileDialog* d) {
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("мой отчёт"));  // typed by the user
    static_cast<QDialog*>(d)->accept();
  });
  w.form->Button2Click();
  EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join(u'\n').toStdString();
  EXPECT_TRUE(PdfText(chosen + QStringLiteral(".pdf")).contains(QStringLiteral("Заключение")))
      << QDir(w.folder.filePath(QStringLiteral("PDF"))).entryList().join(u' ').toStdString();
  EXPECT_TRUE(w.printed().isEmpty());
}

TEST(PrintWindow, ShortFileEndsTheActionWithOneMessage) {
  PrintWindow w;
  const QString record = w.record(QStringLiteral("short.pul"), 44135);
  for (QPushButton* button : {w.form->Button1, w.form->Button2, w.form->Button3}) {
    w.messages.clear();
    ChooseFile(record);
    button->click();
    ASSERT_EQ(w.messages.size(), 1) << button->text().toStdString();
    EXPECT_TRUE(w.messages[0].contains(QStringLiteral("short.pul"))) << w.messages[0].toStdString();
  }
  EXPECT_FALSE(QFile::exists(w.pdf(QStringLiteral("short.pdf"))));
  EXPECT_TRUE(w.printed().isEmpty());
}

TEST(PrintWindow, CancelledOpenDialogDoesNothing) {
  PrintWindow w;
  for (QPushButton* button : {w.form->Button1, w.form->Button2, w.form->Button3}) {
    CancelFileDialog();
    button->click();
  }
  EXPECT_TRUE(w.messages.isEmpty());
  EXPECT_TRUE(w.printed().isEmpty());
}

TEST(PrintWindow, NoPdfMakerMeansNoStalePdfIsPrinted) {
  QTemporaryDir empty;
  PrintWindow w(empty.path());
  const QString record = w.record(QStringLiteral("x.pul"));
  QDir(w.folder.path()).mkpath(QStringLiteral("PDF"));
  QFile stale(w.pdf(QStringLiteral("x.pdf")));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write("an older measurement");
  stale.close();
  ChooseFile(record);
  w.form->Button3Click();
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("libdspdf.so")));
  EXPECT_TRUE(w.printed().isEmpty());
  EXPECT_EQ(QFileInfo(w.pdf(QStringLiteral("x.pdf"))).size(), 20);
}

// Only a PDF this action wrote in full is passed on, from either PDF button:
// a maker that writes nothing lets no older PDF through, a cut file is
// removed, and each says why in one message.
TEST(PrintWindow, PdfMakerSuccessIsCheckedOnDisk) {
  struct Case {
    const char* maker;
    bool olderPdf;
    const char* says;
    bool fileLeft;
  } cases[] = {
      {"nothing", true, "не записала файл", true},
      {"nothing", false, "не записала файл", false},
      {"cut", true, "записан не полностью", false},
      {"cut", false, "записан не полностью", false},
  };
  for (const Case& c : cases) {
    for (bool printButton : {true, false}) {
      SCOPED_TRACE(std::string(c.maker) + (c.olderPdf ? " over an older PDF" : "") +
                   (printButton ? ", Печать PDF" : ", Создать PDF"));
      PrintWindow w(QStringLiteral(SFIGMO_LYING_PDF_MAKER_DIR) + QString::fromLatin1(c.maker));
      const QString record = w.record(QStringLiteral("x.pul"));
      QDir(w.folder.path()).mkpath(QStringLiteral("PDF"));
      const QString pdf = w.pdf(QStringLiteral("x.pdf"));
      if (c.olderPdf) {
        QFile older(pdf);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("%PDF-1.4 an older measurement %%EOF\n" + QByteArray(100, ' ') + "%%EOF\n");
      }
      ChooseFile(record);
      if (printButton) {
        w.form->Button3Click();
      } else {
        OnSaveDialog([&](QFileDialog* d) {
          auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          ASSERT_NE(name, nullptr);
          d->setOption(QFileDialog::DontConfirmOverwrite);  // the older file is meant
          name->setText(QStringLiteral("x"));               // into PDF/, the ".pdf" added
          static_cast<QDialog*>(d)->accept();
        });
        w.form->Button2Click();
      }
      ASSERT_EQ(w.messages.size(), 1);
      EXPECT_TRUE(w.messages[0].contains(QString::fromUtf8(c.says))) << w.messages[0].toStdString();
      EXPECT_TRUE(w.printed().isEmpty());
      EXPECT_EQ(QFile::exists(pdf), c.fileLeft);
    }
  }
}

// "Печать PDF" with the PDF folder on a disk that really fills up (a small
// tmpfs; root only): one message, nothing printed, no cut file left.
TEST(PrintWindow, FullDiskPdfIsNeitherKeptNorPrinted) {
  PrintWindow w;
  const QString record = w.record(QStringLiteral("x.pul"));
  const QString mount = w.folder.filePath(QStringLiteral("PDF"));
  QDir().mkpath(mount);
  if (::geteuid() != 0 ||
      ::mount("tmpfs", QFile::encodeName(mount).constData(), "tmpfs", 0, "size=8k") != 0)
    GTEST_SKIP() << "no small tmpfs (needs root)";
  ChooseFile(record);
  w.form->Button3Click();
  const QStringList left = QDir(mount).entryList(QDir::Files | QDir::Hidden);
  ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("x.pdf"))) << w.messages[0].toStdString();
  EXPECT_TRUE(w.printed().isEmpty());
  EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
}

TEST(PrintWindow, PrintCommandMissingOrFailingIsReportedOnce) {
  struct Case {
    QString command;
    QString says;
  } cases[] = {{QStringLiteral("/nonexistent/lp"), QStringLiteral("«/nonexistent/lp»")},
               {QStringLiteral("false"), QStringLiteral("Принтер не принял PDF")}};
  for (const Case& c : cases) {
    PrintWindow w;
    TForm4Options o;
    o.printerWaitMs = 0;
    o.libraryFolder = QStringLiteral(SFIGMO_BIN_DIR);
    o.printCommand = c.command;
    o.messagePresenter = [&w](const QString& text) { w.messages << text; };
    TForm4 form(nullptr, o);
    form.ProgramFolder = w.folder.path() + u'/';
    QSignalSpy done(&form, &TForm4::printCommandFinished);
    ChooseFile(w.record(QStringLiteral("x.pul")));
    form.Button3Click();
    ASSERT_TRUE(WaitFor([&] { return done.count() == 1; }));
    EXPECT_FALSE(done.at(0).at(0).toBool());
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(c.says)) << w.messages[0].toStdString();
  }
}

TEST(PrintWindow, NoPrinterIsToldAndNothingHangs) {
  // The test runs against a print server that does not exist.
  PrintWindow w;
  ChooseFile(w.record(QStringLiteral("x.pul")));
  w.form->Button1Click();
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].startsWith(QStringLiteral("Принтер не установлен")));
}

}  // namespace
}  // namespace sfigmo
