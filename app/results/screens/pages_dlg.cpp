#include "results/screens/pages_dlg.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <cmath>
#include <span>
#include <vector>

#include "draw/canvas.h"
#include "draw/scaled_font.h"
#include "results/pages_verdicts.h"
#include "record/pulsogram_record.h"

namespace {

// Explanatory lines of each tab; blanks are part of the layout.
// clang-format off
constexpr const char* kPulseLines[] = {
    "",
    "    Частота пульса - число сокращений сердца в минуту. За норму принимают значения от 72 до 76.",
    "    Повышенным считается пульс от 80 до 90, пульс свыше  90 - ТАХИКАРДИЯ. ",
    "    Пониженным считается пульс от 50 до 70, пульс меньше 50 - БРАДИКАРДИЯ. ",
    "    Наличие постоянной тахикардии требует врачебного контроля.",
    "    Брадикардия часто наблюдается у спортсменов, при заболеваниях сердца,",
    "    после приема некоторых лекарственных препаратов.",
    "    У детей пульс обычно повышен, у женщин несколько меньше, чем у мужчин. ",
    "    Тахикардия наблюдается после больших физических нагрузок, при нервном возбуждении,",
    "    после приема алкоголя, наркотиков и некоторых лекарств, при заболеваниях сердца,",
    "    после приема некоторых лекарственных препаратов.",
    "     ",
    " ",
};
constexpr const char* kHeartLines[] = {
    "",
    "      СЕРДЦЕ это мышечный орган, обеспечивающий непрерывную циркуляцию крови в организме.",
    "    Эффективноcть работы сердца определяется возможностью быстрого сокращения миокарда (мышцы).",
    "   ВРЕМЯ  МАКСИМАЛЬНОЙ НАГРУЗКИ - время от точки максимума кривой до момента ее",
    "   пересечения с нулевой линией. Это очень ответственный участок, т.к. именно здесь достигается",
    "   максимальное напряжение сердечной МЫШЦЫ и на этом участке с наибольшей вероятностью ",
    "   могут происходить как ее повреждения, так и проявляться уже существующие нарушения.",
    "   Длительность этого участка пульсограммы непосредственно",
    "   связана с  биохимическими процессами, протекающими на клеточном уровне в сердечной мышце.",
    "   И как следствие, на это время влияют любые нарушения в обмене  веществ, которые ",
    "   наблюдаются при заболеваниях сердца и прежде всего при ИШЕМИИ. Значительное повышение ",
    "   времени экстремальной нагрузки говорит (более 0.11 сек.) об ухудшении сократительной функции",
    "   сердечной мышцы. При медикаментозном лечении это наиболее чувствительный показатель,",
    "   с помощью которого можно косвенно предположить об эффективности выбранных методов лечения.",
    "    Чем меньше его значение, - тем лучше.",
};
constexpr const char* kVesselLines[] = {
    "",
    " Тонус сосудов связан с их жескостью, или с потерей эластичности, и определяется в процентах.",
    " При увеличении жескости более чем на 30 процентов, можно говорить о сосудистой дистонии.",
    " При жестких сосудах характерны такие проявления как дополнительная нагрузка на сердце,",
    " скачки давления, головные боли, чувствительность к изменению погоды, склонность к промерзанию: ",
    " сосуды становятся ломкими и трескаются – появляются микро кровоизлияния. Вредны длительный",
    " холод и промерзания, курение. Необходимо движение, физические упражнения, контрастный душ.",
    "  Следует придерживаться здорового образа жизни: сбалансированное питание, ",
    "  умеренная физическая нагрузка и пр.",
    "  Крайне важны профилактические мероприятия.",
    "",
};
constexpr const char* kRhythmLines[] = {
    "",
    "    Нарушение ритма определяется по разности самого длинного и самого короткого кардиоинтервалов, ",
    "    обнаруженных за время измерения. Этот показатель связан с работой так называемого ",
    "    СИНУСОВОГО УЗЛА, в котором автоматически возникают электрические импульсы возбуждения. ",
    "    Это основной водитель ритма. Нормой считается размах кардиоинтервала не превышающий 0,16 сек. ",
    "    Превышение нормы говорит о наличии СИНУСОВОЙ АРИТМИИ. ",
    "    Синусовая аритмия это не заболевание, а некоторое физиологическое состояние, которое может быть ",
    "    связано с процессом дыхания. Значения размаха кардиоинтервала существенно превышающие ",
    "    норму может быть предвестником ЭКСТАСИСТОЛИИ.",
};
constexpr const char* kInterruptionLines[] = {
    "",
    "   ПЕРЕБОИ нередко возникают при заболеваниях центральной и вегетативной нервной системы, ",
    " а так же при эндокринных заболеваниях. Самая частая причина аритмии – поражение",
    " сердечной мышцы и проводящей системы сердца. ",
    "   Человек обычно не ощущает биения своего сердца и поэтому не воспринимает его ритма. ",
    "Появление аритмии воспринимается как перебои, замирание сердца, резкое хаотическое ",
    "сердцебиение. Существует множество видов аритмий, различных как по проявлениям, ",
    "так и по механизму возникновения. Одна из них - ЭСТРАСИСТОЛИЯ.",
    "   Экстрасистолы это преждевременные сокращения сердца, которые ощущаются",
    "как ПЕРЕБОИ. Экстасистолы всегда видны на пульсограмме. Они проявляются прежде всего в виде ",
    "уменьшения интервалов между ударами и снижением амплитуды, либо пропуском отдельных ударов.",
    "Постоянное присутствие в пульсограмме экстрасистол требует врачебного контроля.",
};

struct TabLayout {
  const char* title;
  const char* labelName;
  std::span<const char* const> lines;
};

const TabLayout kTabs[] = {
    {"Пульс", "Label2", kPulseLines},
    {"Сердце", "Label3", kHeartLines},
    {"Сосуды", "Label4", kVesselLines},
    {"Ритм", "Label5", kRhythmLines},
    {"Перебои", "Label6", kInterruptionLines},
};
// clang-format on

constexpr int kFirstTab = 4;  // "Перебои" until the user picks another
constexpr int kItemHeight = 13;

QColor VerdictQColor(sfigmo::VerdictColour c) {
  switch (c) {
    case sfigmo::VerdictColour::Green:
      return QColor(0, 128, 0);
    case sfigmo::VerdictColour::Blue:
      return QColor(0, 0, 255);
    case sfigmo::VerdictColour::Red:
      return QColor(255, 0, 0);
  }
  return QColor(0, 0, 0);
}

void ScaleGeometry(QWidget* w, const sfigmo::DesignLayout& layout) {
  const QRect g = w->geometry();
  w->setGeometry(layout.rect(g.x(), g.y(), g.width(), g.height()));
}

}  // namespace

