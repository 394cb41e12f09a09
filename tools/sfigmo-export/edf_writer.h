#pragma once
// A minimal EDF+C writer: one ordinary signal of 16-bit samples and the
// "EDF Annotations" signal. Times are whole microseconds, so every onset and
// the data-record duration are written exactly as computed. Pure: the file
// comes back as bytes; any thread.

#include <cstdint>
#include <string>
#include <vector>

namespace sfigmo {

struct EdfAnnotation {
  std::int64_t OnsetUs = 0;
  std::int64_t DurationUs = -1;  // none when negative
  std::string Text;              // UTF-8; 0x00, 0x14, 0x15 are written as blanks
};

struct EdfSignal {
  std::string Label;              // at most 16 printable ASCII characters
  std::string Transducer;         // 80
  std::string PhysicalDimension;  // 8
  std::string Prefiltering;       // 80
  std::int32_t PhysicalMinimum = -32768;
  std::int32_t PhysicalMaximum = 32767;
  std::int32_t DigitalMinimum = -32768;
  std::int32_t DigitalMaximum = 32767;
};

// Width of the patient and of the recording identification.
inline constexpr std::size_t kEdfIdentificationWidth = 80;

struct EdfContent {
  std::string Patient;    // EDF+ local patient identification, printable ASCII
  std::string Recording;  // EDF+ local recording identification
  std::string StartDate;  // "dd.mm.yy" (or "dd.mm.yy" with yy literal, as EDF+ allows)
  std::string StartTime;  // "hh.mm.ss"
  std::int64_t RecordDurationUs = 0;
  int SamplesPerRecord = 0;
  EdfSignal Signal;
  std::vector<std::int16_t> Samples;  // a whole number of data records
  std::vector<EdfAnnotation> Annotations;
};

// The seconds of `us` in the shortest decimal form ("12.8", "0.000001", "3").
std::string EdfSeconds(std::int64_t us);

// The whole file. Empty when the content breaks the format's rules
// (duration not positive or wider than 8 characters, samples not a whole
// number of records, no records at all, a header text or number wider than
// its field: nothing is ever cut).
std::string EdfBytes(const EdfContent& content);

}  // namespace sfigmo
