#pragma once
// One stored measurement as an EDF+C file: the wave as it is stored, the
// beat marks and the findings of the analysis as annotations, the patient
// and recording fields in ASCII. Pure; any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "edf_writer.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// How the wave is cut into data records: `SamplesPerRecord` samples of
// `DurationUs` each (at most 8 characters in the header).
struct DataRecordLayout {
  int SamplesPerRecord = 0;
  std::int64_t DurationUs = 0;
};

// Largest relative difference allowed between the rate the header gives
// (samples per record / duration) and 1 / SamplePeriod.
inline constexpr double kMaxRateError = 1e-6;

// The smallest divisor n of `sampleCount` whose duration n x `period`,
// written as the header's 8 characters allow, lasts at least a second and
// keeps the rate within kMaxRateError; the whole wave in one record when no
// divisor does and that record does. None when nothing does (only a wave
// shorter than half a second can fail) or the arguments are unusable.
std::optional<DataRecordLayout> ChooseDataRecord(int sampleCount, double period);

// Why a record cannot be exported. The first three are the record's
// judgement (record_judgement.h): a record that is no pulse recording.
enum class EdfRefusal {
  None,
  Period,       // the sample period is not one the sensor can produce
  NoSamples,    // SampleCount 0
  Pulse,        // the marks give a pulse no person has
  SampleRange,  // a sample outside the 16 bits EDF holds
  TooShort,     // no data-record duration keeps the rate within kMaxRateError
};

struct EdfExport {
  EdfRefusal Refusal = EdfRefusal::None;
  std::string Bytes;               // the file, when not refused
  std::vector<std::string> Notes;  // what the annotations had to say about damage (UTF-8)
};

EdfExport ExportEdf(const PulsogramRecord& record);

// The Russian reason for a refusal (UTF-8).
std::string EdfRefusalText(EdfRefusal refusal);

// The EDF+ patient field: code, sex (F, M or X), birth date (X: the record
// holds an age only), name, then the age as an extra subfield "Age:<age>".
std::string EdfPatientField(const PulsogramRecord& record);

}  // namespace sfigmo
