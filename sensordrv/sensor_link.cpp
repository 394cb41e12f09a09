#include "sensor_link.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "messages.h"
#include "thread_priority.h"

namespace sensordrv {

namespace {
void SleepOneMs() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
}  // namespace

void AnswerSlot::Store(const Reply& reply) {
  const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
  sequence_.store(s + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  p0_.store(reply.p0, std::memory_order_relaxed);
  code_.store(reply.code, std::memory_order_relaxed);
  length_.store(static_cast<std::uint16_t>(reply.dataLength), std::memory_order_relaxed);
  for (std::size_t i = 0; i < reply.dataLength; ++i)
    data_[i].store(reply.data[i], std::memory_order_relaxed);
  sequence_.store(s + 2, std::memory_order_release);
}

Reply AnswerSlot::Load(std::uint32_t* number) const {
  Reply r;
  for (;;) {
    const std::uint32_t before = sequence_.load(std::memory_order_acquire);
    if (before & 1) {
      std::this_thread::yield();
      continue;
    }
    r.p0 = p0_.load(std::memory_order_relaxed);
    r.code = code_.load(std::memory_order_relaxed);
    r.dataLength = std::min<std::size_t>(length_.load(std::memory_order_relaxed), Reply::kCapacity);
    for (std::size_t i = 0; i < r.dataLength; ++i)
      r.data[i] = data_[i].load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence_.load(std::memory_order_relaxed) == before) {
      if (number != nullptr) *number = before / 2;
      return r;
    }
  }
}

void DataQueue::Push(const Reply& reply) {
  const std::uint64_t k = written_.load(std::memory_order_relaxed);
  slots_[k % kCapacity].Store(reply);
  written_.store(k + 1, std::memory_order_release);
}

std::optional<Reply> DataQueue::Pop() {
  for (;;) {
    const std::uint64_t written = written_.load(std::memory_order_acquire);
    if (taken_ == written) return std::nullopt;
    if (written - taken_ > kCapacity) {
      overruns_ += static_cast<std::uint32_t>(written - kCapacity - taken_);
      taken_ = written - kCapacity;
    }
    std::uint32_t stores = 0;
    Reply r = slots_[taken_ % kCapacity].Load(&stores);
    // Frame k is the (k / kCapacity + 1)-th store into its slot; a later
    // store means the reader lapped the caller while it was copying.
    if (stores == taken_ / kCapacity + 1) {
      ++taken_;
      return r;
    }
    ++taken_;
    ++overruns_;
  }
}

void DataQueue::Clear() { taken_ = written_.load(std::memory_order_acquire); }

bool SensorLink::SendFrame(std::span<const std::uint8_t> body) {
  std::array<std::uint8_t, EncodedCapacity(8)> wire{};
  if (body.size() > 8) return false;
  const std::size_t n = EncodeFrame(body, wire);
  if (!port_.WriteFrame(wire.data(), static_cast<std::uint32_t>(n))) {
    port_.CloseDevice();
    return false;
  }
  return true;
}

std::optional<Reply> SensorLink::Exchange(std::uint8_t command) {
  commandIdle_ = false;
  if (command != kCmdVersion && command != kCmdBattery && command != kCmdStart &&
      command != kCmdStop) {
    commandIdle_ = true;
    return std::nullopt;
  }
  // Cleared before the frame goes out, so a fast reply cannot be missed.
  answerReady_ = false;
  // Frames left from an earlier stream are no part of the new one, nor are
  // its losses.
  if (command == kCmdStart) {
    data_.Clear();
    data_.ResetOverruns();
    streamNumber_.fetch_add(1, std::memory_order_release);
  }
  if (!SendFrame(CommandBody(command))) {
    commandIdle_ = true;
    return std::nullopt;
  }
  std::optional<Reply> result;
  // A measurement frame arriving during the wait does not end it: the stop
  // command is sent while the stream is still running. Only the sleeps count
  // towards the wait, so a fast stream, which raises the ready flag between
  // most of them, cannot shorten it below a second.
  for (int slept = 0; slept < kReplyPolls && !result;) {
    if (answerReady_.exchange(false)) {
      Reply r = answer_.Load();
      if (ReplyMatches(command, r)) result = r;
    } else {
      SleepOneMs();
      ++slept;
    }
  }
  if (!result) {
    Reply r = answer_.Load();  // an older reply of the same kind still counts
    if (ReplyMatches(command, r)) result = r;
  }
  // Frames still queued when the stream stops belong to no later reading.
  if (command == kCmdStop) data_.Clear();
  commandIdle_ = true;
  if (result) ClearKeepAlive();
  return result;
}

std::optional<Reply> SensorLink::WaitData() {
  commandIdle_ = false;
  std::optional<Reply> result;
  for (int i = 0; i < kReplyPolls; ++i) {
    result = data_.Pop();
    if (result) {
      answerReady_ = false;
      break;
    }
    // Another kind of answer ends the wait empty-handed (also the first
    // call after loading, whose ready flag starts raised).
    if (answerReady_.exchange(false) && lastAnswerCode_ != kReplyData) break;
    SleepOneMs();
  }
  commandIdle_ = true;
  return result;
}

bool SensorLink::StartReader() {
  StopReader();
  stopRequested_ = false;
  try {
    reader_ = std::thread(&SensorLink::ReaderThread, this);
  } catch (const std::system_error&) {
    ShowMessage("Поток не запустился!", kCaptionPlain, false);
    return false;
  }
  return true;
}

void SensorLink::StopReader() {
  if (!reader_.joinable()) return;
  stopRequested_ = true;
  if (reader_.get_id() == std::this_thread::get_id()) {
    reader_.detach();  // only from a message sink on the reader itself
    return;
  }
  reader_.join();
}

void SensorLink::ReaderThread() {
  // Threads inherit the creator's priority; the host raises its own thread.
  UseNormalPriority();
  NameThisThread(kReaderThreadName);
  while (!stopRequested_) PollOnce();
}

void SensorLink::PollOnce() {
  if (!portReady_ || !readingEnabled_) {
    SleepOneMs();
    return;
  }
  portReady_ = false;
  std::uint8_t byte = 0;
  std::uint32_t count = 0;
  if (!port_.ReadByte(byte, count)) {
    SleepOneMs();
  } else if (count != 0) {
    PushByte(byte);
  } else if (!KeepAliveTick()) {
    SleepOneMs();
  }
  portReady_ = true;
}

bool SensorLink::KeepAliveTick() {
  if (keepAliveCountdown_ > 0) {
    --keepAliveCountdown_;
    if (answerSeen_.exchange(false)) keepAliveCountdown_ = kKeepAliveIdlePolls;
    return false;
  }
  keepAliveCountdown_ = kKeepAliveIdlePolls;
  SendKeepAlive();
  return true;
}

void SensorLink::SendKeepAlive() {
  SendFrame(LinkBody(kLinkTest));
  if (missedKeepAlives_.fetch_add(1) + 1 > kMaxMissedKeepAlives) {
    missedKeepAlives_ = 0;
    deviceFailed_ = true;
  }
}

void SensorLink::PushByte(std::uint8_t c) {
  FollowStream();
  if (assembler_.PushByte(c)) DispatchFrame();
  if (assembler_.Discarded() != discardedSeen_) {
    discardedSeen_ = assembler_.Discarded();
    PublishLost();
  }
}

void SensorLink::FollowStream() {
  const std::uint32_t stream = streamNumber_.load(std::memory_order_acquire);
  if (stream == followedStream_) return;
  followedStream_ = stream;
  discardedBefore_ = assembler_.Discarded();
  timeline_.Reset();
  PublishLost();
}

void SensorLink::PublishLost() {
  // A damaged frame leaves a gap in the time line as well: the larger count
  // of the two, not their sum.
  const std::uint32_t lost = std::max(assembler_.Discarded() - discardedBefore_, timeline_.Lost());
  lostReport_.store(std::uint64_t{followedStream_} << 32 | lost, std::memory_order_release);
}

std::uint32_t SensorLink::LostFrames() const {
  const std::uint64_t report = lostReport_.load(std::memory_order_acquire);
  const std::uint32_t stream = streamNumber_.load(std::memory_order_relaxed);
  // Until the reader has seen the new stream, nothing of it is lost yet.
  const auto reader = (report >> 32) == stream ? static_cast<std::uint32_t>(report) : 0u;
  return reader + data_.Overruns();
}

void SensorLink::DispatchFrame() {
  const DecodedFrame frame = DecodeFrame(assembler_.Frame());
  if (frame.kind == FrameKind::Info) OnInfoFrame(frame.reply);
  if (frame.kind == FrameKind::Link) OnLinkFrame(frame.linkCode);
  assembler_.Release();
}

void SensorLink::OnInfoFrame(const Reply& reply) {
  if (reply.code == kReplyData) {
    if (reply.dataLength >= kDataBytes) {
      data_.Push(reply);
      std::int32_t values[kSampleValues];
      DecodeSample(reply.Data(), values);
      const std::chrono::duration<double> now = std::chrono::steady_clock::now().time_since_epoch();
      timeline_.Add(now.count(), FrameSeconds(values));
      PublishLost();
    }
  } else {
    answer_.Store(reply);
  }
  lastAnswerCode_ = reply.code;
  // Code 3 replies take the slot but wake nobody.
  if (reply.code == kReplySilent) return;
  answerSeen_ = true;
  answerReady_ = true;
}

void SensorLink::OnLinkFrame(std::uint8_t linkCode) {
  if (linkCode == kLinkAck) ClearKeepAlive();
}

}  // namespace sensordrv
