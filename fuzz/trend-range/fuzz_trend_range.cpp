// Any sequence of list actions gives a range that is drawn only when it
// fits the tables, a step of at least one pixel, and a read-out that never
// leaves the drawn range; any stored values give finite coordinates.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "trends/trend_model.h"

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  const std::size_t n = size < sizeof(T) ? size : sizeof(T);
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sfigmo;
  TrendRangeRule rule;
  const int actions = Take<std::uint8_t>(data, size) % 16;
  for (int i = 0; i < actions && size > 0; ++i) {
    const std::int32_t position = Take<std::int32_t>(data, size);
    if (position == INT32_MIN) {
      rule.listed();
    } else {
      rule.clicked(position);
    }
  }
  const std::int32_t rangeEnd = Take<std::int32_t>(data, size);
  const std::int32_t x = Take<std::int32_t>(data, size);
  const int start = rule.rangeStart();
  const RangeCheck check = CheckTrendRange(start, rangeEnd);
  const auto offset = TrendReadoutOffset(x, start, rangeEnd);
  if (check != RangeCheck::Draw) {
    Check(!offset);
  } else {
    Check(start >= 0 && rangeEnd <= kTrendLastPosition && start < rangeEnd);
    const int step = TrendStep(start, rangeEnd);
    Check(step >= 1 && step <= kTrendWidth);
    if (offset) Check(*offset >= 0 && start + *offset <= rangeEnd);
  }

  AnalysisResults r;
  r.PULS = Take<double>(data, size);
  r.VRKI = Take<double>(data, size);
  r.SPSO = Take<double>(data, size);
  r.NAGR = Take<double>(data, size);
  const TrendYs ys = TrendCurveYs(r);
  for (int y : ys) Check(y > -200000 && y < 200000);
  for (const auto& text : TrendReadoutTexts(ys, ',')) Check(!text.empty() && text.size() < 32);
  return 0;
}
