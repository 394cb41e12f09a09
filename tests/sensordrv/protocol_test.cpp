// Byte-string tests of the sensor protocol: wire images, CRC, escaping and
// the receiving state machine fed in chunks of every size.

#include "protocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace sensordrv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(std::span<const std::uint8_t> body) {
  Bytes out(EncodedCapacity(body.size()));
  out.resize(EncodeFrame(body, out));
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Feeds the stream in chunks of the given size, releasing every held frame
// at once, as the reader thread does.
std::vector<Bytes> CollectFrames(const Bytes& stream, std::size_t chunk) {
  FrameAssembler asm_;
  std::vector<Bytes> frames;
  for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
    const std::size_t end = std::min(stream.size(), pos + chunk);
    for (std::size_t i = pos; i < end; ++i) {
      if (asm_.PushByte(stream[i])) {
        frames.emplace_back(asm_.Frame().begin(), asm_.Frame().end());
        asm_.Release();
      }
    }
  }
  return frames;
}

// Every chunk size from 1 to the whole stream must give the same frames.
void ExpectFramesAtEveryChunkSize(const Bytes& stream, const std::vector<Bytes>& bodies) {
  for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
    const auto frames = CollectFrames(stream, chunk);
    ASSERT_EQ(frames.size(), bodies.size()) << "chunk " << chunk;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
      const Bytes body(frames[i].begin(), frames[i].end() - 2);
      EXPECT_EQ(body, bodies[i]) << "chunk " << chunk << " frame " << i;
    }
  }
}

Bytes InfoBody(std::uint8_t code, Bytes data, std::uint8_t header = 0x00, Bytes addresses = {}) {
  Bytes body{header};
  body.insert(body.end(), addresses.begin(), addresses.end());
  body.insert(body.end(), {kInfoControl, 0x00, 0x04, code});
  body.insert(body.end(), data.begin(), data.end());
  return body;
}

TEST(FrameCrc, CheckValueAndHostFrames) {
  const Bytes digits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(FrameCrc(digits), 0x4B37);
  EXPECT_EQ(FrameCrc(LinkBody(kLinkTest)), 0xA080);
  EXPECT_EQ(FrameCrc(CommandBody(kCmdStart)), 0x1D28);
  EXPECT_EQ(FrameCrc(CommandBody(kCmdStop)), 0xDDE9);
  EXPECT_EQ(FrameCrc(CommandBody(kCmdBattery)), 0x7E28);
}

TEST(EncodeFrame, HostFramesByteForByte) {
  EXPECT_EQ(Encode(LinkBody(kLinkTest)),
            (Bytes{0x7E, 0x7D, 0x20, 0x42, 0x7D, 0x21, 0xA0, 0x80, 0x7F}));
  EXPECT_EQ(Encode(CommandBody(kCmdStart)),
            (Bytes{0x7E, 0x7D, 0x20, 0x32, 0x7D, 0x30, 0x7D, 0x24, 0x80, 0x7D, 0x3D, 0x28, 0x7F}));
  EXPECT_EQ(Encode(CommandBody(kCmdStop)),
            (Bytes{0x7E, 0x7D, 0x20, 0x32, 0x7D, 0x30, 0x7D, 0x24, 0x81, 0xDD, 0xE9, 0x7F}));
  EXPECT_EQ(Encode(CommandBody(kCmdBattery)), (Bytes{0x7E, 0x7D, 0x20, 0x32, 0x7D, 0x30, 0x7D, 0x24,
                                                     0x7D, 0x24, 0x7D, 0x5E, 0x28, 0x7F}));
}

