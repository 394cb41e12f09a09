// sensor-probe: checks a sensor the way the program uses it. Loads
// libsensordrv.so from its own folder by file name, runs the calling order
// and reports every result. Exit code 0 only when the sensor was found, the
// battery holds at least 7.5 V and every frame asked for came. Each wait is
// announced before it starts, and the whole check has a time limit, so a
// silent or unplugged sensor never leaves the user looking at nothing.

#include <dlfcn.h>
#include <getopt.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "frame_stats.h"
#include "sensordrv_api.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr float kMinBatteryVolts = 7.5f;
constexpr float kMaxPlausibleVolts = 20.0f;  // above: a garbled reply, not a voltage
// Each failed frame wait lasts about a second; this many in a row: the
// sensor has fallen silent.
constexpr int kSilentReads = 3;

// The whole check's time limit; the stop and close at the end still run.
class Deadline {
 public:
  explicit Deadline(double seconds)
      : seconds_(seconds),
        end_(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                std::chrono::duration<double>(seconds))) {}
  // True (and said once) when the time is up.
  bool Passed() {
    if (Clock::now() < end_) return false;
    if (!told_) std::printf("время проверки (%.0f с) истекло: дальше не ждём\n", seconds_);
    told_ = true;
    return true;
  }

 private:
  double seconds_;
  Clock::time_point end_;
  bool told_ = false;
};

// What the probe waits for now; the library waits up to about a second.
void Waiting(const char* what) { std::printf("ожидание: %s (до 1 с)...\n", what); }

struct Api {
  SensordrvSearchDevicesFn SearchDevices;
  SensordrvOpenPortFn OpenPort;
  SensordrvClosePortFn ClosePort;
  SensordrvSetDTRPortFn SetDTRPort;
  SensordrvGetVersionDeviceFn GetVersionDevice;
  SensordrvSetStatusSensFn SetStatusSens;
  SensordrvGetDataSensFn GetDataSens;
  SensordrvGetVBatFn GetVBat;
  SensordrvCheckFailedDeviceFn CheckFailedDevice;
};

std::string ProgramFolder() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string p(path, n > 0 ? static_cast<std::size_t>(n) : 0);
  const auto slash = p.rfind('/');
  return slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
}

template <typename F>
bool Bind(void* lib, F& f, const char* name) {
  f = reinterpret_cast<F>(dlsym(lib, name));
  if (f == nullptr) std::printf("в библиотеке нет функции %s\n", name);
  return f != nullptr;
}

bool Load(Api& api) {
  const std::string file = ProgramFolder() + SENSORDRV_LIBRARY_NAME;
  void* lib = dlopen(file.c_str(), RTLD_NOW);
  if (lib == nullptr) {
    std::printf("библиотека %s не загрузилась: %s\n", file.c_str(), dlerror());
    return false;
  }
  // Every name is tried, so each missing one is reported.
  const bool bound[] = {Bind(lib, api.SearchDevices, "_SearchDevices"),
                        Bind(lib, api.OpenPort, "_OpenPort"),
                        Bind(lib, api.ClosePort, "_ClosePort"),
                        Bind(lib, api.SetDTRPort, "_SetDTRPort"),
                        Bind(lib, api.GetVersionDevice, "_Get_version_Device"),
                        Bind(lib, api.SetStatusSens, "_Set_status_SENS"),
                        Bind(lib, api.GetDataSens, "_Get_data_SENS"),
                        Bind(lib, api.GetVBat, "_Get_V_bat"),
                        Bind(lib, api.CheckFailedDevice, "_Check_failed_Device")};
  return std::all_of(std::begin(bound), std::end(bound), [](bool b) { return b; });
}

int Result(const char* step, int value) {
  std::printf("%-28s %d\n", step, value & 0xFF);
  return value & 0xFF;
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }

void ReportFrames(const std::vector<double>& times, const std::vector<std::int32_t>& statuses,
                  int wanted) {
  const auto s = sensorprobe::AnalyseFrames(times, statuses);
  std::printf("кадров получено               %d из %d\n", s.count, wanted);
  std::printf("частота кадров, 1/с           %.2f\n", s.framesPerSecond);
  std::printf("самый длинный интервал, мс    %.1f\n", s.longestIntervalMs);
  std::printf("задержек (интервал > 1,5 медианы) %d\n", s.timingGaps);
  if (s.statusCounts) std::printf("пропущено кадров по счётчику  %d\n", s.counterGaps);
}

// The frames asked for, until they came, the sensor fell silent or the time
// is up; arrival times and status bytes go to times and statuses.
void ReadFrames(const Api& api, int frames, Deadline& deadline, std::vector<double>& times,
                std::vector<std::int32_t>& statuses) {
  std::printf("ожидание: %d кадров...\n", frames);
  const auto start = Clock::now();
  int silent = 0;
  while (static_cast<int>(times.size()) < frames && !deadline.Passed()) {
    std::int32_t sample[SENSORDRV_SAMPLE_VALUES] = {};
    if (api.GetDataSens(sample) == 0) {
      std::printf("кадр не пришёл за 1 с (получено %zu из %d)\n", times.size(), frames);
      if (++silent < kSilentReads) continue;
      std::printf("датчик молчит %d с подряд: приём прекращён\n", kSilentReads);
      return;
    }
    silent = 0;
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    statuses.push_back(sample[0]);
  }
}

