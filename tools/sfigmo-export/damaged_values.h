#pragma once
// Which stored values of a record can be handed on. A stand-in for the
// analysis' own rule on damaged results: until that exists, a value is
// damaged when it is not finite, and a record's time base when it is not a
// period the sensor can produce. Keep every such test in this one place.

namespace sfigmo {

// The sensor's sample time is a 16-bit count of a 3 MHz clock, so a real
// period lies above 0 and at most 65535 / 3e6 s.
inline constexpr double kMaxSamplePeriod = 65535.0 / 3e6;

bool PlausibleSamplePeriod(double seconds);

// A stored result may be written out; `periodOk` is PlausibleSamplePeriod of
// the record, as every time value of the block was made with that period.
bool UsableResult(double value, bool periodOk);

}  // namespace sfigmo
