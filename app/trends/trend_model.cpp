#include "trends/trend_model.h"

#include <algorithm>
#include <cstdint>

#include "analysis/record_judgement.h"
#include "common/format_general.h"

namespace sfigmo {
namespace {

// Far beyond the trace area, yet never overflowing the arithmetic below,
// whatever a damaged record holds.
constexpr std::int64_t kFarAway = 100000;

int Scaled(double value, double factor) {
  return static_cast<int>(RoundHalfEvenClamped(value * factor, -kFarAway, kFarAway));
}

struct CurveScale {
  int Base;
  double Factor;
};
// y = Base - round(Factor * value); the read-out inverts it.
constexpr std::array<CurveScale, kTrendCurves> kScales = {
    CurveScale{200, 1.0}, CurveScale{200, 500.0}, CurveScale{170, 800.0}, CurveScale{140, 800.0}};

}  // namespace

RangeCheck CheckTrendRange(int rangeStart, int rangeEnd) {
  if (rangeStart < 0 || rangeEnd <= rangeStart) return RangeCheck::Empty;
  if (rangeEnd > kTrendLastPosition) return RangeCheck::TooLong;
  return RangeCheck::Draw;
}

int TrendStep(int rangeStart, int rangeEnd) {
  return static_cast<int>(RoundHalfEven(double(kTrendWidth) / double(rangeEnd - rangeStart)));
}

TrendYs TrendCurveYs(const AnalysisResults& r) {
  const std::array<double, kTrendCurves> values = {r.PULS, r.VRKI, r.SPSO, r.NAGR};
  TrendYs ys{};
  for (int i = 0; i < kTrendCurves; ++i)
    ys[i] = kScales[i].Base - Scaled(values[i], kScales[i].Factor);
  return ys;
}

std::optional<TrendYs> TrendPointYs(const PulsogramRecord& record) {
  if (!JudgeRecord(record, QualityCheck::Skip).ResultsUsable()) return std::nullopt;
  return TrendCurveYs(record.Results);
}

int TrendClippedY(int x0, int y0, int x1, int y1, int x) {
  const double t = double(x - x0) / double(x1 - x0);
  return static_cast<int>(RoundHalfEven(double(y0) + t * double(y1 - y0)));
}

std::optional<int> TrendReadoutOffset(int x, int rangeStart, int rangeEnd) {
  if (CheckTrendRange(rangeStart, rangeEnd) != RangeCheck::Draw) return std::nullopt;
  if (x <= kTrendLeft || x >= kTrendRight) return std::nullopt;
  const int step = TrendStep(rangeStart, rangeEnd);
  const int k = static_cast<int>(RoundHalfEven(double(x - kTrendLeft) / double(step)));
  return std::min(k, rangeEnd - rangeStart);
}

std::array<std::string, kTrendCurves> TrendReadoutTexts(const TrendYs& ys, char sep) {
  std::array<std::string, kTrendCurves> out;
  out[0] = std::to_string(kScales[0].Base - ys[0]);
  for (int i = 1; i < kTrendCurves; ++i) {
    out[i] = FormatGeneral(double(kScales[i].Base - ys[i]) / kScales[i].Factor, 4, 0, sep);
  }
  return out;
}

}  // namespace sfigmo

namespace sfigmo {

std::array<std::string, kTrendCurves> TrendReadoutTexts(const std::optional<TrendYs>& ys,
                                                        char sep) {
  if (ys) return TrendReadoutTexts(*ys, sep);
  std::array<std::string, kTrendCurves> out;
  out.fill("-");
  return out;
}

}  // namespace sfigmo
