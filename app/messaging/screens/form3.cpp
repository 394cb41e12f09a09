#include "messaging/screens/form3.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "draw/canvas.h"
#include "draw/message_text.h"
#include "draw/scaled_font.h"
#include "messaging/results_message.h"
#include "messaging/screens/form3_texts.h"
#include "messaging/screens/messaging_texts.h"
#include "messaging/settings_file.h"
#include "messaging/settings_line.h"
#include "record/pulsogram_record.h"

namespace {

constexpr int kLineX = 12;
constexpr int kFirstLineY = 20;
constexpr int kLineStep = 15;
constexpr int kStatusY = 214;
constexpr int kStatusStep = 12;  // three lines fit under the instructions
constexpr int kStatusWidth = 630;
// cmd2phone gives up by itself after its time-out (60 s by default).
constexpr int kSenderWaitMs = 70000;

QString SenderLine(QByteArray bytes) {
  const QList<QByteArray> lines = bytes.replace('\r', '\n').split('\n');
  for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
    const QString line = QString::fromUtf8(*it).trimmed();
    if (!line.isEmpty()) return line;
  }
  return {};
}

// Words of `text` gathered into lines no wider than `width` on `canvas`.
QStringList WrapText(const sfigmo::Canvas& canvas, const QString& text, int width) {
  QStringList lines;
  QString current;
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
    if (!current.isEmpty() && canvas.textWidth(candidate) > width) {
      lines << current;
      current = word;
    } else {
      current = candidate;
    }
  }
  if (!current.isEmpty()) lines << current;
  return lines;
}

}  // namespace

TForm3::TForm3(QWidget* parent, const sfigmo::DisplaySettings& display)
    : QDialog(parent), separator_(display.DecimalSeparator) {
  setObjectName(QStringLiteral("Form3"));
  setModal(true);
  setWindowTitle(QString::fromUtf8(sfigmo::kForm3Caption));
  FormCreate(display.ScreenWidth);
}

TForm3::~TForm3() {
  if (senderRunning()) {
    sender_->disconnect(this);
    sender_->waitForFinished(kSenderWaitMs);
  }
}

void TForm3::place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(sfigmo::DesignLayout(scale_).rect(left, top, width, height));
}

