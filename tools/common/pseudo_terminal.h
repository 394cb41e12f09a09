#pragma once
// A simulator's end of a serial line: a raw pseudo-terminal whose other end
// the host opens by its path as it would open a USB-serial port.

#include <string>

namespace tools {

struct Pty {
  Pty() = default;
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  int master = -1;  // non-blocking: the simulator never waits for the host
  int slave = -1;   // kept open so the master never sees a hang-up between hosts
  std::string path;
};

// Opens `pty` in raw mode (no echo, no line editing, every byte as it is),
// both ends closed on exec. False with errno set when the system has none.
bool OpenPty(Pty& pty);

}  // namespace tools
