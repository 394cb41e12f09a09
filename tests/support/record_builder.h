#pragma once
// .pul records for tests, built field by field, and a record's bytes as a
// file holds them.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "sample_wave.h"
#include "record/pulsogram_record.h"

namespace sfigmo::test {

class RecordBuilder {
 public:
  RecordBuilder();  // every byte zero

  // Starts over from the sample recording of `wave` (its header included).
  RecordBuilder& Wave(const SampleWave& wave);
  // Only the samples, count and period of `wave`: a recording the check
  // accepts under the header and results already given.
  RecordBuilder& PulseWave(const SampleWave& wave);
  // Every byte from a generator seeded with `seed`, the reserved result
  // excepted, so that a writer that drops or moves any byte shows up.
  RecordBuilder& Noise(unsigned seed);
  // Every byte `byte`: what lies past the samples counted is garbage.
  RecordBuilder& Garbage(std::uint8_t byte);

  RecordBuilder& Patient(const std::string& name);  // age and sex as they are
  RecordBuilder& Patient(const std::string& name, const std::string& age, const std::string& sex);
  RecordBuilder& Taken(const std::string& date, const std::string& time);
  // Samples 0..count-1 from `sample(index)`; the count and the period.
  RecordBuilder& Samples(int count, double period, const std::function<std::int32_t(int)>& sample);
  RecordBuilder& Count(int count);
  RecordBuilder& Period(double period);
  RecordBuilder& Results(const AnalysisResults& results);

  // Whether every text given was stored (Windows-1251 has all its letters).
  bool TextsStored() const { return textsStored_; }
  std::unique_ptr<PulsogramRecord> Build() const;

 private:
  void Text(std::span<std::uint8_t> field, const std::string& text);

  std::unique_ptr<PulsogramRecord> record_;
  bool textsStored_ = true;
};

// The record's bytes, as WriteRecord lays them in a file.
std::string Bytes(const PulsogramRecord& record);

}  // namespace sfigmo::test
