#pragma once
// The SMS sender's arguments: the settings line of telport.txt split on
// blanks, "--port NAME NUMBER [--timeout SECONDS]". A port name of the full
// six characters runs into the number in the line ("PTS123+7900..."); such a
// word is split after its sixth character. Pure, any thread.

#include <string>
#include <vector>

namespace cmd2phone {

inline constexpr int kDefaultTimeoutSeconds = 60;
inline constexpr int kMaxTimeoutSeconds = 3600;

struct SenderArgs {
  std::string portName;  // as written in the line
  std::string device;    // the Linux device it stands for
  std::string number;
  int timeoutSeconds = kDefaultTimeoutSeconds;
  bool help = false;
  std::string error;  // Russian, for stderr; empty when the arguments are usable
};

SenderArgs ParseSenderArgs(const std::vector<std::string>& args);

// "+" at most at the start, then 1 to 20 digits.
bool ValidNumber(const std::string& number);

const char* UsageText();

}  // namespace cmd2phone
