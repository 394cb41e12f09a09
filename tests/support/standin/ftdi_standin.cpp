// The stand-in chip: libftdi1's functions as the device library uses them,
// with libftdi's own read buffer kept in the context as libftdi keeps it
// (readbuffer, readbuffer_offset, readbuffer_remaining), so code that looks
// there sees what it would see on a real chip.

#include "ftdi_standin.h"

#include <libftdi1/ftdi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "protocol.h"
#include "pulse_model.h"
#include "sim_device.h"

#define STANDIN_EXPORT __attribute__((visibility("default")))

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// libusb's and libftdi's error codes, as a real bus gives them.
constexpr int kNoDevice = -4;                    // LIBUSB_ERROR_NO_DEVICE
constexpr int kTimeout = -7;                     // LIBUSB_ERROR_TIMEOUT
constexpr int kUnavailable = -666;               // libftdi: no USB device open
constexpr int kControlFailed = -1;               // a refused control request
constexpr double kWireBytesPerSecond = 25000.0;  // 250000 baud, 10 bits a byte
constexpr std::size_t kSensorBacklog = 4096;     // the sensor's own output buffer
constexpr unsigned kPacketSize = 64;

// The one chip on the stand-in bus and the sensor behind it.
class Chip {
 public:
  void Plug(const FtdiStandinOptions& options) {
    std::lock_guard lock(mutex_);
    options_ = options;
    config_ = sensorsim::SimConfig{};
    config_.rate = options.rate;
    signal_ = sensorsim::MakeSignalSource(config_);
    sensor_ = std::make_unique<sensorsim::SimDevice>(config_, *signal_);
    assembler_ = sensordrv::FrameAssembler{};
    hostFrame_.clear();
    sensorOut_.clear();
    fifo_.clear();
    stats_ = FtdiStandinStats{};
    streaming_ = false;
    lastPump_ = Clock::now();
    wireCredit_ = 0.0;
    attached_ = true;
  }
  void Unplug() {
    std::lock_guard lock(mutex_);
    attached_ = false;
  }
  bool Attached() {
    std::lock_guard lock(mutex_);
    return attached_;
  }
  FtdiStandinStats Stats() {
    std::lock_guard lock(mutex_);
    return stats_;
  }

  // One control transfer: it takes its time whether or not it succeeds.
  int Control(bool isPurge = false, bool flushFifo = false) {
    int result = 0;
    std::chrono::microseconds cost{0};
    {
      std::lock_guard lock(mutex_);
      ++stats_.controlTransfers;
      cost = std::chrono::microseconds(options_.controlUs);
      if (!attached_) {
        result = kNoDevice;
      } else if (isPurge && options_.failPurge) {
        result = kControlFailed;
      } else if (flushFifo) {
        fifo_.clear();
      }
    }
    std::this_thread::sleep_for(cost);
    return result;
  }
  int PollModem(unsigned short* status) {
    {
      std::lock_guard lock(mutex_);
      ++stats_.modemPolls;
    }
    const int rc = Control();
    if (rc == 0) *status = 0x6001;  // CTS, DSR, empty transmitter
    return rc;
  }

  int Write(const unsigned char* data, int size) {
    std::lock_guard lock(mutex_);
    if (!attached_) return kNoDevice;
    Pump(Clock::now());
    for (int i = 0; i < size; ++i) {
      const std::uint8_t c = data[i];
      if (c == sensordrv::kFrameStart) hostFrame_.clear();
      hostFrame_.push_back(c);
      if (!assembler_.PushByte(c)) continue;
      const sensordrv::Request request = sensordrv::DecodeRequest(assembler_.Frame());
      assembler_.Release();
      Deliver(request);
      hostFrame_.clear();
    }
    return size;
  }

