#pragma once
// Line settings of a tty through the kernel's termios2 interface, which takes
// any baud rate (BOTHER): 250000 baud has no B-constant. Kept apart because
// <asm/termbits.h> clashes with the C library's <termios.h>.

namespace sensordrv {

// Raw mode, 8N1, receiver on, no flow control, reads return at once. 0 on success, else errno.
int TtyMakeRaw(int fd);
int TtySetBaud(int fd, unsigned baud);
// bits 7 or 8; stopBits 1 or 2; parity 0 none, 1 odd, 2 even.
int TtySetLine(int fd, int bits, int stopBits, int parity);
// Discards received (input) and/or unsent (output) bytes.
int TtyFlush(int fd, bool input, bool output);

}  // namespace sensordrv
