#pragma once
// A simulated AT modem: bytes from the host in, the modem's replies and a
// log of what it was asked out. No I/O of its own, so tests and fuzzers can
// drive it directly; main.cpp puts it on a pseudo-terminal.

#include <string>
#include <vector>

namespace modemsim {

// How the modem answers the end of a message (Ctrl-Z after AT+CMGS).
enum class SendReply {
  Ok,        // +CMGS: <reference>, OK
  Error,     // ERROR
  CmsError,  // +CMS ERROR: <cmsError>
  Silent,    // nothing at all
};

struct ModemConfig {
  SendReply sendReply = SendReply::Ok;
  int cmsError = 500;
  bool silent = false;   // answers nothing to anything (a dead modem)
  bool pduMode = false;  // offers PDU mode besides text mode
};

class AtModem {
 public:
  explicit AtModem(ModemConfig config) : config_(config) {}

  // Takes bytes from the host; appends the modem's reply bytes to `reply`
  // and one line per command or message to `log`.
  void Receive(const char* data, std::size_t size, std::string& reply,
               std::vector<std::string>& log);

  // Messages sent so far (number and text), in order.
  struct Message {
    std::string number;
    std::string text;
  };
  const std::vector<Message>& Sent() const { return sent_; }

 private:
  void Command(const std::string& line, std::string& reply, std::vector<std::string>& log);
  void EndOfMessage(std::string& reply, std::vector<std::string>& log);
  std::string Answer(const std::string& cmd);  // one command without "AT"

  ModemConfig config_;
  bool echo_ = true;
  bool textMode_ = false;
  bool inMessage_ = false;  // between the "> " prompt and Ctrl-Z or ESC
  std::string line_;
  std::string number_;
  std::string body_;
  std::string charset_ = "GSM";
  std::string centre_ = "+79000000000";
  int reference_ = 0;
  std::vector<Message> sent_;
};

}  // namespace modemsim
