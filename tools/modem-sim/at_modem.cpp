#include "at_modem.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace modemsim {

namespace {

constexpr char kCtrlZ = 0x1a;
constexpr char kEsc = 0x1b;
constexpr std::size_t kMaxLine = 4096;  // a host that never ends its line cannot grow us

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

// Control bytes shown as \r, \n, \xNN so every log entry stays one line.
std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c == 0x7f || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Unquote(const std::string& s) {
  const auto first = s.find('"');
  if (first == std::string::npos) return s;
  const auto last = s.find('"', first + 1);
  return s.substr(first + 1, last == std::string::npos ? std::string::npos : last - first - 1);
}

}  // namespace

void AtModem::Receive(const char* data, std::size_t size, std::string& reply,
                      std::vector<std::string>& log) {
  for (std::size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (inMessage_) {
      if (c == kCtrlZ) {
        inMessage_ = false;
        EndOfMessage(reply, log);
      } else if (c == kEsc) {
        inMessage_ = false;
        log.push_back("CANCEL " + Printable(body_));
        if (!config_.silent) reply += "\r\nOK\r\n";
      } else if (body_.size() < kMaxLine) {
        body_ += c;
        if (echo_ && !config_.silent) reply += c;
      }
      continue;
    }
    if (c == '\r') {
      if (echo_ && !config_.silent) reply += line_ + "\r";
      std::string line;
      line.swap(line_);
      if (!line.empty()) Command(line, reply, log);
    } else if (c == '\n' || c == kCtrlZ || c == kEsc) {
      // stray line feeds and control keys outside a message are ignored
    } else if (line_.size() < kMaxLine) {
      line_ += c;
    }
  }
}

void AtModem::Command(const std::string& line, std::string& reply, std::vector<std::string>& log) {
  log.push_back("CMD " + Printable(line));
  if (config_.silent) return;
  const std::string upper = Upper(line);
  if (upper.rfind("AT", 0) != 0) {
    reply += "\r\nERROR\r\n";
    return;
  }
  const std::string cmd = line.substr(2);
  const std::string ucmd = upper.substr(2);
  if (ucmd.rfind("+CMGS=", 0) == 0) {
    if (!textMode_) {  // PDU mode: the length, then a hex PDU; logged as it comes
      number_ = "PDU";
    } else {
      number_ = Unquote(cmd.substr(6));
    }
    body_.clear();
    inMessage_ = true;
    reply += "\r\n> ";
    return;
  }
  reply += Answer(cmd);
}

std::string AtModem::Answer(const std::string& cmd) {
  const std::string u = Upper(cmd);
  auto data = [](const std::string& text) { return "\r\n" + text + "\r\n\r\nOK\r\n"; };
  const std::string ok = "\r\nOK\r\n";
  const std::string error = "\r\nERROR\r\n";
  if (u.empty() || u == "Z" || u == "&F" || u == "V1" || u == "Q0") {
    echo_ = true;
    return ok;
  }
  if (u == "E0" || u == "E1") {
    echo_ = u == "E1";
    return ok;
  }
  if (u == "I" || u == "I0" || u == "+CGMM" || u == "+GMM") return data("modem-sim GSM");
  if (u == "+CGMI" || u == "+GMI") return data("SFIGMO");
  if (u == "+CGMR" || u == "+GMR") return data("1.0");
  if (u == "+CGSN" || u == "+GSN") return data("350000000000001");
  if (u == "+CIMI") return data("250990000000001");
  if (u == "+CPIN?") return data("+CPIN: READY");
  if (u == "+CSQ") return data("+CSQ: 20,99");
  if (u == "+CREG?") return data("+CREG: 0,1");
  if (u == "+CMGF=?") return data(config_.pduMode ? "+CMGF: (0,1)" : "+CMGF: (1)");
  if (u == "+CMGF?") return data(textMode_ ? "+CMGF: 1" : "+CMGF: 0");
  if (u == "+CMGF=1") {
    textMode_ = true;
    return ok;
  }
  if (u == "+CMGF=0") {
    if (!config_.pduMode) return error;
    textMode_ = false;
    return ok;
  }
  if (u == "+CSCS=?") return data("+CSCS: (\"GSM\",\"IRA\",\"UCS2\")");
  if (u == "+CSCS?") return data("+CSCS: \"" + charset_ + "\"");
  if (u.rfind("+CSCS=", 0) == 0) {
    const std::string set = Upper(Unquote(cmd.substr(6)));
    if (set != "GSM" && set != "IRA" && set != "UCS2") return error;
    charset_ = set;
    return ok;
  }
  if (u == "+CSCA?") return data("+CSCA: \"" + centre_ + "\",145");
  if (u.rfind("+CSCA=", 0) == 0) {
    centre_ = Unquote(cmd.substr(6));
    return ok;
  }
  // Everything else a sender may set up (error reporting, storage, text
  // parameters, indications) is accepted as a real modem would.
  return ok;
}

void AtModem::EndOfMessage(std::string& reply, std::vector<std::string>& log) {
  log.push_back("SMS " + Printable(number_) + " " + Printable(body_));
  if (config_.silent) return;
  switch (config_.sendReply) {
    case SendReply::Ok:
      sent_.push_back({number_, body_});
      reply += "\r\n+CMGS: " + std::to_string(++reference_ % 256) + "\r\n\r\nOK\r\n";
      break;
    case SendReply::Error:
      reply += "\r\nERROR\r\n";
      break;
    case SendReply::CmsError:
      reply += "\r\n+CMS ERROR: " + std::to_string(config_.cmsError) + "\r\n";
      break;
    case SendReply::Silent:
      break;
  }
}

}  // namespace modemsim
