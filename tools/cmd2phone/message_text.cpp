#include "message_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace cmd2phone {

namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024;

// Number of characters of a valid UTF-8 text; npos when it is not UTF-8.
std::size_t Utf8Length(const std::string& s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t len = c < 0x80         ? 1
                            : (c >> 5) == 6  ? 2
                            : (c >> 4) == 14 ? 3
                            : (c >> 3) == 30 ? 4
                                             : 0;
    if (len == 0 || i + len > s.size()) return std::string::npos;
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return std::string::npos;
    }
    i += len;
  }
  return count;
}

}  // namespace

MessageText MessageFromBytes(const std::string& bytes) {
  MessageText m;
  std::string text = bytes.substr(0, bytes.find('\n'));
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  const std::size_t length = Utf8Length(text);
  if (text.empty()) {
    m.error = "файл сообщения пуст";
  } else if (length == std::string::npos) {
    m.error = "файл сообщения не в кодировке UTF-8";
  } else if (text.find_first_of(std::string("\r\x1a\x1b\0", 4)) != std::string::npos) {
    m.error = "в сообщении управляющие символы";
  } else {
    m.plain = length == text.size();
    const std::size_t max = m.plain ? kMaxPlainLength : kMaxUnicodeLength;
    if (length > max) m.error = "сообщение длиннее " + std::to_string(max) + " символов";
  }
  m.text = std::move(text);
  return m;
}

MessageText ReadMessageText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    MessageText m;
    m.error = "нет файла сообщения " + path + ": " + std::strerror(errno);
    return m;
  }
  std::string bytes;
  bytes.resize(kMaxFileBytes);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return MessageFromBytes(bytes);
}

}  // namespace cmd2phone
