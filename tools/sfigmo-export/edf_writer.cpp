#include "edf_writer.h"

#include <algorithm>
#include <cstdio>

namespace sfigmo {
namespace {

// A header field: left-justified, blank-padded, cut to its width, and only
// printable ASCII, as the format requires.
void Field(std::string& out, const std::string& text, std::size_t width) {
  std::string f = text.substr(0, std::min(text.size(), width));
  for (char& c : f) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = ' ';
  }
  f.resize(width, ' ');
  out += f;
}

void Field(std::string& out, std::int64_t number, std::size_t width) {
  Field(out, std::to_string(number), width);
}

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
  Field(out, "0", 8);
  Field(out, c.Patient, 80);
  Field(out, c.Recording, 80);
  Field(out, c.StartDate, 8);
  Field(out, c.StartTime, 8);
  Field(out, 256 * 3, 8);
  Field(out, "EDF+C", 44);
  Field(out, static_cast<std::int64_t>(records), 8);
  Field(out, duration, 8);
  Field(out, 2, 4);
  const EdfSignal& s = c.Signal;
  // Signal fields are grouped by kind: every signal's label, then every
  // signal's transducer, and so on.
  Field(out, s.Label, 16);
  Field(out, "EDF Annotations", 16);
  Field(out, s.Transducer, 80);
  Field(out, "", 80);
  Field(out, s.PhysicalDimension, 8);
  Field(out, "", 8);
  Field(out, s.PhysicalMinimum, 8);
  Field(out, -1, 8);
  Field(out, s.PhysicalMaximum, 8);
  Field(out, 1, 8);
  Field(out, s.DigitalMinimum, 8);
  Field(out, -32768, 8);
  Field(out, s.DigitalMaximum, 8);
  Field(out, 32767, 8);
  Field(out, s.Prefiltering, 80);
  Field(out, "", 80);
  Field(out, static_cast<std::int64_t>(n), 8);
  Field(out, static_cast<std::int64_t>(noteBytes / 2), 8);
  Field(out, "", 32);
  Field(out, "", 32);

  for (std::size_t r = 0; r < records; ++r) {
    for (std::size_t k = 0; k < n; ++k) AppendLe16(out, c.Samples[r * n + k]);
    out += notes[r];
  }
  return out;
}

}  // namespace sfigmo