TPagesDlg::TPagesDlg(QWidget* parent, const sfigmo::DisplaySettings& display)
    : QDialog(parent), separator_(display.DecimalSeparator) {
  setObjectName(QStringLiteral("PagesDlg"));
  setWindowTitle(QStringLiteral(
      "                                                               Р Е З У Л Ь Т А Т"));
  setModal(true);
  resize(643, 375);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setGeometry(8, 8, 625, 345);
  QPalette tabPalette = PageControl1->palette();
  tabPalette.setColor(QPalette::WindowText, tabPalette.color(QPalette::ToolTipText));
  PageControl1->setPalette(tabPalette);
  QLabel** labels[] = {&Label2, &Label3, &Label4, &Label5, &Label6};
  for (int tab = 0; tab < 5; ++tab)
    PageControl1->addTab(makePage(tab, *labels[tab]), QString::fromUtf8(kTabs[tab].title));
  PageControl1->setCurrentIndex(kFirstTab);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setGeometry(0, 375 - 17, 643, 17);

  FormCreate(display.ScreenWidth);
}

TPagesDlg::~TPagesDlg() = default;

QWidget* TPagesDlg::makePage(int tab, QLabel*& label) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheet%1").arg(tab + 1));

  label = new QLabel(page);
  label->setObjectName(QString::fromLatin1(kTabs[tab].labelName));
  label->move(8, 8);
  label->resize(601, 20);

  auto* list = new QListWidget(page);
  list->setObjectName(QStringLiteral("ListBox%1").arg(tab + 1));
  list->setGeometry(8, 32, 601, 241);
  // Long lines scroll rather than end in an ellipsis: every word is meant
  // to be read.
  list->setTextElideMode(Qt::ElideNone);
  for (const char* line : kTabs[tab].lines) new QListWidgetItem(QString::fromUtf8(line), list);
  ListBoxes[tab] = list;

  auto* close = new QPushButton(QStringLiteral("&Close"), page);
  close->setObjectName(QStringLiteral("BitBtn%1").arg(tab + 1));
  close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  close->setLayoutDirection(Qt::RightToLeft);  // glyph right of the text
  close->setGeometry(544, 280, 49, 25);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  CloseButtons[tab] = close;
  return page;
}

