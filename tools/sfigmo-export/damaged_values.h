#pragma once
// Which stored values of a record can be handed on: a value is damaged when
// it is not finite, and every time value when the record's period is not one
// a pulse recording can have (the analysis' own rule).

#include "analysis/recording_plausibility.h"

namespace sfigmo {

// A stored result may be written out; `periodOk` is PlausibleSamplePeriod of
// the record, as every time value of the block was made with that period.
bool UsableResult(double value, bool periodOk);

}  // namespace sfigmo
