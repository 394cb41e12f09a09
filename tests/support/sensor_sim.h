#pragma once
// sensor-sim from the build's program folder, as the program's tests run it:
// SENSORDRV_PORT names its port while it lives, its complaints are kept for
// the failure message, and it ends at once, as an unplugged sensor.

#include <QStringList>
#include <memory>

#include "sim_process.h"

namespace sfigmo::test {

std::unique_ptr<SimProcess> StartSensorSim(const QStringList& args = {});

}  // namespace sfigmo::test