  // One bulk read into the context's buffer: whatever the chip holds, else
  // whatever arrives within the read time-out, else the time-out error.
  int BulkRead(ftdi_context* ftdi) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ftdi->usb_read_timeout);
    {
      std::lock_guard lock(mutex_);
      ++stats_.bulkReads;
    }
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (!attached_) return kNoDevice;
        const auto now = Clock::now();
        Pump(now);
        if (!fifo_.empty()) return TakeFifo(ftdi);
        if (now >= deadline) return kTimeout;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }

 private:
  void Deliver(const sensordrv::Request& request) {
    using namespace sensordrv;
    if (request.kind == FrameKind::Info && request.code == kCmdBattery &&
        options_.batteryBits != 10 && !sensor_->Silent()) {
      // 7.5 V as the sensor would report it, but with another converter width.
      const std::uint8_t data[kBatteryBytes] = {
          0x03, 0x00, static_cast<std::uint8_t>(options_.batteryBits), 0x02, 0x32, 0x04, 0x00};
      std::array<std::uint8_t, 64> body{};
      const std::size_t n = ReplyBody(kReplyBattery, data, body);
      std::array<std::uint8_t, EncodedCapacity(64)> wire{};
      const std::size_t m = EncodeFrame({body.data(), n}, wire);
      sensorOut_.insert(sensorOut_.end(), wire.begin(), wire.begin() + static_cast<long>(m));
      return;
    }
    SensorReceive(hostFrame_);
  }
  void SensorReceive(const Bytes& frame) {
    Bytes out;
    sensor_->Receive(frame.data(), frame.size(), out);
    SensorSend(out);
  }
  void SensorSend(const Bytes& out) {
    for (std::uint8_t b : out) {
      if (sensorOut_.size() < kSensorBacklog) {
        sensorOut_.push_back(b);
      } else {
        ++stats_.droppedBytes;
      }
    }
  }
  // Brings the sensor and the wire up to the given moment.
  void Pump(Clock::time_point now) {
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(sensor_->FramePeriod()));
    if (sensor_->Streaming() && !streaming_) nextFrame_ = now + period;
    streaming_ = sensor_->Streaming();
    for (; streaming_ && nextFrame_ <= now; nextFrame_ += period) {
      Bytes frame;
      sensor_->NextFrame(frame);
      SensorSend(frame);
    }
    std::size_t n = sensorOut_.size();
    if (options_.wireLimited) {
      wireCredit_ += std::chrono::duration<double>(now - lastPump_).count() * kWireBytesPerSecond;
      n = std::min(n, static_cast<std::size_t>(wireCredit_));
      wireCredit_ -= static_cast<double>(n);
      // An idle line does not bank time for a later burst.
      if (sensorOut_.size() == n) wireCredit_ = std::min(wireCredit_, 1.0);
    }
    lastPump_ = now;
    for (std::size_t i = 0; i < n; ++i) {
      if (fifo_.size() < static_cast<std::size_t>(options_.fifoBytes)) {
        fifo_.push_back(sensorOut_.front());
      } else {
        ++stats_.droppedBytes;
      }
      sensorOut_.pop_front();
    }
  }
  int TakeFifo(ftdi_context* ftdi) {
    // Each 64-byte packet carries two modem-status bytes, which libftdi
    // strips: a transfer of the chunk size holds this much data at most.
    const unsigned packets = std::max(1u, ftdi->readbuffer_chunksize / kPacketSize);
    const std::size_t n =
        std::min<std::size_t>(fifo_.size(), static_cast<std::size_t>(packets) * (kPacketSize - 2));
    std::copy_n(fifo_.begin(), n, ftdi->readbuffer);
    fifo_.erase(fifo_.begin(), fifo_.begin() + static_cast<long>(n));
    ftdi->readbuffer_offset = 0;
    ftdi->readbuffer_remaining = static_cast<unsigned>(n);
    return static_cast<int>(n);
  }

  std::mutex mutex_;
  FtdiStandinOptions options_ = FtdiStandinDefaults();
  sensorsim::SimConfig config_;
  std::unique_ptr<sensorsim::SignalSource> signal_;
  std::unique_ptr<sensorsim::SimDevice> sensor_;
  sensordrv::FrameAssembler assembler_;
  Bytes hostFrame_;
  std::deque<std::uint8_t> sensorOut_;  // sent by the sensor, not yet over the wire
  std::deque<std::uint8_t> fifo_;       // in the chip, not yet read by the host
  FtdiStandinStats stats_{};
  bool attached_ = false;
  bool streaming_ = false;
  Clock::time_point nextFrame_;
  Clock::time_point lastPump_;
  double wireCredit_ = 0.0;
};

