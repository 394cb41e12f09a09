#include "report/screens/form4.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "draw/canvas.h"
#include "draw/message_text.h"
#include "draw/scaled_font.h"
#include "report/report_files.h"
#include "draw/trace_area.h"
#include "report/screens/report_page.h"
#include "report/screens/report_texts.h"

namespace {

const QString kDataFilter = QStringLiteral("Файлы данных Терволан (*)");

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TForm4::TForm4(QWidget* parent, TForm4Options options)
    : QDialog(parent),
      options_(std::move(options)),
      record_(std::make_unique<sfigmo::PulsogramRecord>()) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Печать"));
  setModal(true);
  printerWait_.setSingleShot(true);
  connect(&printerWait_, &QTimer::timeout, this, [this] {
    QApplication::restoreOverrideCursor();
    askPrinter();
  });
  const double scale = sfigmo::WindowDesignScale(options_.display.ScreenWidth, QSize(468, 317));
  const sfigmo::DesignLayout layout(scale);
  const auto s = [&layout](int designPixels) { return layout.px(designPixels); };
  const auto rect = [&layout](int left, int top, int width, int height) {
    return layout.rect(left, top, width, height);
  };
  if (!layout.identity()) setFont(sfigmo::ScaledFont(font(), layout));
  setFixedSize(s(468), s(317));
  // Millimetres count from the paper's corner, as on the PDF.
  printer_.setFullPage(true);
  printer_.setPageSize(QPageSize(QPageSize::A4));
  if (options_.libraryFolder.isEmpty())
    options_.libraryFolder = QCoreApplication::applicationDirPath();

  TreeView1 = new sfigmo::TraceArea(s(425), s(185), this);
  TreeView1->canvas().setLayout(layout);  // the waiting text is placed in design pixels
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->move(s(16), s(16));
  TreeView1->setBackground(sfigmo::colours::White);
  TreeView1->clear();
  Button1 = MakeButton(this, "Button1", QStringLiteral("ПЕЧАТЬ"), rect(152, 224, 89, 33));
  Button2 = MakeButton(this, "Button2", QStringLiteral("Создать PDF"), rect(256, 224, 81, 33));
  Button3 = MakeButton(this, "Button3", QStringLiteral("Печать PDF"), rect(352, 224, 81, 33));
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  // Enter must not set off a print job.
  for (QPushButton* b : {Button1, Button2, Button3}) b->setAutoDefault(false);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  SaveDialog1 = new QFileDialog(this);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
}

TForm4::~TForm4() = default;

QString TForm4::dataFolder() const {
  return QDir(ProgramFolder).filePath(QStringLiteral("DataMLT")) + u'/';
}

void TForm4::showMessage(const QString& text) {
  if (options_.messagePresenter) {
    options_.messagePresenter(text);
    return;
  }
  QMessageBox::warning(
      this, windowTitle(),
      sfigmo::FitMessageText(text, font(), sfigmo::AvailableScreenWidth(screen())));
}

void TForm4::setOpenDialogForPdf() {
  OpenDialog1->setWindowTitle(QStringLiteral("Открыть файл с данными"));
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setDirectory(dataFolder());
  OpenDialog1->setNameFilter(kDataFilter);
  OpenDialog1->selectNameFilter(kDataFilter);
}

// The chosen file, or empty when the dialog was cancelled or the file does
// not exist.
QString TForm4::runOpenDialog() {
  if (OpenDialog1->exec() != QDialog::Accepted) return {};
  const QStringList files = OpenDialog1->selectedFiles();
  if (files.isEmpty() || !QFileInfo(files.first()).isFile()) return {};
  return files.first();
}

bool TForm4::readRecord(const QString& path) {
  record_ = std::make_unique<sfigmo::PulsogramRecord>();
  const sfigmo::ReportError error = sfigmo::ReadReportRecord(path, *record_);
  if (!error.ok()) showMessage(sfigmo::ReportErrorText(error));
  return error.ok();
}

sfigmo::ReportPageOptions TForm4::pageOptions() const {
  sfigmo::ReportPageOptions page;
  page.DecimalSeparator = options_.display.DecimalSeparator;
  if (ExtraConclusionLines) page.ExtraConclusionLines = ExtraConclusionLines(*record_);
  return page;
}

bool TForm4::writePdf(const QString& pdfPath) {
  sfigmo::ReportPdfOptions options;
  options.LibraryFolder = options_.libraryFolder;
  options.Page = pageOptions();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const sfigmo::ReportError error = sfigmo::WriteReportPdf(*record_, pdfPath, options);
  QApplication::restoreOverrideCursor();
  if (!error.ok()) showMessage(sfigmo::ReportErrorText(error));
  return error.ok();
}