// The layout is drawn for an 800-pixel-wide screen; other widths scale the
// whole dialog, fonts included, by width alone.
void TPagesDlg::FormCreate(int screenWidth) {
  scale_ = sfigmo::WindowDesignScale(screenWidth, QSize(643, 375));
  const sfigmo::DesignLayout layout(scale_);
  if (scale_ != 1.0) {
    // Only the placed controls: the tab pages and the controls' own parts
    // follow their owners' sizes. Fonts follow the dialog's.
    std::vector<QWidget*> placed{PageControl1, StatusBar1, Label2, Label3, Label4, Label5, Label6};
    placed.insert(placed.end(), std::begin(ListBoxes), std::end(ListBoxes));
    placed.insert(placed.end(), std::begin(CloseButtons), std::end(CloseButtons));
    for (QWidget* w : placed) ScaleGeometry(w, layout);
    setFont(sfigmo::ScaledFont(font(), layout));
  }
  const int itemHeight = layout.px(kItemHeight);
  for (QListWidget* list : ListBoxes) {
    const QFontMetrics fm(list->font());
    for (int i = 0; i < list->count(); ++i) {
      QListWidgetItem* item = list->item(i);
      item->setSizeHint(QSize(fm.horizontalAdvance(item->text()) + 8, itemHeight));
    }
  }
  setFixedSize(layout.px(643), layout.px(375));
}

void TPagesDlg::setSources(const sfigmo::AnalysisResults* working,
                           const sfigmo::PulsogramRecord* record) {
  working_ = working;
  record_ = record;
}

QLabel* TPagesDlg::verdictLabel(int tab) const {
  QLabel* labels[] = {Label2, Label3, Label4, Label5, Label6};
  return labels[tab];
}

void TPagesDlg::FormActivate() { fillVerdicts(true); }

void TPagesDlg::fillVerdicts(bool pulseFirst) {
  const sfigmo::AnalysisResults none{};
  const sfigmo::AnalysisResults& working = working_ ? *working_ : none;
  const sfigmo::AnalysisResults& stored = record_ ? record_->Results : none;
  const auto verdicts = sfigmo::PagesVerdicts(working, stored, separator_);

  // Pulse first, then the others in the order they were always filled.
  const int order[] = {sfigmo::kPulseTab, sfigmo::kInterruptionTab, sfigmo::kRhythmTab,
                       sfigmo::kHeartTab, sfigmo::kVesselTab};
  for (int tab : order) {
    QLabel* label = verdictLabel(tab);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(sfigmo::DesignLayout(scale_).points(10));
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, VerdictQColor(verdicts[tab].Colour));
    label->setPalette(p);
    label->setText(QString::fromStdString(verdicts[tab].Text));
    label->adjustSize();
    if (tab == sfigmo::kPulseTab && pulseFirst) label->repaint();  // shown before the rest
  }
}

void TPagesDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, not over the main window.
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  fillVerdicts(false);
}

bool TPagesDlg::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}
