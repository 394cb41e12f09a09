// The main window: creation, layout, menu, window events and the screen
// replay. The handlers are in form1_actions.cpp.

#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <QFontMetricsF>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "acquisition/screens/measurement_actions.h"
#include "analysis/screens/analysis_actions.h"
#include "draw/canvas.h"
#include "draw/scaled_font.h"
#include "draw/session.h"
#include "draw/scaled_widgets.h"
#include "draw/status_memo.h"
#include "draw/trace_area.h"
#include "help/help_window.h"
#include "messaging/screens/form3.h"
#include "report/screens/form4.h"
#include "ui/storage_actions.h"

namespace {

constexpr int kClientWidth = 641;
constexpr int kClientHeight = 333;
constexpr int kStatusBarTop = 314;
constexpr int kPanelTop = 48;
constexpr int kFontPoints = 8;
// The menu bar's height at the design size (it only bounds the fitting scale).
constexpr int kMenuDesignHeight = 21;

QString WindowCaption() {
  return QStringLiteral("       Анализатор пульса ТЕРВОЛАН   ООО \"МЕЛТА\"");
}

void SetBackground(QWidget* w, const QColor& colour, QPalette::ColorRole role = QPalette::Base) {
  QPalette pal = w->palette();
  pal.setColor(role, colour);
  if (role == QPalette::Window) w->setAutoFillBackground(true);
  w->setPalette(pal);
}

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// A status text longer than its memo is drawn smaller, down to 60 % of the
// window's font, so that it is read whole (" Нет связи с датчиком" in 89
// design pixels); one that fits keeps the window's font.
void FitStatusText(QPlainTextEdit* memo) {
  QFont font = memo->parentWidget()->font();
  const double base = font.pointSizeF();
  // The text's room: the viewport less the document's margins and the cursor.
  const qreal room = memo->viewport()->width() - 2 * memo->document()->documentMargin() - 2;
  const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  for (double points = base; points >= base * 0.6; points -= 0.25) {
    font.setPointSizeF(points);
    const QFontMetricsF metrics(font);
    const bool fits = std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
      return metrics.horizontalAdvance(line) <= room;
    });
    if (fits) break;
  }
  if (memo->font() != font) memo->setFont(font);
  // The smaller text is also there in the window's font on hovering.
  memo->setToolTip(font.pointSizeF() < base ? memo->toPlainText().trimmed() : QString());
}

}  // namespace

