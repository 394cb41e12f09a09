#include "sender_args.h"

#include <algorithm>
#include <cctype>

#include "messaging/port_names.h"

namespace cmd2phone {

namespace {

bool ParseTimeout(const std::string& text, int& seconds) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(),
                   [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return false;
  }
  seconds = std::stoi(text);
  return seconds >= 1 && seconds <= kMaxTimeoutSeconds;
}

}  // namespace

bool ValidNumber(const std::string& number) {
  const std::size_t start = !number.empty() && number[0] == '+' ? 1 : 0;
  const std::size_t digits = number.size() - start;
  return digits >= 1 && digits <= 20 &&
         std::all_of(number.begin() + static_cast<long>(start), number.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

SenderArgs ParseSenderArgs(const std::vector<std::string>& args) {
  SenderArgs out;
  std::vector<std::string> positional;
  bool portSeen = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out.help = true;
      return out;
    }
    if (a == "--timeout") {
      if (i + 1 >= args.size() || !ParseTimeout(args[i + 1], out.timeoutSeconds)) {
        out.error = "время ожидания должно быть числом секунд от 1 до 3600";
        return out;
      }
      ++i;
    } else if (a == "--port") {
      if (i + 1 >= args.size()) {
        out.error = "после --port нет имени порта";
        return out;
      }
      std::string word = args[++i];
      if (word.size() > static_cast<std::size_t>(sfigmo::kPortFieldLength)) {
        out.number = word.substr(sfigmo::kPortFieldLength);
        word.resize(sfigmo::kPortFieldLength);
      }
      out.portName = word;
      portSeen = true;
    } else if (a.rfind("--", 0) == 0) {
      out.error = "неизвестный параметр " + a;
      return out;
    } else {
      positional.push_back(a);
    }
  }
  if (out.number.empty() && !positional.empty()) {
    out.number = positional.front();
    positional.erase(positional.begin());
  }
  if (!portSeen) {
    out.error = "не указан порт телефона (--port)";
  } else if (!positional.empty()) {
    out.error = "лишнее слово в параметрах: " + positional.front();
  } else if (const auto device = sfigmo::DeviceForPortName(out.portName)) {
    out.device = *device;
    if (out.number.empty()) {
      out.error = "не указан номер телефона врача";
    } else if (!ValidNumber(out.number)) {
      out.error = "номер телефона «" + out.number + "» неверен: нужны + и цифры";
    }
  } else {
    out.error = "неизвестное имя порта «" + out.portName + "» (COMn, USBn, ACMn, RFCn, PTSn)";
  }
  return out;
}

const char* UsageText() {
  return "cmd2phone --port NAME NUMBER [--timeout SECONDS]\n"
         "Sends the text of sms.txt in the working folder as one SMS to NUMBER\n"
         "through the phone or GSM modem on port NAME (AT commands). Port names:\n"
         "COMn /dev/ttyS(n-1), USBn /dev/ttyUSBn, ACMn /dev/ttyACMn,\n"
         "RFCn /dev/rfcommn, PTSn /dev/pts/n. Exit 0 and one line on stdout when\n"
         "the network took the message; otherwise exit 1 and the error on stderr.\n"
         "Gives up after SECONDS (default 60, exit 3).\n";
}

}  // namespace cmd2phone
