// The PDF maker behind libdspdf.so. Its interface is a plain-function one
// without a handle (the program binds the functions by name), so the one
// session in progress is owned by this file and its calls are serialised.

#include "dspdf.h"

#include <mutex>

#include "pdf_session.h"

namespace {

struct State {
  std::mutex lock;
  dspdf::Session session{dspdf::SystemFileOps()};
};

State& TheState() {
  static State state;
  return state;
}

template <typename Call>
int Serialised(Call call) {
  State& s = TheState();
  std::lock_guard guard(s.lock);
  return call(s.session);
}

}  // namespace

extern "C" {

int BeginDoc(const char* path) {
  return Serialised([&](dspdf::Session& s) { return s.beginDoc(path); });
}

int SetPage(int size, int orientation, int reserved1, int reserved2) {
  return Serialised(
      [&](dspdf::Session& s) { return s.setPage(size, orientation, reserved1, reserved2); });
}

int PrintPageM(const void* data, int count) {
  return Serialised([&](dspdf::Session& s) { return s.printPageM(data, count); });
}

int PrintPageF(const char* path) {
  return Serialised([&](dspdf::Session& s) { return s.printPageF(path); });
}

int NewPage(void) {
  return Serialised([](dspdf::Session& s) { return s.newPage(); });
}

int EndDoc(void) {
  return Serialised([](dspdf::Session& s) { return s.endDoc(); });
}

}  // extern "C"
