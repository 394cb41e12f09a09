#include "edf_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/record_report.h"
#include "analysis/result_validity.h"
#include "record_time.h"
#include "record/short_string.h"
#include "translit.h"

namespace sfigmo {
namespace {

// `seconds` rounded to as many decimals as 8 header characters leave (at
// most 6: the writer counts microseconds).
std::optional<std::int64_t> HeaderDurationUs(double seconds) {
  if (!(seconds > 0.0) || seconds >= 1e8) return std::nullopt;
  const int integerDigits =
      seconds < 1.0 ? 1 : static_cast<int>(std::floor(std::log10(seconds))) + 1;
  const int decimals = std::clamp(8 - integerDigits - 1, 0, 6);
  const double scaled = std::round(seconds * std::pow(10.0, decimals));
  const auto us =
      static_cast<std::int64_t>(scaled) * static_cast<std::int64_t>(std::pow(10, 6 - decimals));
  if (us <= 0 || EdfSeconds(us).size() > 8) return std::nullopt;
  return us;
}

std::optional<DataRecordLayout> LayoutIfExact(int n, double period) {
  const double exact = n * period;
  const std::optional<std::int64_t> us = HeaderDurationUs(exact);
  if (!us || std::fabs(static_cast<double>(*us) * 1e-6 - exact) >= kMaxRateError * exact) {
    return std::nullopt;
  }
  return DataRecordLayout{n, *us};
}

// Time of 1-based sample `k` in the file's own time base, in microseconds.
std::int64_t SampleTimeUs(std::int64_t k, const DataRecordLayout& layout) {
  const std::int64_t n = layout.SamplesPerRecord;
  return ((k - 1) * layout.DurationUs * 2 + n) / (2 * n);
}

const char* RejectionWords(Rejection r) {
  switch (r) {
    case Rejection::None:
      return "";
    case Rejection::Beats:
      return "fewer than 3 beat marks";
    case Rejection::FirstBeat:
      return "first beat later than 2 s";
    case Rejection::Amplitude:
      return "signal amplitude below 20";
    case Rejection::TooMany:
      return "more than 100 beat marks";
  }
  return "";
}

char SexLetter(const std::string& sex) {
  const std::string ascii = TransliterateToAscii(sex);
  const char first = ascii.empty() ? 'X' : static_cast<char>(std::toupper(ascii[0]));
  // "м", "муж", "M", "male"; "ж", "жен" (transliterated "zh"), "F", "female", "W".
  if (first == 'M') return 'M';
  if (first == 'F' || first == 'W' || first == 'Z') return 'F';
  return 'X';
}

// A subfield of an EDF+ identification: no blanks inside, "X" when empty,
// cut between transliterated letters to at most `width` characters.
std::string Subfield(const std::string& utf8, std::size_t width = kEdfIdentificationWidth) {
  std::vector<std::string> letters = TransliteratedLetters(utf8);
  auto blank = [](const std::string& s) { return s == " "; };
  const auto first = std::find_if_not(letters.begin(), letters.end(), blank);
  const auto last = std::find_if_not(letters.rbegin(), letters.rend(), blank).base();
  std::string s;
  for (auto it = first; it < last && s.size() + it->size() <= width; ++it) s += *it;
  while (!s.empty() && s.back() == ' ') s.pop_back();  // a cut right after a blank
  if (s.empty()) return "X";
  for (char& c : s) c = c == ' ' ? '_' : c;
  return s;
}

std::string RecordingField(const std::optional<DateTimeParts>& when, std::int32_t gain) {
  static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  std::string date = "X";
  if (when) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%s-%04d", when->Day, kMonths[when->Month - 1],
                  when->Year);
    date = text;
  }
  return "Startdate " + date + " X X sfigmo Gain:" + std::to_string(gain);
}

void SetStart(EdfContent& c, const std::optional<DateTimeParts>& when) {
  char date[16] = "01.01.85", time[16] = "00.00.00";
  if (when) {
    // Two-digit years cover 1985 to 2084; later ones are written "yy", and
    // the recording field holds the full date.
    if (when->Year <= 2084) {
      std::snprintf(date, sizeof date, "%02d.%02d.%02d", when->Day, when->Month, when->Year % 100);
    } else {
      std::snprintf(date, sizeof date, "%02d.%02d.yy", when->Day, when->Month);
    }
    std::snprintf(time, sizeof time, "%02d.%02d.%02d", when->Hour, when->Minute, when->Second);
  }
  c.StartDate = date;
  c.StartTime = time;
}

