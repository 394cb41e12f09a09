#include "sim_device.h"

#include <algorithm>
#include <cmath>

namespace sensorsim {

using namespace sensordrv;

SimDevice::SimDevice(const SimConfig& config, SignalSource& signal)
    : config_(config), signal_(signal), corruptRng_(config.seed ^ 0x5A5A5A5Aull) {}

bool SimDevice::Silent() const {
  return config_.mute || (config_.stopAfterFrames >= 0 && framesTotal_ >= config_.stopAfterFrames);
}

std::int32_t SimDevice::TicksPerSample() const {
  return static_cast<std::int32_t>(std::lround(kTickRate / config_.rate));
}

void SimDevice::Receive(const std::uint8_t* data, std::size_t size,
                        std::vector<std::uint8_t>& out) {
  for (std::size_t i = 0; i < size; ++i) {
    if (!assembler_.PushByte(data[i])) continue;
    const Request request = DecodeRequest(assembler_.Frame());
    assembler_.Release();
    if (!Silent()) Answer(request, out);
  }
}

void SimDevice::Answer(const Request& request, std::vector<std::uint8_t>& out) {
  if (request.kind == FrameKind::Link) {
    if (request.code == kLinkTest) {
      const auto body = LinkBody(kLinkAck);
      SendBody(body, out);
    }
    return;
  }
  if (request.kind != FrameKind::Info) return;
  const std::uint8_t echo[1] = {request.code};
  switch (request.code) {
    case kCmdVersion:
      SendInfo(kReplyVersion, kSimVersion, out);
      break;
    case kCmdBattery:
      SendInfo(kReplyBattery, BatteryData(), out);
      break;
    case kCmdStart:
      if (config_.refuseStart) return;
      SendInfo(kReplyAck, echo, out);
      if (!streaming_) {
        signal_.Restart();
        framesInRun_ = 0;
      }
      streaming_ = true;
      break;
    case kCmdStop:
      SendInfo(kReplyAck, echo, out);
      streaming_ = false;
      break;
    default:  // unknown command: refused with reply code 3
      SendInfo(kReplySilent, echo, out);
      break;
  }
}

// raw × 1.00 × 4.00 / 1024 volts, converter width 10 bits.
std::array<std::uint8_t, kBatteryBytes> SimDevice::BatteryData() const {
  const long raw = std::clamp(std::lround(config_.batteryVolts * 256.0), 0L, 65535L);
  return {
      static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw & 0xFF), 10, 1, 0, 4, 0};
}

FrameRecord SimDevice::NextFrame(std::vector<std::uint8_t>& out) {
  FrameRecord rec;
  rec.sequence = ++framesInRun_;
  ++framesTotal_;
  const std::int32_t ticks = TicksPerSample();
  const double scale = ticks / kReferenceTicks;
  // Status byte: a running frame counter, so gaps show up on the host side.
  rec.values[0] = static_cast<std::int32_t>(rec.sequence & 0xFF);
  std::array<std::uint8_t, kDataBytes> data{};
  data[0] = static_cast<std::uint8_t>(rec.values[0]);
  for (int s = 0; s < 5; ++s) {
    const long a =
        std::clamp(std::lround(signal_.NextLevel() * scale), 0L, static_cast<long>(ticks));
    const long b = std::min(65535L, ticks - a);  // A + B = ticks of this sample
    rec.values[1 + 2 * s] = static_cast<std::int32_t>(a);
    rec.values[2 + 2 * s] = static_cast<std::int32_t>(b);
    data[1 + 4 * s] = static_cast<std::uint8_t>(a >> 8);
    data[2 + 4 * s] = static_cast<std::uint8_t>(a & 0xFF);
    data[3 + 4 * s] = static_cast<std::uint8_t>(b >> 8);
    data[4 + 4 * s] = static_cast<std::uint8_t>(b & 0xFF);
  }
  rec.lost = LostOnTheWay(rec.sequence);
  if (!rec.lost) {
    SendInfo(kReplyData, data, out);
  } else if (config_.dropAsBadCrc) {
    // The frame's bytes go out with its CRC off by one: the host must throw it away.
    std::array<std::uint8_t, 64> body{};
    const std::size_t n = ReplyBody(kReplyData, data, body);
    const std::uint16_t wrong = static_cast<std::uint16_t>(FrameCrc({body.data(), n}) ^ 1);
    out.push_back(kFrameStart);
    auto put = [&out](std::uint8_t b) {
      if (NeedsEscape(b)) {
        out.push_back(kEscape);
        out.push_back(static_cast<std::uint8_t>(b ^ 0x20));
      } else {
        out.push_back(b);
      }
    };
    for (std::size_t i = 0; i < n; ++i) put(body[i]);
    put(static_cast<std::uint8_t>(wrong >> 8));
    put(static_cast<std::uint8_t>(wrong & 0xFF));
    out.push_back(kFrameEnd);
  }
  return rec;
}

bool SimDevice::LostOnTheWay(long sequence) const {
  const long n = config_.dropEvery;
  if (n <= 0) return false;
  const long loss = sequence / n;  // the loss this frame would belong to, from 1
  return loss >= 1 && sequence % n < config_.dropBurst &&
         (config_.dropLimit < 0 || loss <= config_.dropLimit);
}

void SimDevice::SendInfo(std::uint8_t code, std::span<const std::uint8_t> data,
                         std::vector<std::uint8_t>& out) {
  std::array<std::uint8_t, 64> body{};
  const std::size_t n = ReplyBody(code, data, body);
  SendBody({body.data(), n}, out);
}

void SimDevice::SendBody(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out) {
  std::array<std::uint8_t, EncodedCapacity(64)> wire{};
  const std::size_t n = EncodeFrame(body, wire);
  const std::size_t start = out.size();
  out.insert(out.end(), wire.begin(), wire.begin() + static_cast<long>(n));
  if (config_.corrupt <= 0.0) return;
  // Line noise: each byte independently replaced by a different one.
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  std::uniform_int_distribution<int> flip(1, 255);
  for (std::size_t i = start; i < out.size(); ++i) {
    if (chance(corruptRng_) < config_.corrupt)
      out[i] ^= static_cast<std::uint8_t>(flip(corruptRng_));
  }
}

}  // namespace sensorsim
