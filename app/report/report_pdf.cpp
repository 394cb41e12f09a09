#include "report/report_pdf.h"

#include <dlfcn.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPicture>

#include "report/report_page.h"

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
      error_ =
          QStringLiteral("Не удалось загрузить библиотеку создания PDF «%1»: %2")
              .arg(path, why ? QString::fromLocal8Bit(why) : QStringLiteral("причина неизвестна"));
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
  const QString& error() const { return error_; }

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
    if (!symbol && error_.isEmpty())
      error_ = QStringLiteral("В библиотеке создания PDF «%1» нет функции «%2»")
                   .arg(path_, QString::fromLatin1(name));
    return reinterpret_cast<Fn>(symbol);
  }

  QString path_;
  void* handle_ = nullptr;
  QString error_;
  BeginDocFn beginDoc_ = nullptr;
  SetPageFn setPage_ = nullptr;
  PrintPageMFn printPageM_ = nullptr;
  EndDocFn endDoc_ = nullptr;
};

}  // namespace

QByteArray ReportPictureData(const PulsogramRecord& record, const ReportPageOptions& options) {
  QPicture picture;
  QPainter painter(&picture);
  DrawReportPage(painter, record, false, options);  // ends the painter: the picture is complete
  return QByteArray(picture.data(), static_cast<qsizetype>(picture.size()));
}

ReportPdfResult WriteReportPdf(const PulsogramRecord& record, const QString& pdfPath,
                               const ReportPdfOptions& options) {
  const QByteArray picture = ReportPictureData(record, options.Page);
  // Never a bare file name: dlopen would search the system's folders.
  const QString folder = options.LibraryFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                         : options.LibraryFolder;
  PdfMaker maker(QDir(folder).filePath(QString::fromLatin1(kPdfMakerFile)));
  ReportPdfResult result;
  if (!maker.usable()) {
    result.Message = maker.error() + QStringLiteral(". PDF не создан.");
    return result;
  }
  if (!maker.write(pdfPath, picture) || !QFile::exists(pdfPath)) {
    result.Message = QStringLiteral("Не удалось создать PDF «%1».").arg(pdfPath);
    return result;
  }
  result.Ok = true;
  return result;
}

}  // namespace sfigmo
