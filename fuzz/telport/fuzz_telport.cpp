// Any bytes as a telport.txt: its first line split into port and number,
// the number rewrite and the port rewrite, the line as cmd2phone's
// arguments. Nothing may crash, and the rewrites keep everything outside
// their characters.

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "messaging/port_names.h"
#include "messaging/settings_line.h"
#include "sender_args.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // The first line is the settings line; what follows stands for a number typed.
  const qsizetype end = bytes.indexOf('\n');
  const QString line = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
  const QString typed = end < 0 ? QString() : QString::fromUtf8(bytes.mid(end + 1));

  const QString port = sfigmo::SettingsPort(line);
  const QString number = sfigmo::SettingsNumber(line);
  Require(port.size() <= 6 && number.size() <= 12);

  const QString cut = sfigmo::CutNumber(typed);
  const QString field = cut.leftJustified(sfigmo::kNumberFieldLength, QLatin1Char(' '));
  const QString replaced = sfigmo::ReplaceNumber(line, typed);
  if (line.size() < 13) {
    Require(replaced == line + field);
  } else {
    Require(replaced.left(13) == line.left(13));
    Require(replaced.mid(13, sfigmo::kNumberFieldLength) == field);
    // Whatever follows is the line's own text, at most with a blank and a
    // dash put back.
    Require(replaced.size() <= line.size() + sfigmo::kNumberFieldLength + 2);
    Require(line.endsWith(replaced.mid(25).mid(2)) || replaced.size() <= 27);
  }
  if (sfigmo::CheckNumber(cut) == sfigmo::NumberRefusal::None) {
    Require(!cut.contains(QLatin1Char(' ')) && !cut.isEmpty());
    // A recorded number keeps the field whole: the next one moves nothing.
    if (line.size() >= 13) {
      const QString again = sfigmo::ReplaceNumber(replaced, QStringLiteral("+70000000000"));
      Require(again.mid(25) == replaced.mid(25));
    }
  }
  const QString withPort = sfigmo::ReplacePort(line, typed);
  Require(withPort.left(7) == line.left(7).leftJustified(7, QLatin1Char(' ')));
  Require(withPort.mid(13) == line.mid(13));

  std::vector<std::string> args;
  for (const QString& a : sfigmo::SettingsArguments(line)) args.push_back(a.toStdString());
  const cmd2phone::SenderArgs parsed = cmd2phone::ParseSenderArgs(args);
  if (parsed.error.empty() && !parsed.help) {
    Require(sfigmo::DeviceForPortName(parsed.portName).value_or("") == parsed.device);
    Require(cmd2phone::ValidNumber(parsed.number));
  }
  if (const auto device = sfigmo::DeviceForPortName(port.toStdString())) {
    const auto back = sfigmo::PortNameForDevice(*device);
    Require(!back || sfigmo::DeviceForPortName(*back) == device);
  }
  return 0;
}
