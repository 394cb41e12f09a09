// The PDF maker's six calls driven by the input: each byte picks a call and
// its arguments, and the first bytes say which system call of the file
// writing fails (write, flush to disk, close, rename) and at which attempt.
// Whatever happens: a document that met a failure is refused by EndDoc and
// leaves no file; a document that EndDoc accepts is a whole PDF; no
// temporary file is left in the folder.

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pdf_session.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Which call fails, decided per input; plain functions need one place to
// read it from, and the fuzzer runs one input at a time.
struct Injection {
  int failingOp = 0;  // 0 none, 1 write, 2 sync, 3 close, 4 rename, 5 create
  int failAt = 0;     // the attempt of that op that fails, counted from 0
  int err = ENOSPC;
  bool shortWrite = false;  // a write that takes half and then no more
  int calls[6] = {};
  bool hit = false;  // the failure happened in the current document
};
Injection g;

bool Fails(int op) {
  if (g.failingOp != op) return false;
  if (g.calls[op]++ != g.failAt) return false;
  g.hit = true;
  return true;
}

int Create(char* name) {
  if (Fails(5)) {
    errno = g.err;
    return -1;
  }
  return dspdf::SystemFileOps().makeTemporary(name);
}
ssize_t Write(int fd, const void* data, size_t size) {
  if (Fails(1)) {
    if (g.shortWrite && size > 1) return ::write(fd, data, size / 2);
    errno = g.err;
    return -1;
  }
  // After a short write the disk stays full.
  if (g.hit && g.shortWrite && g.failingOp == 1) return 0;
  return ::write(fd, data, size);
}
int Sync(int fd) {
  if (Fails(2)) {
    errno = g.err;
    return -1;
  }
  return ::fsync(fd);
}
int Close(int fd) {
  const int rc = ::close(fd);
  if (Fails(3)) {
    errno = g.err;
    return -1;
  }
  return rc;
}
int Rename(const char* from, const char* to) {
  if (Fails(4)) {
    errno = g.err;
    return -1;
  }
  return ::rename(from, to);
}

dspdf::FileOps FailingOps() {
  dspdf::FileOps ops = dspdf::SystemFileOps();
  ops.makeTemporary = &Create;
  ops.write = &Write;
  ops.sync = &Sync;
  ops.close = &Close;
  ops.rename = &Rename;
  return ops;
}

QByteArray PictureOf(const QString& text) {
  QPicture picture;
  QPainter painter(&picture);
  painter.drawText(20, 40, text);
  painter.drawRect(10, 10, 200, 100);
  painter.end();
  return QByteArray(picture.data(), static_cast<qsizetype>(picture.size()));
}

bool OnlyTarget(const QDir& dir) {
  const QStringList left = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  return left.isEmpty() || (left.size() == 1 && left[0] == QLatin1String("out.pdf"));
}

bool WholePdf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray all = f.readAll();
  return all.startsWith("%PDF-") && all.trimmed().endsWith("%%EOF");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  g = Injection{};
  g.failingOp = data[0] % 6;
  g.shortWrite = (data[0] & 0x80) != 0;
  g.failAt = data[1] % 16;
  g.err = (data[2] & 1) ? ENOSPC : EIO;

  QTemporaryDir scratch;
  const QDir dir(scratch.path());
  const QString target = dir.filePath(QStringLiteral("out.pdf"));
  const QByteArray path = QFile::encodeName(target);
  const QByteArray picture =
      PictureOf(QString::fromLatin1(reinterpret_cast<const char*>(data),
                                    static_cast<qsizetype>(std::min<std::size_t>(size, 40))));

  auto session = std::make_unique<dspdf::Session>(FailingOps());
  bool open = false;
  bool hitInDocument = false;
  for (std::size_t i = 3; i < size; ++i) {
    const std::uint8_t b = data[i];
    switch (b % 6) {
      case 0:
        g.hit = false;
        open = session->beginDoc(path.constData()) == 1;
        // Beginning abandons the document before (its close may be the one
        // that fails); the new one can only meet a failed create.
        hitInDocument = g.hit && g.failingOp == 5;
        g.hit = hitInDocument;
        Require(open != hitInDocument);
        break;
      case 1:
        session->setPage((b >> 3) % 4, (b >> 5) % 3, 0, b >> 7);
        break;
      case 2:
        session->printPageM(picture.constData(), (b & 0x80) ? picture.size() / 2 : picture.size());
        break;
      case 3:
        session->newPage();
        break;
      case 4: {
        QFile::remove(target);
        const bool ended = session->endDoc() == 1;
        const bool failed = hitInDocument || g.hit;
        if (ended) Require(!failed && WholePdf(target));
        if (failed) Require(!ended && !QFile::exists(target));
        Require(OnlyTarget(dir));
        open = false;
        hitInDocument = false;
        g.hit = false;
        break;
      }
      default:
        session->printPageF("/nonexistent/picture");
        break;
    }
    if (open) hitInDocument = hitInDocument || g.hit;
  }
  session.reset();  // an open document is abandoned: its temporary file goes
  Require(OnlyTarget(dir));
  return 0;
}
