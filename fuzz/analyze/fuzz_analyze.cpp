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
#include <string_view>

#include "analysis/beat_marking.h"
#include "analysis/signal_quality.h"
#include "common/format_general.h"
#include "record_report.h"
#include "storage/record_file.h"

namespace {

void FormatEverything(const sfigmo::RecordReport& report) {
  for (const sfigmo::ResultField& f : sfigmo::ResultFields()) {
    const double v = report.Results.*f.Member;
    for (int digits : {2, 3, 15, 18}) {
      sfigmo::FormatGeneral(v, digits, digits == 3 ? 3 : 0, ',');
    }
    sfigmo::RoundHalfEvenClamped(v, -100000, 100000);
  }
  sfigmo::ReportText(report, ',');
}

// Only the known reason words, each at most once, and a warning exactly
// when one was found.
void CheckQuality(const sfigmo::PulsogramRecord& record) {
  static constexpr std::string_view kReasons[] = {"irregular", "rate",  "dicrotic", "split",
                                                  "missed",    "depth", "flat"};
  const std::span<const std::int32_t> samples(
      record.Samples, static_cast<std::size_t>(sfigmo::UsableSampleCount(record)));
  const sfigmo::MarkTable marks = sfigmo::MarkBeats(samples);
  const sfigmo::SignalQuality q = sfigmo::AssessSignalQuality(samples, marks, record.SamplePeriod);
  unsigned seen = 0;
  for (const std::string& reason : q.reasons) {
    const auto* known = std::find(std::begin(kReasons), std::end(kReasons), reason);
    const unsigned bit = 1u << (known - std::begin(kReasons));
    if (known == std::end(kReasons) || (seen & bit) != 0) std::abort();
    seen |= bit;
  }
  if (q.doubtful != !q.reasons.empty()) std::abort();
  if (q.doubtful == sfigmo::QualityReasonText(q).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto record = std::make_unique<sfigmo::PulsogramRecord>();
  if (!sfigmo::RecordFromBytes(std::span(data, size), *record)) {
    // A short input stands for a record whose tail is zero, so the fuzzer
    // can reach the header and the first samples with small inputs.
    std::memset(record.get(), 0, sizeof *record);
    std::memcpy(record.get(), data, size);
  }
  FormatEverything(sfigmo::AnalyseRecord(*record, false));
  FormatEverything(sfigmo::AnalyseRecord(*record, true));
  CheckQuality(*record);
  return 0;
}
