// Printing on a real CUPS queue. cups_print_test.sh starts a cupsd of its
// own with a queue that writes each job to a PDF file and runs this program
// with CUPS_SERVER, SFIGMO_TEST_QUEUE and SFIGMO_TEST_QUEUE_OUTPUT set.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "report/screens/form4.h"
#include "report_test_support.h"

namespace sfigmo {
namespace {

using test::PdfText;
using test::RunTool;
using test::WhenModal;

QString Queue() { return qEnvironmentVariable("SFIGMO_TEST_QUEUE"); }
QString QueueOutput() { return qEnvironmentVariable("SFIGMO_TEST_QUEUE_OUTPUT"); }

// The queue's jobs, as lpstat lists them: `which` is "completed" or "all".
int Jobs(const char* which) {
  const QString out =
      RunTool(QStringLiteral("lpstat"),
              {QStringLiteral("-W"), QString::fromLatin1(which), QStringLiteral("-o"), Queue()})
          .Output;
  return static_cast<int>(out.split(u'\n', Qt::SkipEmptyParts).size());
}
int CompletedJobs() { return Jobs("completed"); }
int AllJobs() { return Jobs("all"); }

class CupsPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Queue().isEmpty()) << "run through cups_print_test.sh";
    QDir(folder_.path()).mkpath(QStringLiteral("DataMLT"));
    record_ = folder_.filePath(QStringLiteral("DataMLT/Петров45Ж26_12_07_09_05_03.pul"));
    test::RecordText text;
    text.Name = "Петров";
    text.Age = "45";
    text.Sex = "Ж";
    ASSERT_FALSE(test::WriteRecordFile(record_, *test::MakeRecord(text)).isEmpty());
    TForm4Options o;
    o.libraryFolder = QStringLiteral(SFIGMO_BIN_DIR);
    o.printerWaitMs = 200;
    o.display.DecimalSeparator = ',';
    o.messagePresenter = [this](const QString& t) { messages_ << t; };
    form_ = std::make_unique<TForm4>(nullptr, o);
    form_->ProgramFolder = folder_.path() + u'/';
    QFile::remove(QueueOutput());
  }

  void chooseRecord() {
    WhenModal<QFileDialog>([this](QFileDialog* d) { test::PickFile(d, record_); },
                           QStringLiteral("OpenDialog1"));
  }

  // Waits for the queue to complete one more job, then for its output.
  QString waitForPrintedText(int completedBefore) {
    const bool done = QTest::qWaitFor([&] { return CompletedJobs() > completedBefore; }, 120000);
    EXPECT_TRUE(done) << "the job did not complete";
    QString text;
    // An empty text fails in expectReport, which names what is missing.
    (void)QTest::qWaitFor(
        [&] {
          text = PdfText(QueueOutput());
          return !text.isEmpty();
        },
        30000);
    return text;
  }

  void expectReport(const QString& text) {
    for (const QString& e : {QStringLiteral("Анализатор пульса «Терволан»"),
                             QStringLiteral("Петров, 45 лет"), QStringLiteral("Результаты анализа"),
                             QStringLiteral("Пульс"), QStringLiteral("1. Частота пульса в норме"),
                             QStringLiteral("4. Нагрузка миокарда в норме")})
      EXPECT_TRUE(text.contains(e)) << e.toStdString() << " missing from:\n" << text.toStdString();
  }

  QTemporaryDir folder_;
  QString record_;
  QStringList messages_;
  std::unique_ptr<TForm4> form_;
};

TEST_F(CupsPrint, PrintButtonPrintsOnTheChosenQueue) {
  const int before = CompletedJobs();
  chooseRecord();
  WhenModal<QPrintDialog>([](QPrintDialog* d) {
    EXPECT_EQ(d->printer()->printerName(), Queue());
    static_cast<QDialog*>(d)->accept();
  });
  form_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {},
                    form_->Button1->mapTo(form_.get(), form_->Button1->rect().center()));
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'\n').toStdString();
  expectReport(waitForPrintedText(before));
}

TEST_F(CupsPrint, CancelledPrinterDialogPrintsNothing) {
  const int before = AllJobs();
  chooseRecord();
  WhenModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
  form_->Button1Click();
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(AllJobs(), before);
}

TEST_F(CupsPrint, PrintPdfGoesThroughTheSystemsPrintCommand) {
  const int before = CompletedJobs();
  QSignalSpy handed(form_.get(), &TForm4::printCommandFinished);
  chooseRecord();
  form_->Button3Click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return handed.count() == 1; }, 60000));
  EXPECT_TRUE(handed.at(0).at(0).toBool()) << messages_.join(u'\n').toStdString();
  EXPECT_TRUE(
      QFile::exists(folder_.filePath(QStringLiteral("PDF/Петров45Ж26_12_07_09_05_03.pdf"))));
  expectReport(waitForPrintedText(before));
}

}  // namespace
}  // namespace sfigmo