// The bus lives as long as the process, like a real one: a reader thread
// still running at exit must not find it gone.
Chip& TheChip() {
  static Chip* chip = new Chip;
  return *chip;
}

// Any non-null value will do: nothing looks behind these pointers.
libusb_device* FakeDevice() { return reinterpret_cast<libusb_device*>(&TheChip()); }
libusb_device_handle* FakeHandle() { return reinterpret_cast<libusb_device_handle*>(&TheChip()); }

bool Usable(ftdi_context* ftdi) { return ftdi != nullptr && ftdi->usb_dev != nullptr; }

}  // namespace

extern "C" {

STANDIN_EXPORT void FtdiStandinPlug(const FtdiStandinOptions* options) {
  TheChip().Plug(options != nullptr ? *options : FtdiStandinDefaults());
}

STANDIN_EXPORT void FtdiStandinUnplug(void) { TheChip().Unplug(); }

STANDIN_EXPORT void FtdiStandinGetStats(FtdiStandinStats* stats) {
  if (stats != nullptr) *stats = TheChip().Stats();
}

struct ftdi_context* ftdi_new(void) {
  auto* ftdi = static_cast<ftdi_context*>(std::calloc(1, sizeof(ftdi_context)));
  if (ftdi == nullptr) return nullptr;
  ftdi->usb_read_timeout = 5000;
  ftdi->usb_write_timeout = 5000;
  ftdi->readbuffer_chunksize = 4096;
  ftdi->writebuffer_chunksize = 4096;
  ftdi->max_packet_size = kPacketSize;
  ftdi->readbuffer = static_cast<unsigned char*>(std::malloc(ftdi->readbuffer_chunksize));
  return ftdi;
}

void ftdi_free(struct ftdi_context* ftdi) {
  if (ftdi == nullptr) return;
  std::free(ftdi->readbuffer);
  std::free(ftdi);
}

int ftdi_usb_find_all(struct ftdi_context*, struct ftdi_device_list** devlist, int, int) {
  *devlist = nullptr;
  if (!TheChip().Attached()) return 0;
  *devlist = new ftdi_device_list{nullptr, FakeDevice()};
  return 1;
}

void ftdi_list_free(struct ftdi_device_list** devlist) {
  for (ftdi_device_list* d = *devlist; d != nullptr;) {
    ftdi_device_list* next = d->next;
    delete d;
    d = next;
  }
  *devlist = nullptr;
}

int ftdi_usb_get_strings(struct ftdi_context*, struct libusb_device*, char* manufacturer,
                         int mnf_len, char* description, int desc_len, char* serial,
                         int serial_len) {
  auto put = [](char* out, int len, const char* text) {
    if (out != nullptr && len > 0) {
      std::strncpy(out, text, static_cast<std::size_t>(len) - 1);
      out[len - 1] = '\0';
    }
  };
  put(manufacturer, mnf_len, "stand-in");
  put(description, desc_len, "Finger sensor (stand-in)");
  put(serial, serial_len, "SI000001");
  return 0;
}

int ftdi_usb_open_dev(struct ftdi_context* ftdi, struct libusb_device*) {
  if (ftdi == nullptr) return kUnavailable;
  // libftdi resets the chip and sets a default baud rate while opening.
  if (TheChip().Control() < 0 || TheChip().Control() < 0) return -8;
  ftdi->usb_dev = FakeHandle();
  ftdi->readbuffer_offset = 0;
  ftdi->readbuffer_remaining = 0;
  return 0;
}

int ftdi_usb_close(struct ftdi_context* ftdi) {
  if (ftdi == nullptr) return -3;
  ftdi->usb_dev = nullptr;
  return 0;
}

int ftdi_read_data_set_chunksize(struct ftdi_context* ftdi, unsigned int chunksize) {
  if (ftdi == nullptr || chunksize == 0) return -1;
  auto* buffer = static_cast<unsigned char*>(std::realloc(ftdi->readbuffer, chunksize));
  if (buffer == nullptr) return -1;
  ftdi->readbuffer = buffer;
  ftdi->readbuffer_chunksize = chunksize;
  ftdi->readbuffer_offset = 0;
  ftdi->readbuffer_remaining = 0;
  return 0;
}

int ftdi_write_data_set_chunksize(struct ftdi_context* ftdi, unsigned int chunksize) {
  if (ftdi == nullptr) return -1;
  ftdi->writebuffer_chunksize = chunksize;
  return 0;
}

int ftdi_set_baudrate(struct ftdi_context* ftdi, int baudrate) {
  if (!Usable(ftdi)) return kUnavailable;
  if (baudrate <= 0) return -1;
  return TheChip().Control();
}

int ftdi_set_line_property(struct ftdi_context* ftdi, enum ftdi_bits_type, enum ftdi_stopbits_type,
                           enum ftdi_parity_type) {
  return Usable(ftdi) ? TheChip().Control() : kUnavailable;
}

int ftdi_set_bitmode(struct ftdi_context* ftdi, unsigned char, unsigned char) {
  return Usable(ftdi) ? TheChip().Control() : kUnavailable;
}

int ftdi_tciflush(struct ftdi_context* ftdi) {
  if (!Usable(ftdi)) return kUnavailable;
  const int rc = TheChip().Control(true, true);
  if (rc == 0) {
    ftdi->readbuffer_offset = 0;
    ftdi->readbuffer_remaining = 0;
  }
  return rc;
}

int ftdi_tcoflush(struct ftdi_context* ftdi) {
  return Usable(ftdi) ? TheChip().Control(true) : kUnavailable;
}

int ftdi_setdtr(struct ftdi_context* ftdi, int) {
  return Usable(ftdi) ? TheChip().Control() : kUnavailable;
}

int ftdi_poll_modem_status(struct ftdi_context* ftdi, unsigned short* status) {
  if (!Usable(ftdi) || status == nullptr) return kUnavailable;
  return TheChip().PollModem(status);
}

int ftdi_write_data(struct ftdi_context* ftdi, const unsigned char* buf, int size) {
  if (!Usable(ftdi)) return kUnavailable;
  return TheChip().Write(buf, size);
}

// As libftdi: served from the read buffer while it holds enough; otherwise
// what it holds, then one bulk transfer.
int ftdi_read_data(struct ftdi_context* ftdi, unsigned char* buf, int size) {
  if (!Usable(ftdi)) return kUnavailable;
  if (size <= 0) return 0;
  const auto wanted = static_cast<unsigned>(size);
  if (wanted <= ftdi->readbuffer_remaining) {
    std::memcpy(buf, ftdi->readbuffer + ftdi->readbuffer_offset, wanted);
    ftdi->readbuffer_remaining -= wanted;
    ftdi->readbuffer_offset += wanted;
    return size;
  }
  unsigned offset = ftdi->readbuffer_remaining;
  std::memcpy(buf, ftdi->readbuffer + ftdi->readbuffer_offset, offset);
  ftdi->readbuffer_remaining = 0;
  ftdi->readbuffer_offset = 0;
  const int got = TheChip().BulkRead(ftdi);
  if (got < 0) return offset > 0 ? static_cast<int>(offset) : got;
  const unsigned n = std::min(wanted - offset, ftdi->readbuffer_remaining);
  std::memcpy(buf + offset, ftdi->readbuffer, n);
  ftdi->readbuffer_offset = n;
  ftdi->readbuffer_remaining -= n;
  return static_cast<int>(offset + n);
}

}  // extern "C"