TEST(EncodeFrame, EscapesExactlyTheReservedBytesAndRefusesSmallBuffers) {
  for (int b = 0; b < 256; ++b) {
    const bool reserved = b < 0x20 || b == 0x7D || b == 0x7E || b == 0x7F || b == 0xFF;
    EXPECT_EQ(NeedsEscape(static_cast<std::uint8_t>(b)), reserved) << b;
  }
  const Bytes body{0xFF, 0x7E, 0x41};
  const Bytes wire = Encode(body);
  ASSERT_GE(wire.size(), 7u);
  EXPECT_EQ((Bytes{wire[1], wire[2], wire[3], wire[4], wire[5]}),
            (Bytes{0x7D, 0xDF, 0x7D, 0x5E, 0x41}));
  std::array<std::uint8_t, 4> tiny{};
  EXPECT_EQ(EncodeFrame(body, tiny), 0u);
  // Round trip of every byte value through the assembler.
  Bytes all(256);
  for (int b = 0; b < 256; ++b) all[b] = static_cast<std::uint8_t>(b);
  all[0] = 0x00;                                  // header without addresses
  ExpectFramesAtEveryChunkSize(Encode(all), {});  // 258 bytes with CRC: longer than the buffer
  const Bytes shortAll(all.begin(), all.begin() + 200);
  ExpectFramesAtEveryChunkSize(Encode(shortAll), {shortAll});
}

TEST(FrameAssembler, SplitGarbageGluedAndBrokenFrames) {
  const Bytes ack = InfoBody(kReplyAck, {0x80});
  const Bytes battery = InfoBody(kReplyBattery, {0x03, 0x00, 0x0A, 0x02, 0x32, 0x04, 0x00});
  const auto linkBody = LinkBody(kLinkAck);
  const Bytes link(linkBody.begin(), linkBody.end());
  // Garbage before, two frames glued, a link frame after.
  ExpectFramesAtEveryChunkSize(
      Concat({{0x11, 0x7D, 0x22, 0x7F, 0x33}, Encode(ack), Encode(battery), Encode(link)}),
      {ack, battery, link});
  // A flipped CRC byte loses that frame only; the next start byte resynchronises.
  Bytes flipped = Encode(ack);
  flipped[flipped.size() - 2] ^= 0x01;
  ExpectFramesAtEveryChunkSize(Concat({flipped, Encode(battery)}), {battery});
  // A truncated tail yields nothing.
  Bytes truncated = Encode(battery);
  truncated.resize(truncated.size() - 3);
  ExpectFramesAtEveryChunkSize(truncated, {});
  // Frames shorter than a CRC are ignored.
  ExpectFramesAtEveryChunkSize({0x7E, 0x7F, 0x7E, 0x41, 0x7F}, {});
}

