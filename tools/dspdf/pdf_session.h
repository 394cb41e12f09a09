#pragma once
// The PDF maker's work behind the six exported functions: one document at a
// time, its page format, its pages, and a file written through PdfSink so
// that a failed write, flush, close or rename makes EndDoc fail and leaves
// no file at the target. The exported functions own one Session; tests and
// the fuzzer make their own with failing FileOps. Not thread-safe by
// itself: the exports serialise their calls.

#include <QPageLayout>
#include <memory>

#include "pdf_sink.h"

class QPicture;

namespace dspdf {

class Document;

class Session {
 public:
  explicit Session(FileOps ops);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Each returns 1 on success, 0 on refusal with a line on stderr; see
  // dspdf.h for what each call does.
  int beginDoc(const char* path);
  int setPage(int size, int orientation, int reserved1, int reserved2);
  int printPageM(const void* data, int count);
  int printPageF(const char* path);
  int newPage();
  int endDoc();

 private:
  int printPicture(const char* function, QPicture& picture);

  FileOps ops_;
  std::unique_ptr<Document> document_;
};

}  // namespace dspdf