EdfSignal WaveSignal(std::int32_t gain) {
  EdfSignal s;
  s.Label = "Pulse wave diff";
  s.Transducer = "finger pulse sensor; differentiated pulse wave, trace pixels at gain " +
                 std::to_string(gain);
  s.PhysicalDimension = "px";
  s.Prefiltering = "5-sample difference x gain / 50";
  return s;  // physical values equal the stored ones
}

// Pauses and extrasystoles as the rhythm stage classifies the intervals:
// against the mean of all intervals, pause first.
void AddRhythmFindings(const MarkTable& marks, const DataRecordLayout& layout,
                       std::vector<EdfAnnotation>& out) {
  const std::vector<std::int32_t> intervals = CardioIntervals(marks);
  if (intervals.empty()) return;
  std::int64_t sum = 0;
  for (std::int32_t x : intervals) sum += x;
  const double mean = static_cast<double>(sum) / static_cast<double>(intervals.size());
  for (std::size_t j = 0; j < intervals.size(); ++j) {
    const double x = intervals[j];
    const char* kind = x >= 1.5 * mean ? "Pause" : x <= 0.5 * mean ? "Extrasystole" : nullptr;
    if (!kind) continue;
    const std::int64_t from = SampleTimeUs(marks.Marks[j].Index, layout);
    const std::int64_t to = SampleTimeUs(marks.Marks[j + 1].Index, layout);
    out.push_back({from, to - from, kind});
  }
}

// What the header and the stored block show of damage, in English for the
// annotations (the caller reports the same lines to the user).
std::vector<std::string> DamageNotes(const RecordReport& r, const AnalysisResults& stored,
                                     bool dateKnown) {
  std::vector<std::string> notes;
  if (r.UsedSampleCount != r.StoredSampleCount) {
    notes.push_back("Damaged record: SampleCount " + std::to_string(r.StoredSampleCount) +
                    " exceeds " + std::to_string(kMaxSamples) + ", " +
                    std::to_string(r.UsedSampleCount) + " samples exported");
  }
  if (!dateKnown) notes.push_back("Damaged record: start date and time unknown");
  std::string damaged;
  for (const std::string& name : DamagedResultNames(stored))
    damaged += (damaged.empty() ? "" : ", ") + name;
  if (!damaged.empty()) notes.push_back("Damaged record: stored results damaged: " + damaged);
  return notes;
}

std::vector<EdfAnnotation> Annotations(const RecordReport& r, const DataRecordLayout& layout,
                                       const std::vector<std::string>& notes) {
  std::vector<EdfAnnotation> a;
  for (const std::string& n : notes) a.push_back({0, -1, n});
  if (r.Accepted()) {
    a.push_back({0, -1, "Recording accepted"});
    std::string quality = "Signal quality good";
    if (r.Quality.doubtful) {
      quality = "Signal quality doubtful:";
      for (std::size_t i = 0; i < r.Quality.reasons.size(); ++i) {
        quality += i ? ", " : " ";
        quality += Label(r.Quality.reasons[i]).word;
      }
    }
    a.push_back({0, -1, quality});
    if (r.Rhythm) a.push_back({0, -1, "Rhythm " + std::string(Label(*r.Rhythm).word)});
    if (r.Calculated && r.Stop != CalcStop::Completed) {
      a.push_back(
          {0, -1,
           "Indices not computed: calculation stopped at " + std::string(Label(r.Stop).word)});
    }
  } else {
    a.push_back({0, -1, std::string("Recording rejected: ") + RejectionWords(r.Rejected)});
  }
  std::vector<EdfAnnotation> rhythm;
  // Only a calculation that got past the classification placed any.
  if (r.Calculated && r.Stop != CalcStop::Rhythm1) AddRhythmFindings(r.Marks, layout, rhythm);
  std::size_t next = 0;
  for (const BeatMark& m : r.Marks.Marks) {
    const std::int64_t at = SampleTimeUs(m.Index, layout);
    a.push_back({at, -1, "Beat"});
    while (next < rhythm.size() && rhythm[next].OnsetUs <= at) a.push_back(rhythm[next++]);
  }
  return a;
}

}  // namespace

