#include "protocol.h"

#include <algorithm>

namespace sensordrv {

std::uint16_t FrameCrc(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (std::uint8_t b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

std::size_t EncodeFrame(std::span<const std::uint8_t> body, std::span<std::uint8_t> out) {
  if (out.size() < EncodedCapacity(body.size())) return 0;
  const std::uint16_t crc = FrameCrc(body);
  std::size_t n = 0;
  auto put = [&](std::uint8_t b) {
    if (NeedsEscape(b)) {
      out[n++] = kEscape;
      out[n++] = b ^ 0x20;
    } else {
      out[n++] = b;
    }
  };
  out[n++] = kFrameStart;
  for (std::uint8_t b : body) put(b);
  put(static_cast<std::uint8_t>(crc >> 8));  // high byte first, unlike MODBUS
  put(static_cast<std::uint8_t>(crc & 0xFF));
  out[n++] = kFrameEnd;
  return n;
}

std::array<std::uint8_t, 5> CommandBody(std::uint8_t command) {
  return {0x00, kInfoControl, kCommandFlags, kCommandP0, command};
}

std::array<std::uint8_t, 3> LinkBody(std::uint8_t linkCode) {
  return {0x00, kLinkControl, linkCode};
}

bool FrameAssembler::PushByte(std::uint8_t c) {
  if (!receiving_) return false;
  if (escapePending_) {
    Append(c ^ 0x20);
    escapePending_ = false;
    return false;
  }
  switch (c) {
    case kEscape:
      escapePending_ = true;
      return false;
    case kFrameStart:
      Discard();
      length_ = 0;
      return false;
    case kFrameEnd:
      EndOfFrame();
      return !receiving_;
    default:
      Append(c);
      return false;
  }
}

void FrameAssembler::EndOfFrame() {
  if (length_ < 2) {
    Discard();
    return;
  }
  const std::size_t bodyLength = length_ - 2;
  const std::uint16_t expected = FrameCrc({buffer_.data(), bodyLength});
  const std::uint16_t got =
      static_cast<std::uint16_t>(buffer_[bodyLength] << 8 | buffer_[bodyLength + 1]);
  // A mismatch keeps the bytes: the sensor's frames may hold a bare end byte
  // only by corruption, and the next start byte resynchronises.
  if (got != expected) {
    Discard();
    return;
  }
  unfinished_ = false;
  if (!HeaderAccepted(buffer_[0])) return;
  receiving_ = false;
}

DecodedFrame DecodeFrame(std::span<const std::uint8_t> frame) {
  DecodedFrame out;
  if (frame.size() < 3) return out;
  const std::size_t body = frame.size() - 2;
  const std::size_t a = frame[0] >> 4, l = frame[0] & 0x0F;
  const std::size_t control = 1 + a + l;
  if (body < control + 2) return out;  // no room for control byte and its code
  const std::uint8_t c = frame[control];
  if (c == kLinkControl) {
    out.kind = FrameKind::Link;
    out.linkCode = frame[control + 1];
    return out;
  }
  if (c != kInfoControl) return out;
  const std::uint8_t flags = frame[control + 1];
  if (frame.size() >= kMaxInfoFrame || (flags & 0x30) != 0) return out;
  if (body < control + 4) return out;  // flags, P0 and reply code must be there
  out.kind = FrameKind::Info;
  out.reply.p0 = frame[control + 2];
  out.reply.code = frame[control + 3];
  const std::size_t dataStart = control + 4;
  out.reply.dataLength = body - dataStart;
  std::copy_n(frame.begin() + dataStart, out.reply.dataLength, out.reply.data.begin());
  return out;
}

Request DecodeRequest(std::span<const std::uint8_t> frame) {
  Request out;
  if (frame.size() < 3) return out;
  const std::size_t body = frame.size() - 2;
  const std::size_t control = 1 + (frame[0] >> 4) + (frame[0] & 0x0F);
  if (body < control + 2) return out;
  if (frame[control] == kLinkControl) {
    out.kind = FrameKind::Link;
    out.code = frame[control + 1];
  } else if (frame[control] == kInfoControl && body >= control + 4) {
    out.kind = FrameKind::Info;
    out.code = frame[control + 3];
  }
  return out;
}

std::size_t ReplyBody(std::uint8_t code, std::span<const std::uint8_t> data,
                      std::span<std::uint8_t> out) {
  const std::size_t n = 5 + data.size();
  if (out.size() < n) return 0;
  out[0] = 0x00;
  out[1] = kInfoControl;
  out[2] = 0x00;
  out[3] = kCommandP0;
  out[4] = code;
  std::copy(data.begin(), data.end(), out.begin() + 5);
  return n;
}

bool ReplyMatches(std::uint8_t command, const Reply& reply) {
  switch (command) {
    case kCmdVersion:
      return reply.code == kReplyVersion && reply.dataLength >= kVersionBytes;
    case kCmdBattery:
      return reply.code == kReplyBattery && reply.dataLength >= kBatteryBytes;
    case kCmdStart:
    case kCmdStop:
      return reply.code == kReplyAck && reply.dataLength >= 1 && reply.data[0] == command;
    default:
      return false;
  }
}

std::optional<float> BatteryVoltage(std::span<const std::uint8_t> d) {
  if (d.size() < kBatteryBytes || d[2] != 10) return std::nullopt;
  const long double raw = d[0] * 256 + d[1];
  const float f1 = static_cast<float>(d[3] + d[4] * 0.01);
  const float f2 = static_cast<float>(d[5] + d[6] * 0.01);
  const long double volts = raw * f1 / 1024.0L * f2;
  return static_cast<float>(volts);
}

void DecodeSample(std::span<const std::uint8_t> d, std::int32_t out[kSampleValues]) {
  out[0] = d[0];
  for (std::size_t i = 1; i < kSampleValues; ++i) out[i] = d[2 * i - 1] * 256 + d[2 * i];
}

}  // namespace sensordrv
