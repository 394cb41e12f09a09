#include "analysis/screens/conclusion_screen.h"

#include "analysis/conclusion_rules.h"
#include "analysis/result_validity.h"
#include "analysis/rhythm_reading.h"
#include "analysis/screens/screen_text.h"
#include "common/format_general.h"

namespace sfigmo {

namespace {

using screens::BlackPen;
using screens::SetFont;
using screens::TextOnWhite;

constexpr int kInstructionX = 380;

struct InstructionLine {
  int y;
  const char* text;
};

const InstructionLine kInstructionsAbove[] = {
    {20, "   Если Вы получили сообщение -"}, {35, "\"НЕОБХОДИМ КОНТРОЛЬ, то Вам "},
    {50, "нужно повторить измерение и со-"}, {65, "хранить результаты, выполнив"},
    {80, "операции РЕГИС и СОХР в меню"},    {95, "ФАЙЛ. При наличии             отметок"},
};

const InstructionLine kInstructionsBelow[] = {
    {110, "установите ручной режим измерения,"},
    {125, "выполните проверку (ПРОВ) результатов, "},
    {140, "через 5 минут повторите измерение."},
    {155, "Подробнее смотри в меню СПРАВКА"},
};

void DrawVerdictLines(Canvas& c, const AnalysisResults& working, char sep) {
  for (const VerdictLine& line : ConclusionVerdicts(working)) {
    SetFont(c, 10, true);
    TextOnWhite(c, 100, line.Y, line.Text);
    if (line.Value) TextOnWhite(c, line.ValueX, line.Y, FormatGeneral(*line.Value, 3, 0, sep));
    BlackPen(c);
    c.setBrushColor(screens::ScreenColour(line.Colour));
    c.ellipse(70, line.Y, 90, line.Y + 20);
  }
}

// In place of the verdict lines: damaged results support no verdict.
void DrawDamagedNotice(Canvas& c) {
  BlackPen(c);
  c.setBrushColor(colours::Red);
  c.ellipse(70, 90, 90, 110);
  SetFont(c, 10, true, colours::Red);
  TextOnWhite(c, 100, 90, kDamagedResultsTitle);
  SetFont(c, 8, false);
  TextOnWhite(c, 100, 115, kDamagedResultsAdvice);
}

void DrawInstructions(Canvas& c) {
  SetFont(c, 8, false);
  for (const InstructionLine& line : kInstructionsAbove)
    TextOnWhite(c, kInstructionX, line.y, line.text);
  // The red mark fills the gap left in the last line above.
  BlackPen(c);
  c.setBrushColor(colours::Red);
  c.ellipse(495, 95, 510, 110);
  for (const InstructionLine& line : kInstructionsBelow)
    TextOnWhite(c, kInstructionX, line.y, line.text);
}

}  // namespace

void DrawConclusionTitle(Canvas& c) {
  SetFont(c, 10, true);
  TextOnWhite(c, 160, 5, "З А К Л Ю Ч Е Н И Е ");
}

void DrawConclusionBody(Canvas& c, const AnalysisResults& working,
                        const AnalysisResults& recordBlock, char sep) {
  BlackPen(c);
  if (ResultsDamaged(working) || ResultsDamaged(recordBlock)) {
    DrawDamagedNotice(c);
    DrawInstructions(c);
    SetFont(c, 8, false);
    BlackPen(c);
    return;
  }
  DrawVerdictLines(c, working, sep);

  const int score = ConclusionScore(working);
  const double pressure = PressureEstimate(recordBlock, working.MeanInterval);
  if (AdviceNeeded(score, pressure)) {
    SetFont(c, 10, true, colours::Blue);
    TextOnWhite(c, 390, 190, "НЕОБХОДИМ КОНТРОЛЬ");
  }

  DrawInstructions(c);
  SetFont(c, 8, false);
  BlackPen(c);
}

void DrawConclusionRhythmWarning(Canvas& c, bool irregular) {
  if (!irregular) return;
  constexpr int kY = 180;  // where a signal warning would stand: never both
  BlackPen(c);
  c.setBrushColor(colours::Red);
  c.ellipse(70, kY, 90, kY + 20);
  // As the signal warning: the alarm in bold red, the rest below it.
  SetFont(c, 8, true, colours::Red);
  TextOnWhite(c, 100, kY, kIrregularRhythmLines[0]);
  SetFont(c, 8, false);
  TextOnWhite(c, 100, kY + 16, kIrregularRhythmLines[1]);
}

void DrawConclusionSignalWarning(Canvas& c, const SignalQuality& quality) {
  if (!quality.doubtful) return;
  constexpr int kY = 180;  // under the last verdict line (150), left of the advice
  BlackPen(c);
  c.setBrushColor(colours::Red);
  c.ellipse(70, kY, 90, kY + 20);
  SetFont(c, 8, true, colours::Red);
  TextOnWhite(c, 100, kY, SignalWarningText());
  SetFont(c, 8, false);
  TextOnWhite(c, 100, kY + 16, QualityReasonText(quality));
}

}  // namespace sfigmo
