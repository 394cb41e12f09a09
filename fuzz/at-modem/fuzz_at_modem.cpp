// Any bytes as what a host sends the simulated modem, fed in two chunks,
// and as the results message file cmd2phone reads. Nothing may crash, and
// every log entry stays one line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "at_modem.h"
#include "message_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
  for (modemsim::SendReply reply : {modemsim::SendReply::Ok, modemsim::SendReply::CmsError}) {
    modemsim::ModemConfig config;
    config.sendReply = reply;
    config.pduMode = size % 2 == 0;
    modemsim::AtModem modem(config);
    std::string answer;
    std::vector<std::string> log;
    modem.Receive(bytes, split, answer, log);
    modem.Receive(bytes + split, size - split, answer, log);
    for (const std::string& entry : log) {
      if (entry.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    }
  }
  const cmd2phone::MessageText message = cmd2phone::MessageFromBytes(std::string(bytes, size));
  if (message.error.empty() && (message.text.empty() || message.text.size() > 4 * 160))
    __builtin_trap();
  return 0;
}
