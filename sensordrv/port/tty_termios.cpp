#include "tty_termios.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cerrno>

// <sys/ioctl.h> would drag in the C library's termios types.
extern "C" int ioctl(int fd, unsigned long request, ...);

namespace sensordrv {
namespace {

template <typename Change>
int Modify(int fd, Change change) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return errno;
  change(t);
  return ioctl(fd, TCSETS2, &t) != 0 ? errno : 0;
}

}  // namespace

int TtyMakeRaw(int fd) {
  return Modify(fd, [](termios2& t) {
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
  });
}

int TtySetBaud(int fd, unsigned baud) {
  return Modify(fd, [baud](termios2& t) {
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baud;
    t.c_ospeed = baud;
  });
}

int TtySetLine(int fd, int bits, int stopBits, int parity) {
  return Modify(fd, [=](termios2& t) {
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD);
    t.c_cflag |= bits == 7 ? CS7 : CS8;
    if (stopBits == 2) t.c_cflag |= CSTOPB;
    if (parity == 1) t.c_cflag |= PARENB | PARODD;
    if (parity == 2) t.c_cflag |= PARENB;
  });
}

int TtyFlush(int fd, bool input, bool output) {
  if (!input && !output) return 0;
  const int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
  return ioctl(fd, TCFLSH, which) != 0 ? errno : 0;
}

}  // namespace sensordrv
