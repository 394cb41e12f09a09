// pul-sample OUT.pul: writes a synthetic resting recording with its result
// block computed, the record the build ships as bin/sample.pul.

#include <iostream>
#include <memory>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "sample_wave.h"
#include "storage/record_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Использование: pul-sample ФАЙЛ.pul\n";
    return 2;
  }
  auto record = std::make_unique<sfigmo::PulsogramRecord>();
  sfigmo::FillSampleRecord(*record, sfigmo::NormalRestingWave());
  const std::span<const std::int32_t> samples(record->Samples, record->SampleCount);
  const sfigmo::MarkTable marks = sfigmo::MarkBeats(samples);
  if (sfigmo::AcceptMarks(marks, record->SamplePeriod) == sfigmo::Rejection::None) {
    sfigmo::ComputeAll(samples, marks, record->SamplePeriod, record->Results);
  }
  const sfigmo::StorageError error = sfigmo::WriteRecord(argv[1], *record);
  if (!error.ok()) {
    std::cerr << sfigmo::StorageErrorText(error) << '\n';
    return 1;
  }
  return 0;
}
