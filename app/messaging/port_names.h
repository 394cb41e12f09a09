#pragma once
// Names of serial ports in the SMS sender's settings line. The line has six
// characters for the port, too few for Linux device paths, so a short name
// stands for each device (blanks after the name are padding):
//   COMn -> /dev/ttyS(n-1)   first serial port is COM1
//   USBn -> /dev/ttyUSBn     USB-serial adapters and many GSM modems
//   ACMn -> /dev/ttyACMn     phones and modems of the USB modem class
//   RFCn -> /dev/rfcommn     phones bound over Bluetooth
//   PTSn -> /dev/pts/n       pseudo-terminals (the simulated modem)
// Letters may be of either case. Pure functions, any thread.

#include <optional>
#include <string>
#include <string_view>

namespace sfigmo {

inline constexpr int kPortFieldLength = 6;

// The device for a port name; nullopt for a name outside the table.
std::optional<std::string> DeviceForPortName(std::string_view name);

// The port name of a device path, padded with blanks to six characters;
// nullopt when the device has no name of six characters.
std::optional<std::string> PortNameForDevice(std::string_view device);

}  // namespace sfigmo
