#pragma once
// The text to send: the results message file's first line without its line
// end. Pure apart from reading the file; any thread.

#include <string>

namespace cmd2phone {

// One SMS holds 160 characters of the GSM alphabet, 70 otherwise.
inline constexpr std::size_t kMaxPlainLength = 160;
inline constexpr std::size_t kMaxUnicodeLength = 70;

struct MessageText {
  std::string text;   // UTF-8
  bool plain = true;  // ASCII only: sent in the GSM alphabet
  std::string error;  // Russian; empty when the text can be sent
};

// Checks a message body as read from the file.
MessageText MessageFromBytes(const std::string& bytes);

// Reads `path` (sms.txt) and checks it.
MessageText ReadMessageText(const std::string& path);

}  // namespace cmd2phone
