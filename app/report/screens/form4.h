#pragma once
// The print window: the user picks a stored measurement and prints its
// report page ("ПЕЧАТЬ"), saves it as a PDF under a chosen name ("Создать
// PDF"), or saves it into PDF/ and hands it to the system's print command
// ("Печать PDF"). Shown modally from the main window's menu. Main thread
// only.

#include <QDialog>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "draw/display_settings.h"
#include "report/screens/report_pdf.h"
#include "record/pulsogram_record.h"

class QFileDialog;
class QPrintDialog;
class QPushButton;

namespace sfigmo {
class TraceArea;
}

// Settings a test can replace; the program uses the defaults.
struct TForm4Options {
  // Folder of libdspdf.so; empty: the executable's.
  QString libraryFolder;
  // The pause before the printer dialog that lets the user ready the printer.
  int printerWaitMs = 5000;
  // The system's print command, given the PDF path as its one argument.
  QString printCommand = QStringLiteral("lp");
  // Shows one message to the user; empty: a modal message box.
  std::function<void(const QString&)> messagePresenter;
  // The printed values' decimal separator, and the screen width the layout
  // (designed for 800) is scaled to.
  sfigmo::DisplaySettings display;
};

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr, TForm4Options options = {});
  ~TForm4() override;

  // --- controls (design pixels, scaled at creation) ---
  sfigmo::TraceArea* TreeView1 = nullptr;  // drawing area
  QPushButton* Button1 = nullptr;          // "ПЕЧАТЬ"
  QPushButton* Button2 = nullptr;          // "Создать PDF"
  QPushButton* Button3 = nullptr;          // "Печать PDF"
  QFileDialog* OpenDialog1 = nullptr;      // shared by the three buttons
  QFileDialog* SaveDialog1 = nullptr;
  QPrintDialog* PrintDialog1 = nullptr;  // made at the first "ПЕЧАТЬ"

  // The archive's base (with a trailing '/'); the main window sets it before
  // showing this window. DataMLT/ and PDF/ lie under it.
  QString ProgramFolder;

  // Lines added to the report's conclusion for a record, numbered on after
  // the verdicts (for example a warning about a doubtful recording). Empty:
  // none.
  std::function<QStringList(const sfigmo::PulsogramRecord&)> ExtraConclusionLines;

  void Button1Click();  // "ПЕЧАТЬ"
  void Button2Click();  // "Создать PDF"
  void Button3Click();  // "Печать PDF"

  QPrinter& printer() { return printer_; }

 signals:
  // The print command handed the PDF on (true) or failed (false, after the
  // message was shown).
  void printCommandFinished(bool ok);

 private:
  void setOpenDialogForPdf();
  QString runOpenDialog();
  bool readRecord(const QString& path);
  sfigmo::ReportPageOptions pageOptions() const;
  bool writePdf(const QString& pdfPath);
  void printOnPrinter();
  void startPrintCommand(const QString& pdfPath);
  void waitForPrinter();
  void askPrinter();
  void hideEvent(QHideEvent* event) override;
  void showMessage(const QString& text);
  QString dataFolder() const;

  TForm4Options options_;
  QPrinter printer_{QPrinter::HighResolution};
  std::unique_ptr<sfigmo::PulsogramRecord> record_;  // the working buffer of one action
  // Runs while the user readies the printer; the buttons wait for it.
  QTimer printerWait_;
};
