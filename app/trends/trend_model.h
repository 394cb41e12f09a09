#pragma once
// What a trend graph shows, without drawing it: the range picked in the
// trend list, the step between points, each curve's y coordinate for a
// record, and the read-out of the record under the pointer. Plain C++.

#include <array>
#include <optional>
#include <string>

#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

inline constexpr int kTrendLastPosition = 300;  // the tables hold positions 0..300
inline constexpr int kTrendLeft = 20;           // x of the first point and of the y axis
inline constexpr int kTrendRight = 520;         // end of the x axis
inline constexpr int kTrendWidth = kTrendRight - kTrendLeft;
inline constexpr int kTrendAxisY = 200;
inline constexpr int kTrendCurves = 4;

// The range rule of the trend list. Each click moves the current position
// into RangeStart; listing the records makes position 1 current, so a
// double click right after the listing starts the range at the second entry.
class TrendRangeRule {
 public:
  void listed() { current_ = 1; }
  void clicked(int position) {
    rangeStart_ = current_;
    current_ = position;
  }
  int rangeStart() const { return rangeStart_; }
  int current() const { return current_; }

 private:
  int rangeStart_ = 0;
  int current_ = 1;
};

enum class RangeCheck {
  Draw,
  Empty,    // the end is not after the start: nothing is drawn
  TooLong,  // the end lies past the last position the tables hold
};
RangeCheck CheckTrendRange(int rangeStart, int rangeEnd);

// round(500 / (end - start)), halves to even. Only for a range that Draws.
int TrendStep(int rangeStart, int rangeEnd);

// y of each curve in the order 1 PULS, 2 VRKI, 3 SPSO, 4 NAGR.
using TrendYs = std::array<int, kTrendCurves>;
TrendYs TrendCurveYs(const AnalysisResults& results);

// The same for a record's point, or none when the record's judgement does
// not let its stored results be used (not accepted, or damaged): such a
// point is left out of every curve.
std::optional<TrendYs> TrendPointYs(const PulsogramRecord& record);

// y where the segment from (x0, y0) to (x1, y1), x0 < x1, crosses `x`,
// rounded (a half to the even one): where a curve is cut at the axis end.
int TrendClippedY(int x0, int y0, int x1, int y1, int x);

// The offset from RangeStart of the record under the pointer at x: none
// unless x lies strictly between the axis ends; never past the drawn range.
std::optional<int> TrendReadoutOffset(int x, int rangeStart, int rangeEnd);

// The four values as the graph quantised them (curve 1 whole, the others
// in general format with 4 significant digits), in curve order.
std::array<std::string, kTrendCurves> TrendReadoutTexts(const TrendYs& ys, char decimalSeparator);
// "-" for each value of a point that was left out.
std::array<std::string, kTrendCurves> TrendReadoutTexts(const std::optional<TrendYs>& ys,
                                                        char decimalSeparator);

}  // namespace sfigmo
