#pragma once
// The device object: the sensor's protocol over UsbPort, with a reader
// thread that reassembles frames, answers nothing itself, keeps the link
// alive with link tests, and hands replies to the caller's thread.
//
// The caller's thread and the reader share only atomics: the flags below and
// the answer slot (a sequence-checked copy, so a reply is never read torn
// while a newer frame is being stored) and the measurement-frame queue. StopReader asks the reader
// to end and waits for it, so a new reader never runs beside an old one.

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <thread>

#include "protocol.h"
#include "stream_timeline.h"
#include "usb_port.h"

namespace sensordrv {

// The latest information frame, written by the reader thread only.
class AnswerSlot {
 public:
  void Store(const Reply& reply);
  // A consistent copy and its store number (0 before the first store).
  Reply Load(std::uint32_t* number = nullptr) const;

 private:
  std::atomic<std::uint32_t> sequence_{0};  // odd while a store is in progress
  std::atomic<std::uint8_t> p0_{0};
  std::atomic<std::uint8_t> code_{0};
  std::atomic<std::uint16_t> length_{0};
  std::array<std::atomic<std::uint8_t>, Reply::kCapacity> data_{};
};

// Measurement frames not yet taken by the caller, oldest first. The reader
// pushes; the caller pops. When the caller falls more than kCapacity frames
// behind, the oldest are overwritten and skipped.
class DataQueue {
 public:
  static constexpr std::size_t kCapacity = 16;
  void Push(const Reply& reply);  // reader thread
  std::optional<Reply> Pop();     // caller's thread
  void Clear();                   // caller's thread
  // Frames Pop skipped because the reader lapped the caller (caller's thread).
  std::uint32_t Overruns() const { return overruns_; }
  void ResetOverruns() { overruns_ = 0; }

 private:
  std::array<AnswerSlot, kCapacity> slots_;
  std::atomic<std::uint64_t> written_{0};
  std::uint64_t taken_ = 0;     // caller's thread only
  std::uint32_t overruns_ = 0;  // caller's thread only
};

class SensorLink {
 public:
  static constexpr int kReplyPolls = 1000;         // 1 ms each
  static constexpr int kKeepAliveIdlePolls = 100;  // idle polls before a link test
  static constexpr int kMaxMissedKeepAlives = 4;   // the fifth unanswered one fails the device

  explicit SensorLink(UsbPort& port) : port_(port) {}
  ~SensorLink() { StopReader(); }
  SensorLink(const SensorLink&) = delete;
  SensorLink& operator=(const SensorLink&) = delete;

  UsbPort& Port() { return port_; }

  // Caller's thread.
  bool SendFrame(std::span<const std::uint8_t> body);
  // Sends a command (version, battery, start, stop) and waits up to 1000 polls
  // for its reply; after the wait, an older reply of the same kind still in
  // the slot also counts. None for unknown commands, failed sends, no reply.
  std::optional<Reply> Exchange(std::uint8_t command);
  // The oldest measurement frame not yet returned, waiting up to 1000 polls.
  // Frames are queued: a burst (the sensor or the host late by a frame or
  // two) loses nothing.
  std::optional<Reply> WaitData();
  // Starts the reader thread (stopping a running one first). False and a
  // message when the thread cannot be created.
  bool StartReader();
  void StopReader();
  bool ReaderRunning() const { return reader_.joinable(); }

  void SetPortReady() { portReady_ = true; }
  void SetReadingEnabled(bool on) { readingEnabled_ = on; }
  bool CommandIdle() const { return commandIdle_; }
  bool DeviceFailed() const { return deviceFailed_; }
  std::uint8_t MissedKeepAlives() const { return missedKeepAlives_; }
  // Measurement frames lost since the last start command: damaged on the
  // line, missing from the stream's time line, or overrun in the queue.
  // Caller's thread.
  std::uint32_t LostFrames() const;

  // Reader-thread steps, public for tests that drive them without a thread.
  void PollOnce();
  bool KeepAliveTick();
  void SendKeepAlive();
  void PushByte(std::uint8_t c);

 private:
  void ReaderThread();
  void DispatchFrame();
  void OnInfoFrame(const Reply& reply);
  void OnLinkFrame(std::uint8_t linkCode);
  // Reader thread: starts the counts afresh when a new stream was started,
  // and publishes them.
  void FollowStream();
  void PublishLost();
  void ClearKeepAlive() {
    missedKeepAlives_ = 0;
    deviceFailed_ = false;
  }

  UsbPort& port_;
  // Reader thread only.
  FrameAssembler assembler_;
  int keepAliveCountdown_ = kKeepAliveIdlePolls;
  std::uint32_t followedStream_ = 0;
  std::uint32_t discardedBefore_ = 0;  // the assembler's count when the stream began
  std::uint32_t discardedSeen_ = 0;
  StreamTimeline timeline_;
  // Shared.
  // Replies other than measurement frames: at high frame rates the stream
  // would overwrite an acknowledgement before the caller copied it.
  AnswerSlot answer_;
  DataQueue data_;
  std::atomic<std::uint8_t> lastAnswerCode_{0};  // of the newest information frame
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> readingEnabled_{false};
  std::atomic<bool> portReady_{false};
  std::atomic<std::uint8_t> missedKeepAlives_{0};
  std::atomic<bool> answerSeen_{false};
  std::atomic<bool> answerReady_{true};
  std::atomic<bool> commandIdle_{true};
  std::atomic<bool> deviceFailed_{false};
  // Bumped by the caller at each start command; the reader's counts for
  // stream s are published as s << 32 | lost.
  std::atomic<std::uint32_t> streamNumber_{0};
  std::atomic<std::uint64_t> lostReport_{0};
  std::thread reader_;
};

}  // namespace sensordrv
