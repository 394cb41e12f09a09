#include "report/screens/report_pdf.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPicture>
#include <algorithm>

#include "report/screens/report_page.h"

namespace sfigmo {

namespace {

using BeginDocFn = int (*)(const char*);
using SetPageFn = int (*)(int, int, int, int);
using PrintPageMFn = int (*)(const void*, int);
using EndDocFn = int (*)();

// The loaded PDF maker, unloaded when this goes out of scope.
class PdfMaker {
 public:
  explicit PdfMaker(const QString& path) : path_(path) {
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
      const char* why = dlerror();
      error_ = ReportFailed(ReportFailure::PdfMakerMissing, path,
                            why ? QString::fromLocal8Bit(why) : QString());
      return;
    }
    beginDoc_ = bind<BeginDocFn>("BeginDoc");
    setPage_ = bind<SetPageFn>("SetPage");
    printPageM_ = bind<PrintPageMFn>("PrintPageM");
    endDoc_ = bind<EndDocFn>("EndDoc");
    // Looked up as the interface has them, never called here.
    bind<void*>("NewPage");
    bind<void*>("PrintPageF");
  }
  ~PdfMaker() {
    if (handle_) dlclose(handle_);
  }
  PdfMaker(const PdfMaker&) = delete;
  PdfMaker& operator=(const PdfMaker&) = delete;

  bool usable() const { return beginDoc_ && setPage_ && printPageM_ && endDoc_; }
  const ReportError& error() const { return error_; }

  // The four calls in their order; false as soon as one refuses.
  bool write(const QString& pdfPath, const QByteArray& picture) {
    const QByteArray path = QFile::encodeName(pdfPath);
    if (!beginDoc_(path.constData())) return false;
    const bool drawn = setPage_(2, 0, 0, 0) && printPageM_(picture.constData(), picture.size());
    // EndDoc also closes a document whose page was refused (it then leaves
    // no file), so the library is never unloaded with a document open.
    const bool ended = endDoc_();
    return drawn && ended;
  }

 private:
  template <typename Fn>
  Fn bind(const char* name) {
    void* symbol = dlsym(handle_, name);
    if (!symbol && error_.ok())
      error_ = ReportFailed(ReportFailure::PdfMakerFunction, path_, QString::fromLatin1(name));
    return reinterpret_cast<Fn>(symbol);
  }

  QString path_;
  void* handle_ = nullptr;
  ReportError error_;
  BeginDocFn beginDoc_ = nullptr;
  SetPageFn setPage_ = nullptr;
  PrintPageMFn printPageM_ = nullptr;
  EndDocFn endDoc_ = nullptr;
};

// What identifies the file at a path: a PDF maker that reports success but
// leaves the older file untouched must not pass it off as this action's.
struct FileStamp {
  bool Exists = false;
  dev_t Device = 0;
  ino_t Inode = 0;
  timespec Changed{};
};

FileStamp StampOf(const QString& path) {
  FileStamp stamp;
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return stamp;
  stamp.Exists = true;
  stamp.Device = st.st_dev;
  stamp.Inode = st.st_ino;
  stamp.Changed = st.st_ctim;
  return stamp;
}

bool SameFile(const FileStamp& a, const FileStamp& b) {
  return a.Exists && b.Exists && a.Device == b.Device && a.Inode == b.Inode &&
         a.Changed.tv_sec == b.Changed.tv_sec && a.Changed.tv_nsec == b.Changed.tv_nsec;
}

}  // namespace

PdfCheck CheckWrittenPdf(const QString& path, bool changed) {
  if (!changed) return PdfCheck::NotWritten;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return PdfCheck::NotWritten;
  const qint64 size = file.size();
  if (size < 64) return PdfCheck::Incomplete;  // no PDF is this small
  // The trailer's end mark, allowing the line end after it.
  file.seek(std::max<qint64>(0, size - 32));
  const QByteArray tail = file.readAll().trimmed();
  if (file.size() != size || !tail.endsWith("%%EOF")) return PdfCheck::Incomplete;
  return PdfCheck::Complete;
}

QByteArray ReportPictureData(const PulsogramRecord& record, const ReportPageOptions& options) {
  QPicture picture;
  QPainter painter(&picture);
  DrawReportPage(painter, record, false, options);  // ends the painter: the picture is complete
  return QByteArray(picture.data(), static_cast<qsizetype>(picture.size()));
}

ReportError WriteReportPdf(const PulsogramRecord& record, const QString& pdfPath,
                           const ReportPdfOptions& options) {
  const QByteArray picture = ReportPictureData(record, options.Page);
  // Never a bare file name: dlopen would search the system's folders.
  const QString folder = options.LibraryFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                         : options.LibraryFolder;
  PdfMaker maker(QDir(folder).filePath(QString::fromLatin1(kPdfMakerFile)));
  if (!maker.usable()) return maker.error();
  const FileStamp before = StampOf(pdfPath);
  const bool reported = maker.write(pdfPath, picture);
  const FileStamp after = StampOf(pdfPath);
  const bool changed = after.Exists && !SameFile(before, after);
  switch (CheckWrittenPdf(pdfPath, changed)) {
    case PdfCheck::Complete:
      if (reported) return {};
      // A maker that says it failed is believed: the file may lack a page.
      QFile::remove(pdfPath);
      return ReportFailed(ReportFailure::PdfMakerRefused, pdfPath);
    case PdfCheck::Incomplete:
      QFile::remove(pdfPath);  // a cut file must not pass for a report
      return ReportFailed(ReportFailure::PdfIncomplete, pdfPath);
    case PdfCheck::NotWritten:
      break;
  }
  return ReportFailed(reported ? ReportFailure::PdfNotWritten : ReportFailure::PdfWriteFailed,
                      pdfPath);
}

}  // namespace sfigmo
