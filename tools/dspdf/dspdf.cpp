// The PDF maker behind libdspdf.so. Its interface is a plain-function one
// without a handle (the program binds the functions by name), so the one
// document in progress lives in a single object owned by this file.

#include "dspdf.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <memory>
#include <mutex>

namespace {

// A picture larger than this is not a report page but damage.
constexpr int kMaxPictureBytes = 64 * 1024 * 1024;

int Refuse(const char* function, const char* why) {
  std::fprintf(stderr, "dspdf: %s: %s\n", function, why);
  return 0;
}

class Document {
 public:
  explicit Document(const QString& path) : file_(path) {}

  bool open() {
    if (!file_.open(QIODevice::WriteOnly)) return false;
    writer_ = std::make_unique<QPdfWriter>(&file_);
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

  bool finish() {
    if (pages_ == 0) return false;
    if (!painter_.end()) return false;
    writer_.reset();
    return file_.commit();
  }

 private:
  void startPage(int dpi) {
    writer_->setResolution(dpi > 0 ? dpi : 96);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation_, QMarginsF()));
    if (!painter_.isActive())
      painter_.begin(writer_.get());
    else
      writer_->newPage();
  }

  QSaveFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
  int pages_ = 0;
};

struct State {
  std::mutex lock;
  std::unique_ptr<Document> document;
};

State& TheState() {
  static State state;
  return state;
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

int PrintPicture(const char* function, QPicture& picture) {
  State& s = TheState();
  std::lock_guard guard(s.lock);
  if (!s.document) return Refuse(function, "no document begun");
  if (!WellFormed(picture)) return Refuse(function, "not a well-formed picture");
  if (!s.document->print(picture)) return Refuse(function, "the picture could not be played");
  return 1;
}

}  // namespace

extern "C" {

int BeginDoc(const char* path) {
  if (!path || !*path) return Refuse("BeginDoc", "no file name");
  if (!HaveGuiApplication()) return Refuse("BeginDoc", "needs a QGuiApplication");
  State& s = TheState();
  std::lock_guard guard(s.lock);
  s.document.reset();
  auto document = std::make_unique<Document>(QFile::decodeName(path));
  if (!document->open()) return Refuse("BeginDoc", "cannot create the file");
  s.document = std::move(document);
  return 1;
}

int SetPage(int size, int orientation, int reserved1, int reserved2) {
  State& s = TheState();
  std::lock_guard guard(s.lock);
  if (!s.document) return Refuse("SetPage", "no document begun");
  if (size != 2 || (orientation != 0 && orientation != 1) || reserved1 != 0 || reserved2 != 0)
    return Refuse("SetPage", "unknown page format");
  s.document->setLayout(orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
  return 1;
}

int PrintPageM(const void* data, int count) {
  if (!data || count <= 0 || count > kMaxPictureBytes)
    return Refuse("PrintPageM", "no picture data");
  QPicture picture;
  picture.setData(static_cast<const char*>(data), static_cast<uint>(count));
  return PrintPicture("PrintPageM", picture);
}

int PrintPageF(const char* path) {
  if (!path || !*path) return Refuse("PrintPageF", "no file name");
  QPicture picture;
  if (!picture.load(QFile::decodeName(path))) return Refuse("PrintPageF", "cannot read the file");
  return PrintPicture("PrintPageF", picture);
}

int NewPage(void) {
  State& s = TheState();
  std::lock_guard guard(s.lock);
  if (!s.document) return Refuse("NewPage", "no document begun");
  s.document->blankPage();
  return 1;
}

int EndDoc(void) {
  State& s = TheState();
  std::lock_guard guard(s.lock);
  if (!s.document) return Refuse("EndDoc", "no document begun");
  std::unique_ptr<Document> document = std::move(s.document);
  if (!document->finish()) return Refuse("EndDoc", "the file could not be completed");
  return 1;
}

}  // extern "C"
