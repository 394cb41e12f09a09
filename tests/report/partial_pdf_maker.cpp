// A PDF maker that lacks PrintPageM, for the program's refusal to use it.
extern "C" {
__attribute__((visibility("default"))) int BeginDoc(const char*) { return 1; }
__attribute__((visibility("default"))) int SetPage(int, int, int, int) { return 1; }
__attribute__((visibility("default"))) int EndDoc() { return 1; }
}