void TForm3::FormCreate(int screenWidth) {
  scale_ = sfigmo::WindowDesignScale(screenWidth, QSize(703, 389));
  const sfigmo::DesignLayout layout(scale_);
  if (!layout.identity()) setFont(sfigmo::ScaledFont(font(), layout));
  TreeView1 = new QWidget(this);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setMouseTracking(true);
  TreeView1->setAttribute(Qt::WA_OpaquePaintEvent);
  TreeView1->installEventFilter(this);
  place(TreeView1, 16, 24, 657, 249);
  canvas_ = std::make_unique<sfigmo::Canvas>(TreeView1->width(), TreeView1->height(),
                                             sfigmo::colours::White);
  canvas_->setChangedHandler([this] { TreeView1->update(); });
  canvas_->setLayout(layout);  // the instructions are placed in design pixels

  Button2 = new QPushButton(QStringLiteral("Записать телефон"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  place(Button2, 72, 296, 105, 33);
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  place(Edit2, 272, 304, 65, 21);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  place(Edit1, 352, 304, 89, 21);
  Button1 = new QPushButton(QStringLiteral("SMS врачу"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  place(Button1, 472, 296, 105, 33);
  BitBtn1 = new QPushButton(QStringLiteral("&Выход"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  place(BitBtn1, 592, 296, 73, 33);
  Label1 = new QLabel(QStringLiteral("ПОРТ"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(layout.px(288), layout.px(336));
  Label1->adjustSize();
  Label2 = new QLabel(QStringLiteral("ТЕЛЕФОН"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->move(layout.px(368), layout.px(336));
  Label2->adjustSize();
  // The buttons act on their own; Enter in the number field records nothing.
  for (QPushButton* b : {Button1, Button2, BitBtn1}) b->setAutoDefault(false);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(layout.px(703), layout.px(389));
}

void TForm3::setSources(sfigmo::PulsogramRecord* currentRecord, const QString& programFolder) {
  record_ = currentRecord;
  programFolder_ = programFolder;
  if (!programFolder_.isEmpty() && !programFolder_.endsWith(QLatin1Char('/')))
    programFolder_ += QLatin1Char('/');
}

bool TForm3::senderRunning() const { return sender_ && sender_->state() != QProcess::NotRunning; }

QString TForm3::prepareMessage(bool showSettings) {
  const QString defaults = defaultSettings_.isEmpty() ? QCoreApplication::applicationDirPath() +
                                                            QStringLiteral("/telport.txt")
                                                      : defaultSettings_;
  const sfigmo::MessagingError copyError =
      sfigmo::EnsureSettingsFile(sfigmo::SettingsFilePath(programFolder_), defaults);
  const auto prep = std::make_unique<sfigmo::MessagePreparation>(
      sfigmo::PrepareResultsMessage(programFolder_, separator_));
  if (prep->recordRead && record_ != nullptr) *record_ = prep->record;
  messageReady_ = prep->error.ok();
  if (showSettings && prep->settingsRead) {
    Edit1->setText(sfigmo::SettingsNumber(prep->settingsLine).trimmed());
    Edit2->setText(sfigmo::SettingsPort(prep->settingsLine));
    Edit2->setEnabled(false);
  }
  return sfigmo::MessagingErrorText(prep->error.ok() ? copyError : prep->error);
}

void TForm3::FormActivate() {
  const QString error = prepareMessage(true);
  if (!error.isEmpty()) {
    setStatus(error, true);
  } else if (!senderRunning() && statusIsError_) {
    setStatus({}, false);
  }
  drawInstructions(false);
  if (!activating_) {
    // The activation that showing the window queued is taken now, so it does
    // not come again later and refill the number being typed; no input runs.
    activating_ = true;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    activating_ = false;
  }
}

void TForm3::drawInstructions(bool redrawn) {
  sfigmo::Canvas& c = *canvas_;
  c.clear(sfigmo::colours::White);
  c.setBrushColor(sfigmo::colours::White);
  c.setFontFamily(sfigmo::WindowFontFamily());
  c.setFontSize(8);
  c.setFontBold(false);
  c.setFontColor(sfigmo::colours::Black);
  for (std::size_t i = 0; i < sfigmo::kSmsInstructionLines.size(); ++i) {
    const char* text =
        redrawn && i == 12 ? sfigmo::kSmsInstructionLine13Redrawn : sfigmo::kSmsInstructionLines[i];
    c.textOut(kLineX, kFirstLineY + kLineStep * static_cast<int>(i), QString::fromUtf8(text));
  }
  if (status_.isEmpty()) return;
  c.setFontBold(true);
  c.setFontColor(statusIsError_ ? QColor(192, 0, 0) : QColor(0, 112, 0));
  int y = kStatusY;
  for (const QString& line : WrapText(c, status_, kStatusWidth)) {
    c.textOut(kLineX, y, line);
    y += kStatusStep;
  }
}

void TForm3::setStatus(const QString& text, bool error) {
  status_ = text;
  statusIsError_ = error;
  drawInstructions(false);
}

void TForm3::present(const QString& text) {
  if (presenter_) {
    presenter_(text);
    return;
  }
  QWidget* owner = isVisible() ? this : parentWidget();
  QMessageBox::warning(
      owner, QStringLiteral("SMS врачу"),
      sfigmo::FitMessageText(text, font(),
                             sfigmo::AvailableScreenWidth(owner ? owner->screen() : nullptr)));
}

void TForm3::Button1Click() {
  if (senderRunning()) {
    setStatus(QStringLiteral("SMS уже отправляется: дождитесь ответа телефона."), false);
    return;
  }
  // Each attempt prepares the message afresh (the disk may have been freed,
  // telport.txt mended) and says only its own outcome. Without a message
  // written now, sms.txt may hold an older measurement's results or none:
  // nothing is sent.
  const QString error = prepareMessage(false);
  if (!messageReady_) {
    setStatus(QStringLiteral("SMS не отправлено. %1").arg(error), true);
    return;
  }
  const sfigmo::SettingsRead settings =
      sfigmo::ReadSettingsLine(sfigmo::SettingsFilePath(programFolder_));
  if (!settings.error.ok()) {
    setStatus(sfigmo::MessagingErrorText(settings.error), true);
    return;
  }
  sender_ = std::make_unique<QProcess>();
  sender_->setProgram(senderProgram_.isEmpty()
                          ? QCoreApplication::applicationDirPath() + QStringLiteral("/cmd2phone")
                          : senderProgram_);
  sender_->setArguments(sfigmo::SettingsArguments(settings.line));
  sender_->setWorkingDirectory(programFolder_);
  sender_->setStandardInputFile(QProcess::nullDevice());
  connect(sender_.get(), &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
    onSenderFinished(code, status == QProcess::CrashExit);
  });
  connect(sender_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) onSenderFinished(-1, false);
  });
  setStatus(QStringLiteral("SMS отправляется на номер %1…")
                .arg(sfigmo::SettingsNumber(settings.line).trimmed()),
            false);
  sender_->start();
}

void TForm3::Button2Click() {
  const QString path = sfigmo::SettingsFilePath(programFolder_);
  const sfigmo::SettingsRead settings = sfigmo::ReadSettingsLine(path);
  if (!settings.error.ok()) {
    setStatus(sfigmo::MessagingErrorText(settings.error), true);
    return;
  }
  // The blanks that pad a shorter number are the file's, not the number's.
  const QString number = Edit1->text().trimmed();
  const sfigmo::NumberRefusal refusal = sfigmo::CheckNumber(number);
  if (refusal != sfigmo::NumberRefusal::None) {
    setStatus(sfigmo::NumberRefusalText(refusal, number), true);
    return;
  }
  // The port stays as the file has it: Edit2 is never written back.
  const sfigmo::MessagingError error =
      sfigmo::WriteSettingsLine(path, sfigmo::ReplaceNumber(settings.line, number));
  if (!error.ok()) {
    setStatus(sfigmo::MessagingErrorText(error), true);
    return;
  }
  Edit1->setText(number);
  setStatus(QStringLiteral("Номер %1 записан в telport.txt.").arg(number), false);
}

void TForm3::onSenderFinished(int exitCode, bool crashed) {
  const QString program = sender_->program();
  QString line;
  bool ok = false;
  if (sender_->error() == QProcess::FailedToStart && exitCode == -1) {
    line = QStringLiteral("SMS не отправлено: не удалось запустить программу отправки %1 (%2).")
               .arg(program, sender_->errorString());
  } else if (crashed) {
    line = QStringLiteral("SMS не отправлено: программа отправки %1 завершилась аварийно.")
               .arg(program);
    exitCode = -1;
  } else if (exitCode != 0) {
    QString reason = SenderLine(sender_->readAllStandardError());
    if (reason.startsWith(QStringLiteral("cmd2phone: "))) reason.remove(0, 11);
    line = reason.isEmpty()
               ? QStringLiteral("SMS не отправлено: программа отправки завершилась с кодом %1.")
                     .arg(exitCode)
               : QStringLiteral("SMS не отправлено: %1.").arg(reason);
  } else {
    ok = true;
    line = SenderLine(sender_->readAllStandardOutput());
    if (line.isEmpty()) line = QStringLiteral("SMS отправлено.");
  }
  setStatus(line, !ok);
  if (!ok) present(line);
  emit senderFinished(exitCode, line);
}

void TForm3::TreeView1MouseMove() {
  drawInstructions(true);
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, not over the main window.
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

bool TForm3::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !activating_) FormActivate();
  return QDialog::event(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TreeView1) {
    if (event->type() == QEvent::Paint) {
      QPainter p(TreeView1);
      p.drawImage(0, 0, canvas_->image());
      return true;
    }
    if (event->type() == QEvent::MouseMove) TreeView1MouseMove();
  }
  return QDialog::eventFilter(watched, event);
}