// Frames thrown away are counted once each, so a lost measurement frame is
// never silent; frames for another receiver and empty ones are not losses.
TEST(FrameAssembler, CountsEachDiscardedFrame) {
  const Bytes ack = InfoBody(kReplyAck, {0x80});
  Bytes badCrc = Encode(ack);
  badCrc[badCrc.size() - 2] ^= 0x01;
  Bytes cutShort = Encode(ack);
  cutShort.resize(cutShort.size() - 3);
  while (cutShort.back() == kEscape) cutShort.pop_back();  // an escape would take the next start
  Bytes noEnd = Encode(ack);
  noEnd.pop_back();
  const Bytes otherReceiver = Encode(InfoBody(kReplyAck, {0x80}, 0x10, {0x05}));
  struct Case {
    const char* name;
    Bytes stream;
    std::uint32_t discarded;
    std::size_t frames;
  };
  const Case cases[] = {
      {"good frames", Concat({Encode(ack), Encode(ack)}), 0, 2},
      {"a bad CRC", Concat({Encode(ack), badCrc, Encode(ack)}), 1, 2},
      {"cut short by the next start", Concat({cutShort, Encode(ack)}), 1, 1},
      {"end byte lost", Concat({noEnd, Encode(ack)}), 1, 1},
      {"three bad in a row", Concat({badCrc, badCrc, badCrc}), 3, 0},
      {"another receiver's frame", Concat({otherReceiver, Encode(ack)}), 0, 1},
      {"empty frames", {0x7E, 0x7E, 0x7F, 0x7E}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrameAssembler a;
    std::size_t frames = 0;
    for (std::uint8_t b : c.stream) {
      if (a.PushByte(b)) {
        ++frames;
        a.Release();
      }
    }
    EXPECT_EQ(a.Discarded(), c.discarded);
    EXPECT_EQ(frames, c.frames);
  }
}

TEST(FrameAssembler, EscapedStartIsDataButBareStartRestarts) {
  const Bytes body = InfoBody(kReplyVersion, {0x7E, 0x01, 0x02, 0x03});
  const Bytes wire = Encode(body);
  // The escaped 0x7E shows up as 7D 5E inside the frame.
  const Bytes escaped{0x7D, 0x5E};
  EXPECT_NE(std::search(wire.begin(), wire.end(), escaped.begin(), escaped.end()), wire.end());
  ExpectFramesAtEveryChunkSize(wire, {body});
  // A bare start byte in the middle throws away what came before it.
  const Bytes restarted = Concat({{0x7E, 0x20, 0x32, 0x41}, wire});
  ExpectFramesAtEveryChunkSize(restarted, {body});
}

TEST(FrameAssembler, HeaderRule) {
  for (int h = 0; h < 256; ++h) {
    const int hi = h >> 4, lo = h & 0x0F;
    EXPECT_EQ(HeaderAccepted(static_cast<std::uint8_t>(h)),
              (hi == 0 && lo == 0) || (hi == 1 && lo != 0))
        << h;
  }
  const Bytes h10 = InfoBody(kReplyAck, {0x80}, 0x10, {0x05});
  const Bytes h11 = InfoBody(kReplyAck, {0x80}, 0x11, {0x05, 0x06});
  const Bytes h00 = InfoBody(kReplyAck, {0x80});
  ExpectFramesAtEveryChunkSize(Concat({Encode(h10), Encode(h11), Encode(h00)}), {h11, h00});
}

TEST(FrameAssembler, HeldFrameDropsBytesUntilReleased) {
  FrameAssembler a;
  const Bytes first = Encode(LinkBody(kLinkAck));
  const Bytes second = Encode(LinkBody(kLinkTest));
  for (std::uint8_t b : first) a.PushByte(b);
  ASSERT_TRUE(a.Holding());
  for (std::uint8_t b : second) EXPECT_FALSE(a.PushByte(b));
  EXPECT_EQ(a.Frame()[2], kLinkAck);
  a.Release();
  EXPECT_FALSE(a.Holding());
}

TEST(FrameAssembler, OverlongFrameKeepsFirst250BytesAndChecksCrcThere) {
  // 260 body bytes: everything after byte 250 is dropped, and the CRC is taken
  // over the first 248 against bytes 249 and 250.
  Bytes body(260, 0x41);
  body[0] = 0x00;
  body[1] = kInfoControl;
  const std::uint16_t crc = FrameCrc({body.data(), 248});
  body[248] = static_cast<std::uint8_t>(crc >> 8);
  body[249] = static_cast<std::uint8_t>(crc & 0xFF);
  Bytes wire{kFrameStart};
  for (std::uint8_t b : body) {
    if (NeedsEscape(b)) {
      wire.push_back(kEscape);
      wire.push_back(b ^ 0x20);
    } else {
      wire.push_back(b);
    }
  }
  wire.push_back(0x11);  // whatever trailing bytes: dropped
  wire.push_back(kFrameEnd);
  const auto frames = CollectFrames(wire, wire.size());
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].size(), kRxCapacity);
  // Too long for an information frame: decoded as nothing.
  EXPECT_EQ(DecodeFrame(frames[0]).kind, FrameKind::Ignored);
  // The same overlong frame with its CRC at the real end is lost.
  ExpectFramesAtEveryChunkSize(Encode(Bytes(260, 0x00)), {});
}

DecodedFrame DecodeBody(const Bytes& body) {
  Bytes frame = body;
  const std::uint16_t crc = FrameCrc(body);
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  return DecodeFrame(frame);
}

