#include "record_builder.h"

#include <cstring>
#include <random>

#include "record/short_string.h"

namespace sfigmo::test {

RecordBuilder::RecordBuilder() : record_(std::make_unique<PulsogramRecord>()) {}

RecordBuilder& RecordBuilder::Wave(const SampleWave& wave) {
  FillSampleRecord(*record_, wave);
  return *this;
}

RecordBuilder& RecordBuilder::PulseWave(const SampleWave& wave) {
  const std::vector<std::int32_t> samples = MakeSampleWave(wave);
  return Samples(static_cast<int>(samples.size()), wave.SamplePeriod,
                 [&](int i) { return samples[static_cast<std::size_t>(i)]; });
}

RecordBuilder& RecordBuilder::Noise(unsigned seed) {
  std::mt19937 gen(seed);
  auto* bytes = reinterpret_cast<std::uint8_t*>(record_.get());
  for (std::size_t i = 0; i < kRecordSize; ++i) bytes[i] = static_cast<std::uint8_t>(gen());
  record_->Results.Reserved = 0.0;
  return *this;
}

RecordBuilder& RecordBuilder::Garbage(std::uint8_t byte) {
  std::memset(static_cast<void*>(record_.get()), byte, sizeof(PulsogramRecord));
  return *this;
}

void RecordBuilder::Text(std::span<std::uint8_t> field, const std::string& text) {
  if (SetShortString(field, text)) textsStored_ = false;
}

RecordBuilder& RecordBuilder::Patient(const std::string& name) {
  Text(record_->PatientName, name);
  return *this;
}

RecordBuilder& RecordBuilder::Patient(const std::string& name, const std::string& age,
                                      const std::string& sex) {
  Patient(name);
  Text(record_->PatientAge, age);
  Text(record_->PatientSex, sex);
  return *this;
}

RecordBuilder& RecordBuilder::Taken(const std::string& date, const std::string& time) {
  Text(record_->DateText, date);
  Text(record_->TimeText, time);
  return *this;
}

RecordBuilder& RecordBuilder::Samples(int count, double period,
                                      const std::function<std::int32_t(int)>& sample) {
  for (int i = 0; i < count; ++i) record_->Samples[i] = sample(i);
  return Count(count).Period(period);
}

RecordBuilder& RecordBuilder::Count(int count) {
  record_->SampleCount = static_cast<std::uint16_t>(count);
  return *this;
}

RecordBuilder& RecordBuilder::Period(double period) {
  record_->SamplePeriod = period;
  return *this;
}

RecordBuilder& RecordBuilder::Results(const AnalysisResults& results) {
  record_->Results = results;
  return *this;
}

std::unique_ptr<PulsogramRecord> RecordBuilder::Build() const {
  return std::make_unique<PulsogramRecord>(*record_);
}

std::string Bytes(const PulsogramRecord& record) {
  return std::string(reinterpret_cast<const char*>(&record), kRecordSize);
}

}  // namespace sfigmo::test