// The pause that lets the user ready the printer: a busy cursor, the window
// still drawn, the buttons doing nothing; the printer dialog follows it.
// Closing the window ends the pause and prints nothing.
void TForm4::waitForPrinter() {
  if (options_.printerWaitMs <= 0) {
    askPrinter();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  printerWait_.start(options_.printerWaitMs);
}

void TForm4::hideEvent(QHideEvent* event) {
  if (printerWait_.isActive()) {
    printerWait_.stop();
    QApplication::restoreOverrideCursor();
  }
  QDialog::hideEvent(event);
}

void TForm4::askPrinter() {
  if (!PrintDialog1) {
    PrintDialog1 = new QPrintDialog(&printer_, this);
    PrintDialog1->setObjectName(QStringLiteral("PrintDialog1"));
  }
  if (PrintDialog1->exec() != QDialog::Accepted) return;  // cancel prints nothing
  printOnPrinter();
}

void TForm4::Button1Click() {
  if (printerWait_.isActive()) return;
  TreeView1->clear();
  OpenDialog1->setDirectory(dataFolder());
  OpenDialog1->setNameFilter(kDataFilter);
  TreeView1->canvas().setFontColor(sfigmo::colours::Black);
  TreeView1->canvas().textOut(30, 15, QStringLiteral("ПРОВЕРЬТЕ ГОТОВНОСТЬ ПЕЧАТИ"));
  const QString path = runOpenDialog();
  if (path.isEmpty() || !readRecord(path)) return;
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    showMessage(
        QStringLiteral("Принтер не установлен. Добавьте принтер в настройках системы "
                       "или сохраните отчёт кнопкой «Создать PDF»."));
    return;
  }
  waitForPrinter();
}

void TForm4::printOnPrinter() {
  printer_.setDocName(QStringLiteral("Отчёт ") + sfigmo::DefaultPdfName(*record_));
  QPainter painter;
  if (!painter.begin(&printer_)) {
    showMessage(
        QStringLiteral("Не удалось начать печать на принтере «%1».").arg(printer_.printerName()));
    return;
  }
  sfigmo::DrawReportPage(painter, *record_, true, pageOptions());
  painter.end();
  if (printer_.printerState() == QPrinter::Error)
    showMessage(
        QStringLiteral("Принтер «%1» не принял задание печати.").arg(printer_.printerName()));
}

void TForm4::Button2Click() {
  if (printerWait_.isActive()) return;
  setOpenDialogForPdf();
  const QString path = runOpenDialog();
  if (path.isEmpty() || !readRecord(path)) return;
  const QString pdfFolder = sfigmo::EnsurePdfFolder(ProgramFolder);
  SaveDialog1->setDirectory(pdfFolder.isEmpty() ? ProgramFolder : pdfFolder);
  SaveDialog1->setNameFilter(QStringLiteral("Файлы PDF (*.pdf)"));
  SaveDialog1->setDefaultSuffix(QStringLiteral("pdf"));
  SaveDialog1->selectFile(sfigmo::DefaultPdfName(*record_));
  if (SaveDialog1->exec() != QDialog::Accepted) return;
  const QStringList files = SaveDialog1->selectedFiles();
  if (files.isEmpty()) return;
  writePdf(files.first());
}

void TForm4::Button3Click() {
  if (printerWait_.isActive()) return;
  setOpenDialogForPdf();
  const QString path = runOpenDialog();
  if (path.isEmpty() || !readRecord(path)) return;
  if (sfigmo::EnsurePdfFolder(ProgramFolder).isEmpty()) {
    showMessage(QStringLiteral("Не удалось создать папку «%1».")
                    .arg(QDir(ProgramFolder).filePath(QStringLiteral("PDF"))));
    return;
  }
  const QString pdfPath = sfigmo::PdfPathForRecord(ProgramFolder, path);
  // A PDF that was not written now is never printed: an older file of the
  // same name would show another measurement.
  if (!writePdf(pdfPath)) return;
  startPrintCommand(pdfPath);
}

void TForm4::startPrintCommand(const QString& pdfPath) {
  auto* process = new QProcess(this);
  process->setProgram(options_.printCommand);
  process->setArguments({pdfPath});
  process->setProcessChannelMode(QProcess::MergedChannels);
  connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    showMessage(QStringLiteral("Не удалось запустить команду печати «%1»: %2")
                    .arg(options_.printCommand, process->errorString()));
    process->deleteLater();
    emit printCommandFinished(false);
  });
  connect(process, &QProcess::finished, this,
          [this, process, pdfPath](int exitCode, QProcess::ExitStatus status) {
            const bool ok = status == QProcess::NormalExit && exitCode == 0;
            if (!ok)
              showMessage(QStringLiteral("Принтер не принял PDF «%1»: %2")
                              .arg(pdfPath, QString::fromLocal8Bit(process->readAll()).trimmed()));
            process->deleteLater();
            emit printCommandFinished(ok);
          });
  process->start();
}
