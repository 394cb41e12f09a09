// Any byte string as a .pul record: read, mark, accept, calculate (and the
// stored block), every number through FormatGeneral, the conclusion's rules.
// Nothing may crash, hang or hit undefined behaviour.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

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
  return 0;
}
