// pul-sample [--maximal] OUT.pul: writes a synthetic resting recording with
// its result block computed, the record the build ships as bin/sample.pul;
// with --maximal, one that fills a record (for the figures).

#include <cstring>
#include <iostream>
#include <memory>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "sample_wave.h"
#include "storage/record_file.h"

int main(int argc, char** argv) {
  const bool maximal = argc == 3 && std::strcmp(argv[1], "--maximal") == 0;
  if (argc != 2 && !maximal) {
    std::cerr << "Использование: pul-sample [--maximal] ФАЙЛ.pul\n";
    return 2;
  }
  const char* out = argv[argc - 1];
  auto record = std::make_unique<sfigmo::PulsogramRecord>();
  sfigmo::FillSampleRecord(*record,
                           maximal ? sfigmo::MaximalRestingWave() : sfigmo::NormalRestingWave());
  const std::span<const std::int32_t> samples(record->Samples, record->SampleCount);
  const sfigmo::MarkTable marks = sfigmo::MarkBeats(samples);
  if (sfigmo::AcceptMarks(marks, record->SamplePeriod) == sfigmo::Rejection::None) {
    sfigmo::ComputeAll(samples, marks, record->SamplePeriod, record->Results);
  }
  const sfigmo::StorageError error = sfigmo::WriteRecord(out, *record);
  if (!error.ok()) {
    std::cerr << sfigmo::StorageErrorText(error) << '\n';
    return 1;
  }
  return 0;
}
