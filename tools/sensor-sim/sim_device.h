#pragma once
// The simulated sensor's protocol side: takes the host's bytes, answers
// commands and link tests, and builds the streamed measurement frames. No
// I/O and no clock: the caller decides when a frame is due.

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "protocol.h"
#include "pulse_model.h"
#include "sim_config.h"

namespace sensorsim {

inline constexpr std::array<std::uint8_t, 4> kSimVersion{0x02, 0x01, 0x00, 0x07};

// What one measurement frame carried, for the log and for tests.
struct FrameRecord {
  long sequence = 0;  // 1 = first frame after a start
  bool lost = false;  // lost on the way (--drop-every): not sent, or with a wrong CRC
  std::array<std::int32_t, sensordrv::kSampleValues> values{};
};

class SimDevice {
 public:
  SimDevice(const SimConfig& config, SignalSource& signal);

  // Bytes from the host; the wire bytes of any answers are appended to out.
  void Receive(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
  // Whether measurement frames are to be sent now.
  bool Streaming() const { return streaming_ && !Silent(); }
  // Builds the next measurement frame, appends its wire bytes to out.
  FrameRecord NextFrame(std::vector<std::uint8_t>& out);
  // Muted, or fallen silent after the configured number of frames.
  bool Silent() const;
  // Seconds between two measurement frames.
  double FramePeriod() const { return 5.0 / config_.rate; }
  // --stall-at and --stall-ms (0: no stall).
  long StallAt() const { return config_.stallAt; }
  long StallMs() const { return config_.stallMs; }
  // Clock ticks per sample (A + B of each pair).
  std::int32_t TicksPerSample() const;

 private:
  void Answer(const sensordrv::Request& request, std::vector<std::uint8_t>& out);
  void SendInfo(std::uint8_t code, std::span<const std::uint8_t> data,
                std::vector<std::uint8_t>& out);
  void SendBody(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out);
  bool LostOnTheWay(long sequence) const;
  std::array<std::uint8_t, sensordrv::kBatteryBytes> BatteryData() const;

  SimConfig config_;
  SignalSource& signal_;
  sensordrv::FrameAssembler assembler_;
  std::mt19937_64 corruptRng_;
  bool streaming_ = false;
  long framesInRun_ = 0;
  long framesTotal_ = 0;
};

}  // namespace sensorsim
