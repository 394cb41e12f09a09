#pragma once
// The clinical rules, kept once: the norm of each index as the results screen
// and the report print it, the pulse-rate bands with their texts, colours and
// score, the limits of the verdicts and of the score, and the verdict texts.
// The conclusion screen, the results screen, the results dialog and the
// printed report all read them from here; the results message sends bare
// values and tests none of them.
//
// Three sets of limits differ on purpose, as the users' instructions state
// them, and must not be merged:
//   - the drawn norms (results screen, report's "норма" column);
//   - the verdict limits (conclusion lines, results dialog, report lines);
//   - the score limits (the conclusion's score and thus its advice only).

#include <array>
#include <limits>

namespace sfigmo {

enum class VerdictColour { Green, Blue, Red };

// ---- Norms as printed. Only texts: nothing tests a value against them.

struct IndexNorm {
  const char* ReportText;  // the report's "норма" column, decimal comma
  const char* ScreenFrom;  // the results screen's "НОРМА" column, first line
  const char* ScreenTo;    // its second line; empty for the one-line pulse norm
};

inline constexpr IndexNorm kPulsNorm{"55-80", "55 - 80", ""};
inline constexpr IndexNorm kVrkiNorm{"0,06-0,16", "от 0.06", "до 0.16"};
inline constexpr IndexNorm kKovrNorm{"2-10", "от 2.0", "до 10.0"};
inline constexpr IndexNorm kSpsoNorm{"0,06-0,09", "от 0.06", "до 0.09"};
inline constexpr IndexNorm kTosoNorm{"10-25", "от 10.0", "до 25.0"};
inline constexpr IndexNorm kNagrNorm{"0,07-0,11", "от 0.07", "до 0.11"};
inline constexpr IndexNorm kCountNorm{"0", "", ""};  // pauses, extrasystoles

// ---- Verdict texts: the screens' capitals and the report's sentence case.

struct VerdictText {
  const char* Screen;  // conclusion screen and results dialog
  const char* Report;  // printed report
  VerdictColour Colour;
};

// ---- Pulse rate. One band holds for any rate but NaN.

enum class PulseRate { Low, Lowered, Normal, Raised, High };

inline constexpr double kPulseLowBelow = 55;    // below: low pulse
inline constexpr double kPulseNormalFrom = 70;  // normal from here ...
inline constexpr double kPulseNormalTo = 80;    // ... to here, both included
inline constexpr double kPulseHighAbove = 90;   // above: high pulse

struct PulseBand {
  PulseRate Rate;
  double Low;
  bool LowIncluded;
  double High;
  bool HighIncluded;
  VerdictText Text;  // the screens append the rate to Screen
  int Score;         // the score's first step
};

inline constexpr double kUnbounded = std::numeric_limits<double>::infinity();

inline constexpr std::array<PulseBand, 5> kPulseBands{{
    {PulseRate::Low, -kUnbounded, true, kPulseLowBelow, false,
     {"НИЗКИЙ   ПУЛЬС -", "Низкий пульс", VerdictColour::Red}, 5},
    {PulseRate::Lowered, kPulseLowBelow, true, kPulseNormalFrom, false,
     {"ПУЛЬС  ПОНИЖЕН -", "Пульс понижен", VerdictColour::Blue}, 40},
    {PulseRate::Normal, kPulseNormalFrom, true, kPulseNormalTo, true,
     {"ЧАСТОТА ПУЛЬСА В НОРМЕ -", "Частота пульса в норме", VerdictColour::Green}, 40},
    {PulseRate::Raised, kPulseNormalTo, false, kPulseHighAbove, true,
     {"ПУЛЬС  ПОВЫШЕН -", "Пульс повышен", VerdictColour::Blue}, 20},
    {PulseRate::High, kPulseHighAbove, false, kUnbounded, true,
     {"ВЫСОКИЙ  ПУЛЬС -", "Высокий пульс", VerdictColour::Red}, 5},
}};

constexpr bool InBand(const PulseBand& band, double puls) {
  const bool fromLow = band.LowIncluded ? band.Low <= puls : band.Low < puls;
  const bool toHigh = band.HighIncluded ? puls <= band.High : puls < band.High;
  return fromLow && toHigh;
}

// Null for a NaN rate (a damaged stored block).
constexpr const PulseBand* PulseBandOf(double puls) {
  for (const PulseBand& band : kPulseBands)
    if (InBand(band, puls)) return &band;
  return nullptr;
}

// ---- Rhythm (VRKI, s).

// Verdicts: a hard pulse below this.
inline constexpr double kHardPulseVrkiBelow = 0.04;
// Verdicts: sinus rhythm undisturbed below this.
inline constexpr double kRhythmVrkiBelow = 0.16;

inline constexpr VerdictText kHardPulse{"ПУЛЬС ЖЕСТКИЙ", "Пульс жёсткий", VerdictColour::Blue};
inline constexpr VerdictText kRhythmUndisturbed{
    "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН", "Синусовый ритм не нарушен", VerdictColour::Green};
inline constexpr VerdictText kRhythmDisturbed{"НАРУШЕН СИНУСОВЫЙ РИТМ", "Нарушен синусовый ритм",
                                              VerdictColour::Red};

// ---- Interruptions (pause and extrasystole counts): any one is reported.

inline constexpr VerdictText kInterruptionsFound{"ОБНАРУЖЕНЫ ПЕРЕБОИ", "Обнаружены перебои",
                                                 VerdictColour::Red};
inline constexpr VerdictText kNoInterruptions{"ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ", "Перебои не обнаружены",
                                              VerdictColour::Green};

// ---- Myocardial load (DescentTime and NAGR, s).

// Verdicts (conclusion's load line, results dialog's "Сердце" tab, report's
// last line): normal when both are at most these.
inline constexpr double kLoadVerdictDescentTimeMax = 0.12;
inline constexpr double kLoadVerdictNagrMax = 0.11;

inline constexpr VerdictText kLoadNormal{"НАГРУЗКА МИОКАРДА В НОРМЕ", "Нагрузка миокарда в норме",
                                         VerdictColour::Green};
inline constexpr VerdictText kLoadWeakened{"СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА",
                                           "Сердечная мышца ослаблена", VerdictColour::Blue};
// The results dialog's "Сердце" tab words the same verdict its own way and
// appends the value.
inline constexpr const char* kHeartTabNormal = "СОКРАЩЕНИЕ  МЫШЦЫ В НОРМЕ - ";
inline constexpr const char* kHeartTabWeakened = "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА - ";

// ---- Score (conclusion screen only), -45 to 100.

inline constexpr int kScoreOutsideBands = 5;  // a NaN rate
inline constexpr int kScoreInterruptionsPenalty = 30;
inline constexpr int kScoreStepGain = 30;  // each of the rhythm and load steps ...
inline constexpr int kScoreStepLoss = 10;  // ... gains or loses this
// Rhythm step: the verdicts' two VRKI limits, both included.
inline constexpr double kScoreVrkiFrom = kHardPulseVrkiBelow;
inline constexpr double kScoreVrkiTo = kRhythmVrkiBelow;
// Load step: stricter than the load verdict on purpose (strictly below, and
// 0.10 rather than 0.11 for NAGR), so a load the verdict calls normal may
// still cost points.
inline constexpr double kScoreLoadDescentTimeBelow = 0.12;
inline constexpr double kScoreLoadNagrBelow = 0.10;

// ---- Advice "НЕОБХОДИМ КОНТРОЛЬ" (conclusion screen).

inline constexpr int kAdviceScoreMax = 70;          // a score at most this
inline constexpr double kAdvicePressureMax = 110;   // a rounded estimate at most this
inline constexpr double kAdvicePressureFrom = 140;  // or at least this

}  // namespace sfigmo
