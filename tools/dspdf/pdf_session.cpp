#include "pdf_session.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dspdf {

namespace {

// A picture larger than this is not a report page but damage.
constexpr int kMaxPictureBytes = 64 * 1024 * 1024;

int Refuse(const char* function, const char* why, int err = 0) {
  if (err != 0)
    std::fprintf(stderr, "dspdf: %s: %s: %s\n", function, why, std::strerror(err));
  else
    std::fprintf(stderr, "dspdf: %s: %s\n", function, why);
  return 0;
}

bool HaveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

// True when `picture` plays through without a format error; drawn into a
// scratch picture so a refused one leaves no trace on the page.
bool WellFormed(QPicture& picture) {
  QPicture scratch;
  QPainter painter(&scratch);
  const bool ok = picture.play(&painter);
  painter.end();
  return ok;
}

}  // namespace

class Document {
 public:
  Document(const QString& path, const FileOps& ops) : sink_(path, ops) {}

  bool open() {
    if (!sink_.begin()) return false;
    writer_ = std::make_unique<QPdfWriter>(&sink_);
    writer_->setCreator(QStringLiteral("sfigmo"));
    return true;
  }

  void setLayout(QPageLayout::Orientation orientation) { orientation_ = orientation; }

  // Plays `picture` on a page of its own at its true size: the writer works
  // in the picture's own logical resolution, so positions and font sizes
  // recorded against it come out as the same millimetres and points.
  bool print(QPicture& picture) {
    startPage(picture.logicalDpiX());
    const bool ok = picture.play(&painter_);
    ++pages_;
    return ok;
  }

  void blankPage() {
    startPage(QPicture().logicalDpiX());
    ++pages_;
  }

  // The trailer is written by ending the painter; only then does the sink
  // know whether every byte reached the disk.
  bool finish() {
    if (pages_ == 0) return false;
    const bool ended = painter_.end();
    writer_.reset();
    return sink_.commit() && ended;
  }

  int error() const { return sink_.error(); }

 private:
  void startPage(int dpi) {
    writer_->setResolution(dpi > 0 ? dpi : 96);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation_, QMarginsF()));
    if (!painter_.isActive())
      painter_.begin(writer_.get());
    else
      writer_->newPage();
  }

  PdfSink sink_;  // outlives the writer and the painter that write into it
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
  int pages_ = 0;
};

Session::Session(FileOps ops) : ops_(ops) {}

Session::~Session() = default;

int Session::beginDoc(const char* path) {
  if (!path || !*path) return Refuse("BeginDoc", "no file name");
  if (!HaveGuiApplication()) return Refuse("BeginDoc", "needs a QGuiApplication");
  document_.reset();
  auto document = std::make_unique<Document>(QFile::decodeName(path), ops_);
  if (!document->open()) return Refuse("BeginDoc", "cannot create the file", document->error());
  document_ = std::move(document);
  return 1;
}

int Session::setPage(int size, int orientation, int reserved1, int reserved2) {
  if (!document_) return Refuse("SetPage", "no document begun");
  if (size != 2 || (orientation != 0 && orientation != 1) || reserved1 != 0 || reserved2 != 0)
    return Refuse("SetPage", "unknown page format");
  document_->setLayout(orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
  return 1;
}

int Session::printPicture(const char* function, QPicture& picture) {
  if (!document_) return Refuse(function, "no document begun");
  if (!WellFormed(picture)) return Refuse(function, "not a well-formed picture");
  if (!document_->print(picture)) return Refuse(function, "the picture could not be played");
  return 1;
}

int Session::printPageM(const void* data, int count) {
  if (!data || count <= 0 || count > kMaxPictureBytes)
    return Refuse("PrintPageM", "no picture data");
  QPicture picture;
  picture.setData(static_cast<const char*>(data), static_cast<uint>(count));
  return printPicture("PrintPageM", picture);
}

int Session::printPageF(const char* path) {
  if (!path || !*path) return Refuse("PrintPageF", "no file name");
  QPicture picture;
  if (!picture.load(QFile::decodeName(path))) return Refuse("PrintPageF", "cannot read the file");
  return printPicture("PrintPageF", picture);
}

int Session::newPage() {
  if (!document_) return Refuse("NewPage", "no document begun");
  document_->blankPage();
  return 1;
}

int Session::endDoc() {
  if (!document_) return Refuse("EndDoc", "no document begun");
  std::unique_ptr<Document> document = std::move(document_);
  if (!document->finish())
    return Refuse("EndDoc", "the file could not be completed", document->error());
  return 1;
}

}  // namespace dspdf
