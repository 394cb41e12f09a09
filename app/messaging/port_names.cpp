#include "messaging/port_names.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace sfigmo {

namespace {

struct PortKind {
  std::string_view name;
  std::string_view device;
  int firstNumber;  // number of the name that means device 0
};

constexpr std::array<PortKind, 5> kKinds{{
    {"COM", "/dev/ttyS", 1},
    {"USB", "/dev/ttyUSB", 0},
    {"ACM", "/dev/ttyACM", 0},
    {"RFC", "/dev/rfcomm", 0},
    {"PTS", "/dev/pts/", 0},
}};

bool AllDigits(std::string_view s) {
  return !s.empty() && s.size() <= 3 &&
         std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::optional<std::string> DeviceForPortName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  if (name.size() < 4 || name.size() > static_cast<std::size_t>(kPortFieldLength))
    return std::nullopt;
  std::string prefix(name.substr(0, 3));
  std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const std::string_view digits = name.substr(3);
  if (!AllDigits(digits)) return std::nullopt;
  const int number = std::stoi(std::string(digits));
  for (const PortKind& kind : kKinds) {
    if (kind.name != prefix) continue;
    if (number < kind.firstNumber) return std::nullopt;
    return std::string(kind.device) + std::to_string(number - kind.firstNumber);
  }
  return std::nullopt;
}

std::optional<std::string> PortNameForDevice(std::string_view device) {
  for (const PortKind& kind : kKinds) {
    if (device.substr(0, kind.device.size()) != kind.device) continue;
    const std::string_view digits = device.substr(kind.device.size());
    if (!AllDigits(digits)) continue;
    std::string name =
        std::string(kind.name) + std::to_string(std::stoi(std::string(digits)) + kind.firstNumber);
    if (name.size() > static_cast<std::size_t>(kPortFieldLength)) return std::nullopt;
    name.resize(kPortFieldLength, ' ');
    return name;
  }
  return std::nullopt;
}

}  // namespace sfigmo