TForm1::TForm1(TForm1Options options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)) {
  setObjectName(QStringLiteral("Form1"));
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::place(QWidget* w, int left, int top, int width, int height) const {
  w->setGeometry(layout_.rect(left, top, width, height));
}

QRect TForm1::availableArea() const {
  if (!options_.availableArea.isNull()) return options_.availableArea;
  const int width = options_.display.ScreenWidth;
  if (width > 0) return QRect(0, 0, width, width);
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

void TForm1::FormCreate() {
  const QRect avail = availableArea();
  layout_ = sfigmo::DesignLayout(sfigmo::FittedDesignScale(
      options_.display.ScreenWidth, avail.size(),
      QSize(kClientWidth, kClientHeight + kMenuDesignHeight), sfigmo::kWindowDecoration));

  setWindowTitle(WindowCaption());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFont(sfigmo::ScaledFont(QFont(sfigmo::WindowFontFamily(), kFontPoints), layout_));

  chooseProgramFolder();
  buildControls();
  buildMenu();
  createSession();
  measurement_ = std::make_unique<sfigmo::MeasurementActions>(measurementSurface());
  analysis_ = std::make_unique<sfigmo::AnalysisActions>(analysisSurface());
  sfigmo::StorageActions::install(
      this, storageSurface())  // registration, saving, archive list, trend graphs
      ->context()
      .decimalSeparator = options_.display.DecimalSeparator;
  measurement_->prepareWindow();

  const int menuHeight = menuBar()->sizeHint().height();
  setFixedSize(scaled(kClientWidth), menuHeight + scaled(kClientHeight));
  move(sfigmo::CentredTopLeft(avail, size() + sfigmo::kWindowDecoration));
  // The help collection lies beside the executable; "Справка" opens it.
}

void TForm1::buildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setFixedSize(scaled(kClientWidth), scaled(kStatusBarTop));
  setCentralWidget(client);

  auto button = [&](const char* name, const QString& text, int l, int t, QWidget* parent) {
    auto* b = Named(new QPushButton(text, parent), name);
    place(b, l, t, 49, 25);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
  };
  Button2 = button("Button2", QStringLiteral("Изме&р"), 8, 0, client);
  Button2->setToolTip(QStringLiteral("Измерение"));
  Button3 = button("Button3", QStringLiteral("Про&в"), 64, 0, client);
  Button4 = button("Button4", QStringLiteral("Расче&т"), 120, 0, client);
  Button5 = button("Button5", QStringLiteral("Заклю&ч"), 176, 0, client);

  Label1 = Named(new QLabel(QStringLiteral("Label1"), client), "Label1");
  Label1->move(scaled(336), scaled(0));
  Label1->resize(scaled(100), scaled(16));

  auto memo = [&](const char* name, int l, int t, int w, int h, QWidget* parent) {
    auto* m = Named(new QPlainTextEdit(QString::fromLatin1(name), parent), name);
    place(m, l, t, w, h);
    m->setReadOnly(true);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setFrameShape(QFrame::Box);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);  // the status words must stay on one line
    m->document()->setDocumentMargin(1);
    QObject::connect(m, &QPlainTextEdit::textChanged, m, [m] { FitStatusText(m); });
    return m;
  };
  Memo1 = memo("Memo1", 440, 0, 89, 25, client);
  SetBackground(Memo1, sfigmo::colours::Silver);
  Memo2 = memo("Memo2", 544, 0, 89, 25, client);
  SetBackground(Memo2, sfigmo::colours::Silver);

  ProgressBar1 = Named(new QProgressBar(client), "ProgressBar1");
  place(ProgressBar1, 8, 28, 625, 13);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);

  Button10 = button("Button10", QStringLiteral("СТОП"), 8, 40, client);

  Panel1 = Named(new QWidget(client), "Panel1");
  place(Panel1, 0, kPanelTop, kClientWidth, kStatusBarTop - 1 - kPanelTop);

  TreeView1 = Named(new sfigmo::TraceArea(scaled(625), scaled(217), Panel1), "TreeView1");
  TreeView1->move(scaled(8), scaled(8));
  TreeView1->canvas().setLayout(layout_);  // screens draw at design coordinates

  ListBox2 = Named(new QListWidget(Panel1), "ListBox2");
  place(ListBox2, 24, 16, 289, 65);
  ListBox2->setSortingEnabled(true);
  SetBackground(ListBox2, sfigmo::colours::Cyan);
  ListBox1 = Named(new QListWidget(Panel1), "ListBox1");
  place(ListBox1, 320, 16, 297, 65);
  ListBox1->setSortingEnabled(true);
  SetBackground(ListBox1, sfigmo::colours::Green);

  auto caption = [&](const char* name, const QString& text, int l, int t, QPalette::ColorRole bg) {
    auto* s = Named(new QLabel(text, Panel1), name);
    s->move(scaled(l), scaled(t));
    s->adjustSize();
    SetBackground(s, palette().color(bg), QPalette::Window);
    return s;
  };
  StaticText1 = caption("StaticText1", QStringLiteral("ПАЦИЕНТ"), 48, 88, QPalette::Light);
  StaticText2 = caption("StaticText2", QStringLiteral("ВОЗРАСТ"), 72, 120, QPalette::Light);
  StaticText3 = caption("StaticText3", QStringLiteral("ПОЛ"), 120, 152, QPalette::HighlightedText);

  auto edit = [&](const char* name, const QString& text, int l, int t, int w, const QColor& bg) {
    auto* e = Named(new QLineEdit(text, Panel1), name);
    place(e, l, t, w, 21);
    SetBackground(e, bg);
    return e;
  };
  Edit1 = edit("Edit1", QStringLiteral("МЛТ"), 112, 88, 81, sfigmo::colours::Green);
  Edit2 = edit("Edit2", QStringLiteral("61"), 136, 120, 57, sfigmo::colours::Cyan);
  Edit3 = edit("Edit3", QStringLiteral("М"), 152, 152, 41, palette().color(QPalette::Midlight));

  Memo3 = Named(new QPlainTextEdit(QStringLiteral("Memo3"), Panel1), "Memo3");
  place(Memo3, 200, 88, 289, 89);
  Memo3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetBackground(Memo3, sfigmo::colours::Yellow);

  TrackBar1 = Named(new QSlider(Qt::Horizontal, Panel1), "TrackBar1");
  place(TrackBar1, 208, 232, 145, 25);
  TrackBar1->setRange(0, 40);
  TrackBar1->setValue(20);

  Button8 = button("Button8", QStringLiteral("СТОП"), 368, 232, Panel1);
  RadioButton2 = Named(new QRadioButton(QStringLiteral("Ручное"), Panel1), "RadioButton2");
  place(RadioButton2, 424, 240, 65, 17);
  RadioButton1 = Named(new QRadioButton(QStringLiteral("Автомат"), Panel1), "RadioButton1");
  place(RadioButton1, 496, 240, 65, 17);
  RadioButton1->setChecked(true);
  if (!layout_.identity()) {
    // The indicators are sized in pixels by the style: they grow with the font.
    for (QRadioButton* r : {RadioButton1, RadioButton2}) r->setStyle(scaledStyle());
  }

  // The desktop's sans face is wider than the layout's; shrink the mode
  // captions alike until both fit beside their indicators.
  QFont modeFont = RadioButton1->font();
  auto fits = [&] {
    return RadioButton1->sizeHint().width() <= RadioButton1->width() &&
           RadioButton2->sizeHint().width() <= RadioButton2->width();
  };
  while (!fits() && modeFont.pointSizeF() > 5.0) {
    modeFont.setPointSizeF(modeFont.pointSizeF() - 0.5);
    RadioButton1->setFont(modeFont);
    RadioButton2->setFont(modeFont);
  }

  BitBtn1 = Named(new QPushButton(QStringLiteral("&Выход"), Panel1), "BitBtn1");
  place(BitBtn1, 560, 232, 65, 25);
  SetBackground(BitBtn1, palette().color(QPalette::ToolTipText), QPalette::ButtonText);

  Button1 = button("Button1", QStringLiteral("СТАРТ"), 368, 280, client);
  Button1->setToolTip(QStringLiteral("Калибровка"));

  StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setFixedHeight(scaled(19));
  StatusBar1->setSizeGripEnabled(false);
  SetBackground(StatusBar1, sfigmo::colours::Silver, QPalette::Window);
  setStatusBar(StatusBar1);

  TrackBar1->hide();  // the rest of the first state is the session's
  Button1->raise();   // lies over the panel's lower edge
  Button10->raise();  // reaches below the panel's top edge

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { RunCalculation(); });
  connect(Button5, &QPushButton::clicked, this, [this] { ShowConclusion(); });
  connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
  connect(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
  connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::buildMenu() {
  QMenuBar* bar = menuBar();
  FileMenu = bar->addMenu(QStringLiteral("Фай&л"));
  FileMenu->setObjectName(QStringLiteral("N1"));
  Open_ = FileMenu->addAction(QStringLiteral("Отк&р"));
  Regis_ = FileMenu->addAction(QStringLiteral("Реги&c"));
  Save_ = FileMenu->addAction(QStringLiteral("Со&хр"));
  Print_ = FileMenu->addAction(QStringLiteral("Печать"));
  connect(FileMenu, &QMenu::aboutToShow, this, [this] { N1Click(); });
  connect(Print_, &QAction::triggered, this, [this] { N7Click(); });

  ServiceMenu = bar->addMenu(QStringLiteral("Сервис"));
  ServiceMenu->setObjectName(QStringLiteral("N2"));
  Graf_ = ServiceMenu->addAction(QStringLiteral("Графика"));
  SMS2_ = ServiceMenu->addAction(QStringLiteral("МобSMS"));
  connect(ServiceMenu, &QMenu::aboutToShow, this, [this] { N2Click(); });
  connect(SMS2_, &QAction::triggered, this, [this] { SMS2Click(); });

  Help_ = bar->addAction(QStringLiteral("Справка"));
  Open_->setObjectName(QStringLiteral("Open"));
  Regis_->setObjectName(QStringLiteral("Regis"));
  Save_->setObjectName(QStringLiteral("Save"));
  Print_->setObjectName(QStringLiteral("N7"));
  Graf_->setObjectName(QStringLiteral("Graf"));
  SMS2_->setObjectName(QStringLiteral("SMS2"));
  Help_->setObjectName(QStringLiteral("N3"));
  connect(Help_, &QAction::triggered, this, [this] { N3Click(); });
  // Drop-downs are windows of their own and do not inherit the scaled font.
  for (QMenu* menu : {FileMenu, ServiceMenu}) {
    menu->setFont(font());
    if (!layout_.identity()) menu->setStyle(scaledStyle());  // no shortened entries
  }
}

QStyle* TForm1::scaledStyle() {
  if (!scaledStyle_) {
    scaledStyle_ = new sfigmo::ScaledControlStyle(layout_.scale());
    scaledStyle_->setParent(this);
  }
  return scaledStyle_;
}

sfigmo::Canvas& TForm1::traceCanvas() { return TreeView1->canvas(); }

int TForm1::outerWidth() const { return frameGeometry().width(); }

void TForm1::showStatus(QPlainTextEdit* memo, const QColor& background, const QString& text) {
  sfigmo::ShowStatus(memo, background, text);
}

void TForm1::N1Click() {
  session_->apply(sfigmo::Step::FileMenuOpened);
  showStatus(Memo2, sfigmo::colours::Silver, QString());
}

void TForm1::N7Click() {
  TreeView1->clear();
  if (PrintForm) {
    PrintForm->ProgramFolder = ProgramFolder;
    execModal(PrintForm);
  }
}

// "МобSMS": the phone SMS window, which replaces the current record with
// the last saved measurement.
void TForm1::SMS2Click() {
  if (Form3 == nullptr) return;
  if (!CurrentRecord) CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
  Form3->setSources(CurrentRecord.get(), ProgramFolder);
  execModal(Form3);  // the start-up check runs again when it closes
}

void TForm1::N2Click() {
  showStatus(Memo2, sfigmo::colours::Silver, QString());
  session_->apply(sfigmo::Step::ServiceMenuOpened);
}

void TForm1::N3Click() { sfigmo::ShowHelpContents(this); }

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (firstShowDone_) return;
  firstShowDone_ = true;
  if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
  if (options_.activateOnFirstShow) {
    QTimer::singleShot(0, this, [this] { FormActivate(); });
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Only the platform's exposure of the window replays the screen; the trace
  // area's own repaints after drawing never reach here.
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    scheduleReplay();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::scheduleReplay() {
  if (replayQueued_) return;
  replayQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    replayQueued_ = false;
    FormPaint();
  });
}

void TForm1::FormPaint() {
  // Never recursively, and never over a running measurement (its buffer is
  // being filled and the live trace is the current screen).
  if (replaying_ || measurement_->measuring()) return;
  replaying_ = true;
  const sfigmo::Session& s = *session_;
  if (s.TrendViewShown() && TrendReplay) TrendReplay();
  // The check and results screens are drawn from what their actions found.
  if (s.CheckViewShown()) analysis_->RedrawCheck();
  if (s.AnalysisViewShown()) analysis_->RedrawCalculation();
  if (s.RegistrationViewShown() && RegistrationReplay) RegistrationReplay();
  replaying_ = false;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (measurement_->deferClose()) {  // a run in progress owns the record buffers
    event->ignore();
    return;
  }
  CurrentRecord.reset();
  BrowseRecord.reset();
  QMainWindow::closeEvent(event);
}
