// sensor-sim fed by a hostile host: the input's first line is the simulator's
// command line, the rest the bytes the host writes, in chunks, with frames
// streamed between them while started. Nothing may crash, hang or read out of
// bounds; every streamed sample keeps A + B at the clock ticks of one sample.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sim_device.h"
#include "sim_options.h"

namespace {

using namespace sensorsim;

SimConfig ConfigFrom(const std::string& line) {
  std::vector<std::string> words{"sensor-sim"};
  std::size_t pos = 0;
  while (pos < line.size() && words.size() < 16) {
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    if (end > pos) words.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const ParsedOptions parsed = ParseOptions(static_cast<int>(words.size()), argv.data());
  // A replay file or a log would touch the disk: those settings are dropped.
  SimConfig config = parsed.error.empty() ? parsed.config : SimConfig{};
  config.replayFile.clear();
  config.logFile.clear();
  return config;
}

void CheckFrame(const FrameRecord& rec, std::int32_t ticks) {
  for (int s = 0; s < 5; ++s) {
    const std::int32_t a = rec.values[1 + 2 * s], b = rec.values[2 + 2 * s];
    if (a < 0 || a > 65535 || b < 0 || b > 65535) std::abort();
    if (ticks <= 65535 && a + b != ticks) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* nl = static_cast<const std::uint8_t*>(std::memchr(data, '\n', size));
  const std::size_t lineLen = nl ? static_cast<std::size_t>(nl - data) : 0;
  if (lineLen > 512) return 0;
  const SimConfig config = ConfigFrom(std::string(reinterpret_cast<const char*>(data), lineLen));
  std::unique_ptr<SignalSource> signal = MakeSignalSource(config);
  SimDevice device(config, *signal);

  std::size_t pos = nl ? lineLen + 1 : 0;
  std::vector<std::uint8_t> out;
  int frames = 0;
  while (pos < size) {
    // Chunk length from the stream itself, so split frames are reached too.
    const std::size_t chunk = std::min<std::size_t>(1 + data[pos] % 32, size - pos);
    device.Receive(data + pos, chunk, out);
    pos += chunk;
    for (int i = 0; i < 4 && device.Streaming() && frames < 256; ++i, ++frames) {
      CheckFrame(device.NextFrame(out), device.TicksPerSample());
    }
    if (out.size() > (1u << 20)) out.clear();
  }
  return 0;
}
