// PDF makers that report success without having done the work: one writes
// nothing at all, the other (LYING_PDF_MAKER_CUT) leaves a file cut off
// after 8192 bytes, as a full disk left it. The program must believe
// neither.
#include <cstdio>
#include <cstring>
#include <string>

namespace {
std::string g_path;  // this stand-in's one document
}

extern "C" {
__attribute__((visibility("default"))) int BeginDoc(const char* path) {
  g_path = path ? path : "";
  return 1;
}
__attribute__((visibility("default"))) int SetPage(int, int, int, int) { return 1; }
__attribute__((visibility("default"))) int PrintPageM(const void*, int) { return 1; }
__attribute__((visibility("default"))) int PrintPageF(const char*) { return 1; }
__attribute__((visibility("default"))) int NewPage() { return 1; }
__attribute__((visibility("default"))) int EndDoc() {
#ifdef LYING_PDF_MAKER_CUT
  if (FILE* f = std::fopen(g_path.c_str(), "wb")) {
    std::string bytes = "%PDF-1.4\n";
    bytes.resize(8192, 'x');
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
#endif
  return 1;
}
}