std::optional<DataRecordLayout> ChooseDataRecord(int sampleCount, double period) {
  if (sampleCount <= 0 || !(period > 0.0) || !std::isfinite(period)) return std::nullopt;
  for (int n = 1; n < sampleCount; ++n) {
    if (sampleCount % n != 0 || n * period < 1.0) continue;
    if (auto layout = LayoutIfExact(n, period)) return layout;
  }
  return LayoutIfExact(sampleCount, period);
}

std::string EdfPatientField(const PulsogramRecord& record) {
  std::string head = "X ";
  head += SexLetter(GetShortString(record.PatientSex));
  head += " X ";
  // The name gives way so that the age, a number, is never cut into
  // another one: the whole age always fits beside a one-letter name.
  constexpr std::size_t kAgeCapacity = sizeof(PulsogramRecord::PatientAge) - 1;
  static_assert(std::string_view("X M X ").size() + kMaxLetterSpelling + 5 +
                    kAgeCapacity * kMaxLetterSpelling <=
                kEdfIdentificationWidth);
  const std::string age = Subfield(GetShortString(record.PatientAge));
  const std::string tail = age == "X" ? "" : " Age:" + age;
  const std::size_t room = kEdfIdentificationWidth - head.size() - tail.size();
  return head + Subfield(GetShortString(record.PatientName), room) + tail;
}

EdfExport ExportEdf(const PulsogramRecord& record) {
  EdfExport out;
  // A record that is no pulse recording is not exported as one.
  const RecordReport report = AnalyseRecord(record, false);
  switch (report.Verdict.implausible) {
    case Implausible::None:
      break;
    case Implausible::Period:
      out.Refusal = EdfRefusal::Period;
      return out;
    case Implausible::Samples:
      out.Refusal = EdfRefusal::NoSamples;
      return out;
    case Implausible::Pulse:
      out.Refusal = EdfRefusal::Pulse;
      return out;
  }
  const int count = UsableSampleCount(record);
  const std::span<const std::int32_t> samples(record.Samples, static_cast<std::size_t>(count));
  EdfContent c;
  for (std::int32_t s : samples) {
    if (s < std::numeric_limits<std::int16_t>::min() ||
        s > std::numeric_limits<std::int16_t>::max()) {
      out.Refusal = EdfRefusal::SampleRange;
      return out;
    }
    c.Samples.push_back(static_cast<std::int16_t>(s));
  }
  const std::optional<DataRecordLayout> layout = ChooseDataRecord(count, record.SamplePeriod);
  if (!layout) {
    out.Refusal = EdfRefusal::TooShort;
    return out;
  }
  const std::optional<DateTimeParts> when = StoredDateTime(record);
  c.Patient = EdfPatientField(record);
  c.Recording = RecordingField(when, record.Gain);
  SetStart(c, when);
  c.RecordDurationUs = layout->DurationUs;
  c.SamplesPerRecord = layout->SamplesPerRecord;
  c.Signal = WaveSignal(record.Gain);
  out.Notes = DamageNotes(report, record.Results, when.has_value());
  c.Annotations = Annotations(report, *layout, out.Notes);
  out.Bytes = EdfBytes(c);
  return out;
}

std::string EdfRefusalText(EdfRefusal refusal) {
  switch (refusal) {
    case EdfRefusal::None:
      return "";
    case EdfRefusal::Period:
      return "период отсчётов повреждён или невозможен для датчика";
    case EdfRefusal::NoSamples:
      return "в записи нет отсчётов";
    case EdfRefusal::Pulse:
      return "это не запись пульса: частота ударов по отметкам вне " +
             std::to_string(static_cast<int>(kMinPlausiblePulse)) + " - " +
             std::to_string(static_cast<int>(kMaxPlausiblePulse)) + " в минуту";
    case EdfRefusal::SampleRange:
      return "отсчёт вне 16-битного диапазона формата EDF (запись повреждена)";
    case EdfRefusal::TooShort:
      return "запись слишком коротка: частоту отсчётов нельзя записать в EDF с точностью 10⁻⁶";
  }
  return "";
}

}  // namespace sfigmo
