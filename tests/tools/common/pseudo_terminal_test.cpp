#include "pseudo_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tools {
namespace {

// Waits up to a second for `fd` to become readable and takes what it holds.
std::string ReadWithin1s(int fd) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, 1000) != 1) return {};
  char buf[256];
  const ssize_t n = read(fd, buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

TEST(PseudoTerminal, PathNamesTheHostEndAndBothEndsCloseOnExec) {
  Pty pty;
  ASSERT_TRUE(OpenPty(pty)) << errno;
  struct stat byPath {
  }, slave{};
  ASSERT_EQ(stat(pty.path.c_str(), &byPath), 0) << pty.path;
  ASSERT_EQ(fstat(pty.slave, &slave), 0);
  EXPECT_TRUE(S_ISCHR(byPath.st_mode));
  EXPECT_EQ(byPath.st_rdev, slave.st_rdev);
  EXPECT_TRUE(fcntl(pty.master, F_GETFL) & O_NONBLOCK);
  EXPECT_TRUE(fcntl(pty.master, F_GETFD) & FD_CLOEXEC);
  EXPECT_TRUE(fcntl(pty.slave, F_GETFD) & FD_CLOEXEC);
}

TEST(PseudoTerminal, CarriesEveryByteUnchangedBothWaysWithoutEcho) {
  Pty pty;
  ASSERT_TRUE(OpenPty(pty));
  const int host = open(pty.path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(host, 0);
  // Carriage returns, Ctrl-C, XON/XOFF, NUL and 0xFF: a cooked terminal
  // would translate, signal, swallow or echo each of them.
  const std::string bytes("\r\n\x03\x11\x13\x00\x7f\xff z", 11);
  ASSERT_EQ(write(host, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  EXPECT_EQ(ReadWithin1s(pty.master), bytes);
  ASSERT_EQ(write(pty.master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  EXPECT_EQ(ReadWithin1s(host), bytes);
  char c;
  EXPECT_EQ(read(pty.master, &c, 1), -1);  // nothing echoed, and no wait for it
  EXPECT_EQ(errno, EAGAIN);
  close(host);
}

TEST(PseudoTerminal, AHostLeavingIsNoHangUpForTheNextOne) {
  Pty pty;
  ASSERT_TRUE(OpenPty(pty));
  close(open(pty.path.c_str(), O_RDWR | O_NOCTTY));
  char c;
  EXPECT_EQ(read(pty.master, &c, 1), -1);
  EXPECT_EQ(errno, EAGAIN);  // EIO would be a hang-up
  const int next = open(pty.path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(next, 0);
  ASSERT_EQ(write(next, "A", 1), 1);
  EXPECT_EQ(ReadWithin1s(pty.master), "A");
  close(next);
}

TEST(PseudoTerminal, ClosesBothEndsWhenDestroyed) {
  int master, slave;
  {
    Pty pty;
    ASSERT_TRUE(OpenPty(pty));
    master = pty.master;
    slave = pty.slave;
  }
  EXPECT_EQ(fcntl(master, F_GETFD), -1);
  EXPECT_EQ(fcntl(slave, F_GETFD), -1);
}

}  // namespace
}  // namespace tools
