#pragma once
// One SMS through a phone or GSM modem on a serial device, by Gammu's
// library and its AT driver. Blocking; the caller bounds the time.

#include <string>

namespace cmd2phone {

struct SendResult {
  bool ok = false;
  int reference = -1;  // the network's message reference
  std::string error;   // the modem's or the library's error, for stderr
};

// Connects to `device`, sends `text` (UTF-8; `plain` in the GSM alphabet,
// otherwise as Unicode) to `number` and disconnects.
SendResult SendSms(const std::string& device, const std::string& number, const std::string& text,
                   bool plain);

}  // namespace cmd2phone
