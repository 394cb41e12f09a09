#pragma once
// The sensor's framed serial protocol: CRC, escaping, frame bodies, the
// receiving state machine and the decoding of replies. Pure code: no I/O,
// no clocks, no threads; the device library and the simulator share it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace sensordrv {

inline constexpr std::uint8_t kFrameStart = 0x7E;
inline constexpr std::uint8_t kFrameEnd = 0x7F;
inline constexpr std::uint8_t kEscape = 0x7D;

inline constexpr std::uint8_t kInfoControl = 0x32;
inline constexpr std::uint8_t kLinkControl = 0x42;
inline constexpr std::uint8_t kLinkTest = 1;
inline constexpr std::uint8_t kLinkAck = 2;

inline constexpr std::uint8_t kCommandFlags = 0x10;
inline constexpr std::uint8_t kCommandP0 = 0x04;

inline constexpr std::uint8_t kCmdVersion = 0x02;
inline constexpr std::uint8_t kCmdBattery = 0x04;
inline constexpr std::uint8_t kCmdStart = 0x80;
inline constexpr std::uint8_t kCmdStop = 0x81;

inline constexpr std::uint8_t kReplyAck = 0x04;
inline constexpr std::uint8_t kReplyVersion = 0x10;
inline constexpr std::uint8_t kReplyData = 0x11;
inline constexpr std::uint8_t kReplyBattery = 0x12;
// Replies with this code land in the answer buffer but never signal a caller.
inline constexpr std::uint8_t kReplySilent = 0x03;

inline constexpr std::size_t kVersionBytes = 4;
inline constexpr std::size_t kBatteryBytes = 7;
inline constexpr std::size_t kDataBytes = 21;  // status byte + ten 16-bit values
inline constexpr std::size_t kSampleValues = 11;

// Receive buffer: body and CRC of one frame; longer frames are cut here.
inline constexpr std::size_t kRxCapacity = 250;
// Information frames of this many received bytes (body + CRC) or more are ignored.
inline constexpr std::size_t kMaxInfoFrame = 203;
// Largest wire image of a body of n bytes: start, every body and CRC byte escaped, end.
constexpr std::size_t EncodedCapacity(std::size_t bodyLength) { return 2 + 2 * (bodyLength + 2); }

// CRC-16 with the MODBUS parameters (reflected 0xA001, start 0xFFFF, no final XOR).
std::uint16_t FrameCrc(std::span<const std::uint8_t> bytes);

// True for the bytes that travel as kEscape, byte ^ 0x20.
constexpr bool NeedsEscape(std::uint8_t b) {
  return b < 0x20 || b == kEscape || b == kFrameStart || b == kFrameEnd || b == 0xFF;
}

// Wire image of one frame: start byte, escaped body, escaped CRC (high byte
// first), end byte. Writes into out and returns the count, or 0 when out is
// smaller than EncodedCapacity(body.size()).
std::size_t EncodeFrame(std::span<const std::uint8_t> body, std::span<std::uint8_t> out);

// Request bodies the host sends (no addresses).
std::array<std::uint8_t, 5> CommandBody(std::uint8_t command);
std::array<std::uint8_t, 3> LinkBody(std::uint8_t linkCode);

// Header rule: no addresses, or a one-byte first address with a second one.
constexpr bool HeaderAccepted(std::uint8_t header) {
  const int hi = header >> 4, lo = header & 0x0F;
  return (hi == 0 && lo == 0) || (hi == 1 && lo != 0);
}

// Receiving state machine. Bytes go in one at a time; once a frame with a
// good CRC and an accepted header has ended, the assembler holds it (further
// bytes are dropped) until Release().
class FrameAssembler {
 public:
  // Takes one wire byte. True when this byte completed a frame that is now held.
  bool PushByte(std::uint8_t c);
  bool Holding() const { return !receiving_; }
  // The held frame: body followed by its two CRC bytes.
  std::span<const std::uint8_t> Frame() const { return {buffer_.data(), length_}; }
  void Release() { receiving_ = true; }
  // Frames thrown away so far: bytes that ended at a bad CRC, or that a new
  // start byte cut off before their end. A frame with a good CRC but a
  // header for another receiver is not counted; nor is an empty one.
  std::uint32_t Discarded() const { return discarded_; }

 private:
  void Append(std::uint8_t c) {
    if (length_ < kRxCapacity) buffer_[length_++] = c;
    unfinished_ = true;
  }
  void EndOfFrame();
  void Discard() {
    if (unfinished_) ++discarded_;
    unfinished_ = false;
  }

  std::array<std::uint8_t, kRxCapacity> buffer_{};
  std::size_t length_ = 0;
  bool receiving_ = true;
  bool escapePending_ = false;
  bool unfinished_ = false;  // bytes taken since the last frame boundary
  std::uint32_t discarded_ = 0;
};

// The reply part of an information frame, addresses stripped.
struct Reply {
  static constexpr std::size_t kCapacity = kMaxInfoFrame;
  std::uint8_t p0 = 0;
  std::uint8_t code = 0;
  std::array<std::uint8_t, kCapacity> data{};
  std::size_t dataLength = 0;  // reply data bytes, CRC not counted
  std::span<const std::uint8_t> Data() const { return {data.data(), dataLength}; }
};

enum class FrameKind { Ignored, Info, Link };

struct DecodedFrame {
  FrameKind kind = FrameKind::Ignored;
  std::uint8_t linkCode = 0;  // Link frames
  Reply reply;                // Info frames
};

// What a held frame (body + CRC) means to the host: an information frame
// (control 0x32, flags bits 4-5 clear, shorter than kMaxInfoFrame), a link
// frame (control 0x42), or nothing. Frames too short for their own header
// are ignored.
DecodedFrame DecodeFrame(std::span<const std::uint8_t> frame);

// The sensor's side: what a held request frame from the host asks for. The
// host's command frames carry flags 0x10, so they are not answers (DecodeFrame).
struct Request {
  FrameKind kind = FrameKind::Ignored;
  std::uint8_t code = 0;  // command code, or link code for link frames
};
Request DecodeRequest(std::span<const std::uint8_t> frame);

// Body of an information frame as the sensor sends it (no addresses, flags 0).
// Returns the body length written into out, 0 when out is too small.
std::size_t ReplyBody(std::uint8_t code, std::span<const std::uint8_t> data,
                      std::span<std::uint8_t> out);

// Whether a reply completes the command: the reply code, for start and stop
// also the echoed command in data byte 0, and enough data bytes.
bool ReplyMatches(std::uint8_t command, const Reply& reply);

// Battery voltage from the 7 reply bytes: raw × f1 × 2^-10 × f2, only when
// the converter reports 10 bits (byte 2).
std::optional<float> BatteryVoltage(std::span<const std::uint8_t> data);

// Measurement frame data (21 bytes) into the 11 sample values: status byte,
// then ten big-endian 16-bit values.
void DecodeSample(std::span<const std::uint8_t> data, std::int32_t out[kSampleValues]);

}  // namespace sensordrv