TEST(DecodeFrame, KindsFlagsAddressesAndLengths) {
  const auto linkBody = LinkBody(kLinkAck);
  const auto link = DecodeBody(Bytes(linkBody.begin(), linkBody.end()));
  EXPECT_EQ(link.kind, FrameKind::Link);
  EXPECT_EQ(link.linkCode, kLinkAck);

  const auto addressed = DecodeBody(InfoBody(kReplyVersion, {1, 2, 3, 4}, 0x12, {9, 8, 7}));
  ASSERT_EQ(addressed.kind, FrameKind::Info);
  EXPECT_EQ(addressed.reply.code, kReplyVersion);
  EXPECT_EQ(Bytes(addressed.reply.Data().begin(), addressed.reply.Data().end()),
            (Bytes{1, 2, 3, 4}));

  Bytes flagged = InfoBody(kReplyAck, {0x80});
  flagged[2] = 0x10;  // the host's own command flags: not an answer
  EXPECT_EQ(DecodeBody(flagged).kind, FrameKind::Ignored);
  flagged[2] = 0x20;
  EXPECT_EQ(DecodeBody(flagged).kind, FrameKind::Ignored);
  flagged[2] = 0xC0;
  EXPECT_EQ(DecodeBody(flagged).kind, FrameKind::Info);

  EXPECT_EQ(DecodeBody({0x00, 0x55, 0x01}).kind, FrameKind::Ignored);          // other control byte
  EXPECT_EQ(DecodeBody({0x00, kInfoControl, 0x00}).kind, FrameKind::Ignored);  // cut short
  EXPECT_EQ(DecodeBody({0x11, 0x01}).kind, FrameKind::Ignored);  // addresses run past the end
  // 200 body bytes + CRC = 202: still an answer; 201 + CRC = 203: ignored.
  EXPECT_EQ(DecodeBody(InfoBody(kReplyData, Bytes(195, 1))).kind, FrameKind::Info);
  EXPECT_EQ(DecodeBody(InfoBody(kReplyData, Bytes(196, 1))).kind, FrameKind::Ignored);
}

TEST(ReplyMatches, CodesEchoesAndLengths) {
  Reply r;
  r.code = kReplyAck;
  r.data[0] = kCmdStart;
  r.dataLength = 1;
  EXPECT_TRUE(ReplyMatches(kCmdStart, r));
  EXPECT_FALSE(ReplyMatches(kCmdStop, r));
  r.data[0] = kCmdStop;
  EXPECT_TRUE(ReplyMatches(kCmdStop, r));
  r.code = kReplyBattery;
  r.dataLength = 6;
  EXPECT_FALSE(ReplyMatches(kCmdBattery, r));  // short battery reply: stale bytes would be read
  r.dataLength = 7;
  EXPECT_TRUE(ReplyMatches(kCmdBattery, r));
  EXPECT_FALSE(ReplyMatches(kCmdVersion, r));
  EXPECT_FALSE(ReplyMatches(0x05, r));
}

TEST(BatteryVoltage, FormulaAndBitCount) {
  const Bytes ok{0x03, 0x00, 0x0A, 0x02, 0x32, 0x04, 0x00};
  ASSERT_TRUE(BatteryVoltage(ok).has_value());
  EXPECT_EQ(*BatteryVoltage(ok), 7.5f);
  Bytes twelveBits = ok;
  twelveBits[2] = 0x0C;
  EXPECT_FALSE(BatteryVoltage(twelveBits).has_value());
  // 9 V as the simulator encodes it: raw 2304 × 1.00 × 4.00 / 1024.
  EXPECT_EQ(*BatteryVoltage(Bytes{0x09, 0x00, 0x0A, 0x01, 0x00, 0x04, 0x00}), 9.0f);
}

TEST(DecodeSample, StatusAndBigEndianPairs) {
  Bytes d(kDataBytes);
  d[0] = 0xAB;
  for (std::size_t i = 1; i < kDataBytes; ++i) d[i] = static_cast<std::uint8_t>(i * 17);
  std::int32_t v[kSampleValues];
  DecodeSample(d, v);
  EXPECT_EQ(v[0], 0xAB);
  for (std::size_t i = 1; i < kSampleValues; ++i) EXPECT_EQ(v[i], d[2 * i - 1] * 256 + d[2 * i]);
  d[1] = 0xFF;
  d[2] = 0xFF;
  DecodeSample(d, v);
  EXPECT_EQ(v[1], 65535);  // unsigned, never negative
}

}  // namespace
}  // namespace sensordrv
