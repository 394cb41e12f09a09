#pragma once
// A simulator runs until its stdin closes, so a test or a script that
// started it ends it by closing the pipe, and it never outlives its parent.

namespace tools {

// Whether stdin is worth watching: a pipe, a socket or a terminal, which
// close. A /dev/null or file stdin (a background job) is not watched.
bool WatchStdin();

// After poll() reported `revents` on stdin: takes what came there (it means
// nothing) and tells whether stdin has closed, which ends the simulator.
bool StdinClosed(short revents);

}  // namespace tools
