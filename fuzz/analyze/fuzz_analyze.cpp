// Any byte string as a .pul record: read, mark, accept, calculate (and the
// stored block), every number through FormatGeneral, the conclusion's rules,
// and the signal-quality check on every marking, accepted or not. Nothing
// may crash, hang or hit undefined behaviour.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

#include "analysis/signal_quality.h"
#include "common/format_general.h"
#include "report_text.h"
#include "storage/record_file.h"

namespace {

void FormatEverything(const sfigmo::RecordReport& report) {
  for (const sfigmo::AnalysisResultField& f : sfigmo::kAnalysisResultFields) {
    const double v = report.Results.*f.Member;
    for (int digits : {2, 3, 15, 18}) {
      sfigmo::FormatGeneral(v, digits, digits == 3 ? 3 : 0, ',');
    }
    sfigmo::RoundHalfEvenClamped(v, -100000, 100000);
  }
  sfigmo::ReportText(report, ',');
}

// Only known reasons, each at most once, and a warning exactly when one
// was found.
void CheckQuality(const sfigmo::SignalQuality& q) {
  unsigned seen = 0;
  for (const sfigmo::QualityReason reason : q.reasons) {
    if (sfigmo::Label(reason).word.empty()) std::abort();
    const unsigned bit = 1u << static_cast<unsigned>(reason);
    if ((seen & bit) != 0) std::abort();
    seen |= bit;
  }
  if (q.doubtful != !q.reasons.empty()) std::abort();
  if (q.doubtful == sfigmo::QualityReasonText(q).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto record = std::make_unique<sfigmo::PulsogramRecord>();
  if (!sfigmo::RecordFromBytes(std::span(data, size), *record)) {
    // A short input stands for a record holding only the samples it has
    // (the rest zero), so small inputs reach the header and the analysis,
    // and each execution costs in proportion to its input.
    std::memset(record.get(), 0, sizeof *record);
    std::memcpy(record.get(), data, size);
    constexpr std::size_t kFirstSample = offsetof(sfigmo::PulsogramRecord, Samples);
    const std::size_t present = size > kFirstSample ? (size - kFirstSample) / 4 : 0;
    record->SampleCount =
        static_cast<std::uint16_t>(std::min<std::size_t>(record->SampleCount, present));
  }
  const sfigmo::RecordReport calculated = sfigmo::AnalyseRecord(*record, false);
  FormatEverything(calculated);
  // Only a pulse recording is accepted: a sensor's time base, a person's pulse.
  if (calculated.Accepted() && (!sfigmo::PlausibleSamplePeriod(record->SamplePeriod) ||
                                !(calculated.Verdict.pulse >= sfigmo::kMinPlausiblePulse &&
                                  calculated.Verdict.pulse <= sfigmo::kMaxPlausiblePulse)))
    std::abort();
  if (calculated.HasQuality) {
    CheckQuality(calculated.Quality);
  } else {
    // The program checks accepted markings only; the check must hold on any.
    const std::span<const std::int32_t> samples(
        record->Samples, static_cast<std::size_t>(calculated.UsedSampleCount));
    CheckQuality(sfigmo::AssessSignalQuality(samples, calculated.Marks, record->SamplePeriod));
  }
  // The stored block's conclusion does not depend on the samples, which have
  // just been marked and checked; leaving them out halves each execution.
  record->SampleCount = 0;
  FormatEverything(sfigmo::AnalyseRecord(*record, true));
  return 0;
}
