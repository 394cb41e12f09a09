#pragma once
// The phone SMS window, shown modally from the main window's "МобSMS".
// Each activation reads the last saved measurement into the main window's
// current record, writes the results message (sms.txt) and shows the port
// and the doctor's number from telport.txt; "SMS врачу" starts cmd2phone
// with the settings line and watches it; "Записать телефон" records a new
// number. Main thread only.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "draw/canvas.h"
#include "draw/display_settings.h"

class QLabel;
class QLineEdit;
class QProcess;
class QPushButton;

namespace sfigmo {
struct PulsogramRecord;
}

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  // The layout, designed for 800, is scaled to display.ScreenWidth; the
  // message's numbers use display.DecimalSeparator.
  explicit TForm3(QWidget* parent = nullptr, const sfigmo::DisplaySettings& display = {});
  // A sender still running is waited for (it ends by its own time-out), as
  // cutting it off could lose the message.
  ~TForm3() override;

  // The record that activation replaces (the main window's current record)
  // and the program folder (with a trailing '/'). Set before each showing.
  void setSources(sfigmo::PulsogramRecord* currentRecord, const QString& programFolder);
  // The sender program; default: cmd2phone beside this program.
  void setSenderProgram(const QString& path) { senderProgram_ = path; }
  // The shipped telport.txt, copied into the program folder when that has
  // none; default: the one beside this program.
  void setDefaultSettingsFile(const QString& path) { defaultSettings_ = path; }
  // Shows a message about the sender's outcome; default: a message box over
  // this window, or over the main window when this one is closed.
  void setMessagePresenter(std::function<void(const QString&)> presenter) {
    presenter_ = std::move(presenter);
  }

  // --- controls (positions in design pixels, scaled at creation) ---
  QWidget* TreeView1 = nullptr;    // drawing area for the instruction lines
  QPushButton* Button1 = nullptr;  // "SMS врачу"
  QPushButton* Button2 = nullptr;  // "Записать телефон"
  QPushButton* BitBtn1 = nullptr;  // "&Выход"
  QLineEdit* Edit1 = nullptr;      // doctor's number
  QLineEdit* Edit2 = nullptr;      // port, shown only
  QLabel* Label1 = nullptr;        // "ПОРТ"
  QLabel* Label2 = nullptr;        // "ТЕЛЕФОН"

  // --- handlers ---
  void FormActivate();
  void Button1Click();
  void Button2Click();
  void TreeView1MouseMove();

  // What the window tells the user below the instructions (a missing file,
  // a refused number, the sender's outcome); empty when all is well.
  QString statusText() const { return status_; }
  // The drawing area's surface.
  const sfigmo::Canvas& canvas() const { return *canvas_; }
  // True while a started sender has not ended.
  bool senderRunning() const;
  double scale() const { return scale_; }

 signals:
  // The sender ended: exit code (-1 for a failed start or a crash) and the
  // line shown to the user.
  void senderFinished(int exitCode, const QString& line);

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(int screenWidth);
  // Reads the last measurement and writes sms.txt (messageReady_); the
  // settings' port and number go to the fields when `showSettings`. The
  // text of what went wrong; empty when all is well.
  QString prepareMessage(bool showSettings);
  void place(QWidget* w, int left, int top, int width, int height);
  void drawInstructions(bool redrawn);
  void setStatus(const QString& text, bool error);
  void present(const QString& text);
  void onSenderFinished(int exitCode, bool crashed);

  std::unique_ptr<sfigmo::Canvas> canvas_;
  std::unique_ptr<QProcess> sender_;
  sfigmo::PulsogramRecord* record_ = nullptr;
  QString programFolder_;
  QString senderProgram_;
  QString defaultSettings_;
  QString status_;
  bool statusIsError_ = false;
  bool messageReady_ = false;  // the last preparation wrote sms.txt
  bool activating_ = false;    // FormActivate is taking the queued activation
  char separator_ = '.';
  double scale_ = 1.0;
  std::function<void(const QString&)> presenter_;
};
