#include "edf_writer.h"

#include <algorithm>
#include <cstdio>

namespace sfigmo {
namespace {

// Header fields: left-justified, blank-padded, and only printable ASCII,
// as the format requires. A text wider than its field is never cut (a cut
// number would read as another number): the header is marked as not fitting.
class Header {
 public:
  explicit Header(std::string& out) : out_(out) {}
  void operator()(const std::string& text, std::size_t width) {
    fits_ = fits_ && text.size() <= width;
    std::string f = text.substr(0, std::min(text.size(), width));
    for (char& c : f) {
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = ' ';
    }
    f.resize(width, ' ');
    out_ += f;
  }
  void operator()(std::int64_t number, std::size_t width) {
    (*this)(std::to_string(number), width);
  }
  bool fits() const { return fits_; }

 private:
  std::string& out_;
  bool fits_ = true;
};

std::string Signed(std::int64_t us) { return (us < 0 ? "-" : "+") + EdfSeconds(us < 0 ? -us : us); }

// One time-stamped annotation list: "+onset[\x15duration]\x14text\x14\0".
std::string Tal(const EdfAnnotation& a) {
  std::string tal = Signed(a.OnsetUs);
  if (a.DurationUs >= 0) tal += '\x15' + EdfSeconds(a.DurationUs);
  tal += '\x14';
  for (char c : a.Text) tal += c == '\0' || c == '\x14' || c == '\x15' ? ' ' : c;
  tal += "\x14";
  tal += '\0';
  return tal;
}

// The annotation bytes of each data record: its time-keeping list first,
// then the annotations whose onset falls within it (earlier ones in the
// first record, later ones in the last).
std::vector<std::string> AnnotationRecords(const EdfContent& c, std::size_t records) {
  std::vector<std::string> out(records);
  for (std::size_t r = 0; r < records; ++r) {
    out[r] = Signed(static_cast<std::int64_t>(r) * c.RecordDurationUs) + "\x14\x14";
    out[r] += '\0';
  }
  for (const EdfAnnotation& a : c.Annotations) {
    const std::int64_t at = std::max<std::int64_t>(a.OnsetUs, 0) / c.RecordDurationUs;
    out[std::min<std::size_t>(static_cast<std::size_t>(at), records - 1)] += Tal(a);
  }
  return out;
}

void AppendLe16(std::string& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>(u >> 8);
}

}  // namespace

std::string EdfSeconds(std::int64_t us) {
  std::string text = std::to_string(us / 1000000);
  std::string fraction = std::to_string(1000000 + us % 1000000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

std::string EdfBytes(const EdfContent& c) {
  const std::size_t n = static_cast<std::size_t>(std::max(c.SamplesPerRecord, 0));
  const std::string duration = EdfSeconds(c.RecordDurationUs);
  if (n == 0 || c.RecordDurationUs <= 0 || duration.size() > 8 || c.Samples.empty() ||
      c.Samples.size() % n != 0) {
    return {};
  }
  const std::size_t records = c.Samples.size() / n;
  std::vector<std::string> notes = AnnotationRecords(c, records);
  std::size_t noteBytes = 0;
  for (const std::string& r : notes) noteBytes = std::max(noteBytes, r.size());
  noteBytes += noteBytes % 2;  // whole 16-bit "samples"
  for (std::string& r : notes) r.resize(noteBytes, '\0');

  std::string out;
  out.reserve(768 + records * (n * 2 + noteBytes));
  Header field(out);
  field("0", 8);
  field(c.Patient, kEdfIdentificationWidth);
  field(c.Recording, kEdfIdentificationWidth);
  field(c.StartDate, 8);
  field(c.StartTime, 8);
  field(std::int64_t{256 * 3}, 8);
  field("EDF+C", 44);
  field(static_cast<std::int64_t>(records), 8);
  field(duration, 8);
  field(std::int64_t{2}, 4);
  const EdfSignal& s = c.Signal;
  // Signal fields are grouped by kind: every signal's label, then every
  // signal's transducer, and so on.
  field(s.Label, 16);
  field("EDF Annotations", 16);
  field(s.Transducer, 80);
  field("", 80);
  field(s.PhysicalDimension, 8);
  field("", 8);
  field(s.PhysicalMinimum, 8);
  field(std::int64_t{-1}, 8);
  field(s.PhysicalMaximum, 8);
  field(std::int64_t{1}, 8);
  field(s.DigitalMinimum, 8);
  field(std::int64_t{-32768}, 8);
  field(s.DigitalMaximum, 8);
  field(std::int64_t{32767}, 8);
  field(s.Prefiltering, 80);
  field("", 80);
  field(static_cast<std::int64_t>(n), 8);
  field(static_cast<std::int64_t>(noteBytes / 2), 8);
  field("", 32);
  field("", 32);
  if (!field.fits()) return {};

  for (std::size_t r = 0; r < records; ++r) {
    for (std::size_t k = 0; k < n; ++k) AppendLe16(out, c.Samples[r * n + k]);
    out += notes[r];
  }
  return out;
}

}  // namespace sfigmo
