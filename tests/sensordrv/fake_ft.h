#pragma once
// A stand-in for the D2XX-compatible calls: every call is logged, any status
// can be forced, and bytes written may be answered by a simulated sensor
// whose replies are then read back one by one. Function pointers cannot
// carry state, so the fake is one object per test process, reset per test.

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ft_api.h"
#include "sim_device.h"

struct FakeFt {
  std::mutex mutex;
  std::vector<std::string> calls;
  std::map<std::string, FT_STATUS> failures;  // call name -> forced status
  DWORD txQueue = 0;
  std::vector<std::vector<std::uint8_t>> writes;
  std::deque<std::uint8_t> rx;
  std::unique_ptr<sensorsim::SignalSource> signal;
  std::unique_ptr<sensorsim::SimDevice> sensor;  // answers writes when set
  int nextHandle = 1;

  static FakeFt& Get() {
    static FakeFt fake;
    return fake;
  }
  void Reset() {
    std::lock_guard lock(mutex);
    calls.clear();
    failures.clear();
    txQueue = 0;
    writes.clear();
    rx.clear();
    sensor.reset();
    signal.reset();
  }
  void AttachSensor(const sensorsim::SimConfig& config) {
    std::lock_guard lock(mutex);
    signal = sensorsim::MakeSignalSource(config);
    sensor = std::make_unique<sensorsim::SimDevice>(config, *signal);
  }
  // Queues wire bytes as if the sensor had sent them.
  void Inject(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(mutex);
    rx.insert(rx.end(), bytes.begin(), bytes.end());
  }
  // Wire bytes not yet read.
  std::size_t RxSize() {
    std::lock_guard lock(mutex);
    return rx.size();
  }
  std::vector<std::string> Calls() {
    std::lock_guard lock(mutex);
    return calls;
  }
  FT_STATUS Log(const char* name, FT_HANDLE h = reinterpret_cast<FT_HANDLE>(1),
                bool needsHandle = true) {
    std::lock_guard lock(mutex);
    calls.emplace_back(name);
    auto it = failures.find(name);
    if (it != failures.end()) return it->second;
    return (needsHandle && h == nullptr) ? FT_INVALID_HANDLE : FT_OK;
  }

  static FtFunctions Functions() {
    FtFunctions f;
    f.ListDevices = [](void*, void* count, DWORD) {
      if (count) *static_cast<DWORD*>(count) = 0;
      return Get().Log("ListDevices", nullptr, false);
    };
    f.Open = [](int, FT_HANDLE* h) {
      const FT_STATUS s = Get().Log("Open", nullptr, false);
      *h = s == FT_OK ? reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(Get().nextHandle++))
                      : nullptr;
      return s;
    };
    f.Close = [](FT_HANDLE h) { return Get().Log("Close", h); };
    f.Read = [](FT_HANDLE h, void* buf, DWORD, LPDWORD got) {
      *got = 0;
      const FT_STATUS s = Get().Log("Read", h);
      std::lock_guard lock(Get().mutex);
      Get().calls.pop_back();  // reads are too many to log
      if (s == FT_OK && !Get().rx.empty()) {
        *static_cast<std::uint8_t*>(buf) = Get().rx.front();
        Get().rx.pop_front();
        *got = 1;
      }
      return s;
    };
    f.Write = [](FT_HANDLE h, void* buf, DWORD n, LPDWORD written) {
      const FT_STATUS s = Get().Log("Write", h);
      if (s != FT_OK) return s;
      const auto* bytes = static_cast<const std::uint8_t*>(buf);
      std::lock_guard lock(Get().mutex);
      Get().writes.emplace_back(bytes, bytes + n);
      if (Get().sensor) {
        std::vector<std::uint8_t> reply;
        Get().sensor->Receive(bytes, n, reply);
        Get().rx.insert(Get().rx.end(), reply.begin(), reply.end());
      }
      *written = n;
      return s;
    };
    f.SetDataCharacteristics = [](FT_HANDLE h, UCHAR, UCHAR, UCHAR) {
      return Get().Log("SetDataCharacteristics", h);
    };
    f.SetDtr = [](FT_HANDLE h) { return Get().Log("SetDtr", h); };
    f.ClrDtr = [](FT_HANDLE h) { return Get().Log("ClrDtr", h); };
    f.Purge = [](FT_HANDLE h, DWORD) { return Get().Log("Purge", h); };
    f.SetTimeouts = [](FT_HANDLE h, DWORD, DWORD) { return Get().Log("SetTimeouts", h); };
    f.GetStatus = [](FT_HANDLE h, DWORD* rx, DWORD* tx, DWORD* ev) {
      const FT_STATUS s = Get().Log("GetStatus", h);
      std::lock_guard lock(Get().mutex);
      Get().calls.pop_back();
      *rx = static_cast<DWORD>(Get().rx.size());
      *tx = Get().txQueue;
      *ev = 0;
      return s;
    };
    f.SetDivisor = [](FT_HANDLE h, USHORT) { return Get().Log("SetDivisor", h); };
    f.SetBitMode = [](FT_HANDLE h, UCHAR, UCHAR) { return Get().Log("SetBitMode", h); };
    f.SetUSBParameters = [](FT_HANDLE h, DWORD, DWORD) { return Get().Log("SetUSBParameters", h); };
    return f;
  }
};

// Captures the library's messages in order.
struct MessageCapture {
  struct Message {
    std::string text, caption;
    int isError;
  };
  std::mutex mutex;
  std::vector<Message> messages;
  static void Sink(const char* text, const char* caption, int isError, void* context) {
    auto* self = static_cast<MessageCapture*>(context);
    std::lock_guard lock(self->mutex);
    self->messages.push_back({text, caption, isError});
  }
  std::vector<std::string> Texts() {
    std::lock_guard lock(mutex);
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }
};