// The calling order of the program; true when everything held.
bool Probe(const Api& api, int frames, Deadline& deadline) {
  bool ok = true;
  Result("_SearchDevices", api.SearchDevices());
  if (!Result("_OpenPort", api.OpenPort())) {
    std::printf("датчик не найден: подключите датчик к USB (или укажите --port)\n");
    return false;
  }
  Pause();
  ok &= Result("_SetDTRPort(1)", api.SetDTRPort(1)) == 1;
  Pause();
  float volts = -1.0f;
  Waiting("ответ на запрос напряжения батареи");
  const bool battery = Result("_Get_V_bat", api.GetVBat(&volts)) == 1 && volts >= 0.0f;
  if (battery) std::printf("напряжение батареи, В         %.2f\n", static_cast<double>(volts));
  if (battery && volts > kMaxPlausibleVolts) {
    std::printf("батарея: показание больше %.0f В недостоверно — ответ датчика искажён\n",
                static_cast<double>(kMaxPlausibleVolts));
    ok = false;
  } else if (!battery || volts < kMinBatteryVolts) {
    std::printf("батарея: меньше %.1f В или нет ответа — сменить батарею\n",
                static_cast<double>(kMinBatteryVolts));
    ok = false;
  }
  std::uint8_t version[4] = {};
  if (!deadline.Passed()) {
    Waiting("ответ на запрос версии");
    if (Result("_Get_version_Device", api.GetVersionDevice(version))) {
      std::printf("версия                        %02X %02X %02X %02X\n", version[0], version[1],
                  version[2], version[3]);
    }
  }
  std::vector<double> times;
  std::vector<std::int32_t> statuses;
  if (!deadline.Passed()) {
    Waiting("подтверждение запуска потока кадров");
    if (Result("_Set_status_SENS(1)", api.SetStatusSens(1)))
      ReadFrames(api, frames, deadline, times, statuses);
  }
  ReportFrames(times, statuses, frames);
  ok &= static_cast<int>(times.size()) == frames;
  Waiting("подтверждение останова потока");
  Result("_Set_status_SENS(0)", api.SetStatusSens(0));
  Result("_Check_failed_Device", api.CheckFailedDevice());
  Result("_SetDTRPort(0)", api.SetDTRPort(0));
  api.ClosePort();
  std::printf("_ClosePort\n");
  return ok;
}

void Usage() {
  std::printf(
      "sensor-probe [--frames N] [--port PATH] [--time-limit S]\n"
      "Проверка датчика: поиск, открытие, DTR, батарея, версия, запуск, N кадров, останов.\n"
      "  --frames N        сколько кадров принять (по умолчанию 50)\n"
      "  --port PATH       tty датчика или симулятора (иначе SENSORDRV_PORT или первый FTDI на "
      "USB)\n"
      "  --time-limit S    сколько секунд ждать всего (по умолчанию 15 + N/4); приём кадров\n"
      "                    прекращается и раньше, если датчик молчит 3 с подряд\n"
      "Код выхода 0: датчик найден, батарея не ниже 7,5 В, все кадры пришли.\n");
}

}  // namespace

int main(int argc, char** argv) {
  // Line by line even into a pipe: each wait is seen as it begins.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  int frames = 50;
  double timeLimit = 0.0;  // 0: from the number of frames
  const option options[] = {{"frames", required_argument, nullptr, 'n'},
                            {"port", required_argument, nullptr, 'p'},
                            {"time-limit", required_argument, nullptr, 't'},
                            {"help", no_argument, nullptr, 'h'},
                            {nullptr, 0, nullptr, 0}};
  int opt = 0;
  while ((opt = getopt_long(argc, argv, "", options, nullptr)) != -1) {
    if (opt == 'n') {
      char* end = nullptr;
      const long n = std::strtol(optarg, &end, 10);
      if (end == optarg || *end != '\0' || n < 1 || n > 1000000) {
        std::fprintf(stderr, "sensor-probe: --frames: нужно целое от 1 до 1000000\n");
        return 2;
      }
      frames = static_cast<int>(n);
    } else if (opt == 't') {
      char* end = nullptr;
      timeLimit = std::strtod(optarg, &end);
      if (end == optarg || *end != '\0' || !(timeLimit >= 1.0 && timeLimit <= 1.0e6)) {
        std::fprintf(stderr, "sensor-probe: --time-limit: нужно число секунд от 1 до 1000000\n");
        return 2;
      }
    } else if (opt == 'p') {
      setenv("SENSORDRV_PORT", optarg, 1);
    } else if (opt == 'h') {
      Usage();
      return 0;
    } else {
      Usage();
      return 2;
    }
  }
  Api api{};
  if (!Load(api)) return 1;
  // A sensor streams about 10 frames a second; 4 a second leaves it room.
  Deadline deadline(timeLimit > 0.0 ? timeLimit : 15.0 + frames / 4.0);
  const bool ok = Probe(api, frames, deadline);
  std::printf(ok ? "ИТОГ: датчик исправен\n" : "ИТОГ: проверка не пройдена\n");
  std::fflush(stdout);
  return ok ? 0 : 1;
}
