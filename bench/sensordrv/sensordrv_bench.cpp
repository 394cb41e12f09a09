// Device library figures: the receiver's raw speed, the highest frame rate
// taken without loss from sensor-sim over a pseudo-terminal and from the
// stand-in FTDI chip over the libftdi1 path, and the reader thread's CPU time
// idle and streaming. The end-to-end cases run once each
// (real time); read the counters, not the iteration times.

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <set>
#include <thread>

#include "library_harness.h"
#include "protocol.h"
#include "standin_library.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

void BM_ReceiverBytes(benchmark::State& state) {
  using namespace sensordrv;
  std::vector<std::uint8_t> wire;
  for (int f = 0; f < 100; ++f) {
    std::array<std::uint8_t, 64> body{};
    std::array<std::uint8_t, kDataBytes> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(f * 7 + i);
    const std::size_t n = ReplyBody(kReplyData, data, body);
    std::array<std::uint8_t, EncodedCapacity(64)> out{};
    const std::size_t m = EncodeFrame({body.data(), n}, out);
    wire.insert(wire.end(), out.begin(), out.begin() + static_cast<long>(m));
  }
  FrameAssembler a;
  std::int64_t frames = 0;
  for (auto _ : state) {
    for (std::uint8_t b : wire) {
      if (a.PushByte(b)) {
        benchmark::DoNotOptimize(DecodeFrame(a.Frame()));
        a.Release();
        ++frames;
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(wire.size()));
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReceiverBytes);

// CPU time a thread has used, in seconds (the scheduler's nanosecond count).
double ThreadCpuSeconds(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/schedstat");
  double ns = 0.0;
  in >> ns;
  return ns / 1e9;
}

std::set<int> Tasks() {
  std::set<int> tids;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] != '.') tids.insert(std::atoi(e->d_name));
    }
    closedir(d);
  }
  return tids;
}

SensorLibrary& Library() {
  static SensorLibrary lib;
  static const bool loaded = lib.Load(SENSORDRV_LIBRARY);
  (void)loaded;
  return lib;
}

struct Session {
  std::unique_ptr<SimProcess> sim;
  int readerTid = 0;
};

// Open, DTR on (the reader starts), and find the reader's thread id.
bool Begin(Session& s, const std::vector<std::string>& simArgs) {
  SensorLibrary& lib = Library();
  s.sim = std::make_unique<SimProcess>(SENSOR_SIM, simArgs);
  setenv("SENSORDRV_PORT", s.sim->Path().c_str(), 1);
  if (!IsTrue(lib.OpenPort())) return false;
  const auto before = Tasks();
  if (!IsTrue(lib.SetDTRPort(1))) return false;
  for (int tid : Tasks()) {
    if (!before.count(tid)) s.readerTid = tid;
  }
  std::this_thread::sleep_for(100ms);
  return s.readerTid != 0;
}

void End() {
  SensorLibrary& lib = Library();
  lib.SetStatusSens(0);
  lib.SetDTRPort(0);
  lib.ClosePort();
}

