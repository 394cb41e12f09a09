#include "stdin_watch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "pseudo_terminal.h"

namespace tools {
namespace {

// Puts another file in place of stdin for one test and brings the real one back.
class StdinWatch : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = dup(STDIN_FILENO); }
  void TearDown() override {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }
  // Makes `fd` stdin and closes it.
  static void UseAsStdin(int fd) {
    ASSERT_GE(fd, 0);
    ASSERT_EQ(dup2(fd, STDIN_FILENO), STDIN_FILENO);
    close(fd);
  }

 private:
  int saved_ = -1;
};

TEST_F(StdinWatch, WatchesWhatCanCloseOnly) {
  int pipeEnds[2], sockets[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
  Pty terminal;
  ASSERT_TRUE(OpenPty(terminal));
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  const struct {
    const char* stdinIs;
    int fd;
    bool watched;
  } cases[] = {
      {"a pipe", pipeEnds[0], true},
      {"a socket", sockets[0], true},
      {"a terminal", dup(terminal.slave), true},
      {"/dev/null", open("/dev/null", O_RDONLY), false},
      {"a file", dup(fileno(file)), false},
  };
  for (const auto& c : cases) {
    UseAsStdin(c.fd);
    EXPECT_EQ(WatchStdin(), c.watched) << c.stdinIs;
  }
  close(STDIN_FILENO);
  EXPECT_FALSE(WatchStdin()) << "closed";
  close(pipeEnds[1]);
  close(sockets[1]);
  std::fclose(file);
}

TEST_F(StdinWatch, InputIsTakenAndIgnoredOnlyTheEndEndsTheSimulator) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  UseAsStdin(ends[0]);
  const auto ready = [] {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    return poll(&p, 1, 1000) == 1 ? p.revents : short{0};
  };
  EXPECT_FALSE(StdinClosed(0));  // nothing reported: no read, so no wait
  ASSERT_EQ(write(ends[1], "quit\n", 5), 5);
  EXPECT_FALSE(StdinClosed(ready()));
  pollfd p{STDIN_FILENO, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, 0), 0) << "what came is taken";
  close(ends[1]);
  EXPECT_TRUE(StdinClosed(ready()));
}

}  // namespace
}  // namespace tools
