#pragma once
// Runs the built sfigmo-analyze on records the tests make in a temporary folder.

#include <QJsonObject>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "record_builder.h"
#include "sample_wave.h"
#include "storage/pulsogram_record.h"
#include "temp_dir.h"

namespace sfigmo::test {

struct RunResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// `env` is prefixed to the command line ("LC_ALL=C.UTF-8" and the like).
RunResult RunAnalyze(const std::vector<std::string>& args,
                     const std::string& env = "LC_ALL=C.UTF-8");

// One QJsonObject per non-empty line of `out`; fails the test on bad JSON.
std::vector<QJsonObject> JsonLines(const std::string& out);

std::unique_ptr<PulsogramRecord> RecordOf(const SampleWave& wave);
void Save(const std::filesystem::path& file, const PulsogramRecord& record);
void SaveBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace sfigmo::test