// Streams at the given sample rate for two seconds; counts frames lost by
// the status counter the simulator puts in each frame.
void BM_StreamRate(benchmark::State& state) {
  const int rate = static_cast<int>(state.range(0));
  double lost = 0, received = 0, fps = 0, cpu = 0;
  for (auto _ : state) {
    Session s;
    if (!Begin(s, {"--rate", std::to_string(rate)}) || Library().SetStatusSens(1) != 1) {
      state.SkipWithError("sensor-sim did not start streaming");
      End();
      return;
    }
    const double cpu0 = ThreadCpuSeconds(s.readerTid);
    const auto start = Clock::now();
    int previous = -1;
    SampleValues v{};
    while (Clock::now() - start < 2s) {
      if (Library().GetDataSens(v.data()) != 1) break;
      if (previous >= 0) lost += (v[0] - previous - 1 + 256) % 256;
      previous = v[0];
      ++received;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    cpu = (ThreadCpuSeconds(s.readerTid) - cpu0) / seconds;
    fps = received / seconds;
    End();
  }
  state.counters["frames/s"] = fps;
  state.counters["lost"] = lost;
  state.counters["reader_cpu_s_per_s"] = cpu;
}
// 50 samples/s is the default (10 frames/s); 3250 samples/s is the 250000
// baud wire's limit (about 650 frames/s); beyond it only the pty limits.
BENCHMARK(BM_StreamRate)
    ->Arg(50)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(3250)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// The libftdi1 path through the stand-in chip (1 ms control transfers, 5 ms
// empty reads, a 256-byte receive buffer): the same two seconds of stream
// at the given sample rate; the second argument lifts the wire's 250000
// baud limit to find the path's own ceiling.
StandinLibrary& Standin() {
  static StandinLibrary lib;
  static const bool loaded = lib.LoadStandin(SENSORDRV_STANDIN_LIBRARY);
  (void)loaded;
  return lib;
}

void BM_UsbStreamRate(benchmark::State& state) {
  StandinLibrary& lib = Standin();
  FtdiStandinOptions options = FtdiStandinDefaults();
  options.rate = static_cast<double>(state.range(0));
  options.wireLimited = state.range(1) != 0 ? 1 : 0;
  double lost = 0, received = 0, fps = 0, cpu = 0, control = 0, dropped = 0;
  for (auto _ : state) {
    unsetenv("SENSORDRV_PORT");
    lib.Plug(&options);
    if (!IsTrue(lib.OpenPort()) || !IsTrue(lib.SetDTRPort(1))) {
      state.SkipWithError("the stand-in chip did not open");
      return;
    }
    std::this_thread::sleep_for(100ms);
    const int reader = ThreadNamed("sensordrv-rx");
    if (lib.SetStatusSens(1) != 1) {
      state.SkipWithError("no stream from the stand-in chip");
      lib.SetDTRPort(0);
      lib.ClosePort();
      return;
    }
    const FtdiStandinStats before = lib.Stats();
    const double cpu0 = ThreadCpuSeconds(reader);
    const auto start = Clock::now();
    int previous = -1;
    SampleValues v{};
    while (Clock::now() - start < 2s) {
      if (lib.GetDataSens(v.data()) != 1) break;
      if (previous >= 0) lost += (v[0] - previous - 1 + 256) % 256;
      previous = v[0];
      ++received;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const FtdiStandinStats after = lib.Stats();
    cpu = (ThreadCpuSeconds(reader) - cpu0) / seconds;
    fps = received / seconds;
    control = static_cast<double>(after.controlTransfers - before.controlTransfers) / seconds;
    dropped = static_cast<double>(after.droppedBytes - before.droppedBytes);
    lib.SetStatusSens(0);
    lib.SetDTRPort(0);
    lib.ClosePort();
  }
  state.counters["frames/s"] = fps;
  state.counters["lost"] = lost;
  state.counters["dropped_bytes"] = dropped;
  state.counters["control_transfers/s"] = control;
  state.counters["reader_cpu_s_per_s"] = cpu;
}
// Above about 2500 samples/s the simulator's frames, whose short sample
// lengths need escape bytes, no longer fit the 250000 baud wire: the sensor
// itself then loses frames.
BENCHMARK(BM_UsbStreamRate)
    ->Args({50, 1})
    ->Args({1000, 1})
    ->Args({2000, 1})
    ->Args({2500, 1})
    ->Args({3250, 1})
    ->Args({2500, 0})
    ->Args({3250, 0})
    ->Args({5000, 0})
    ->Args({10000, 0})
    ->Args({20000, 0})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

void BM_ReaderIdle(benchmark::State& state) {
  double cpu = 0;
  for (auto _ : state) {
    Session s;
    if (!Begin(s, {})) {
      state.SkipWithError("no reader thread");
      End();
      return;
    }
    const double cpu0 = ThreadCpuSeconds(s.readerTid);
    std::this_thread::sleep_for(3s);
    cpu = (ThreadCpuSeconds(s.readerTid) - cpu0) / 3.0;
    End();
  }
  state.counters["reader_cpu_s_per_s"] = cpu;
}
BENCHMARK(BM_ReaderIdle)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
