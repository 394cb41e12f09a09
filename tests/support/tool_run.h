#pragma once
// Runs a built command-line tool on records the tests make in a temporary
// folder, and reads what it printed.

#include <QJsonObject>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "record_builder.h"
#include "sample_wave.h"
#include "record/pulsogram_record.h"
#include "temp_dir.h"

namespace sfigmo::test {

struct RunResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

// Runs `exe` with `args` through the shell; `env` is prefixed to the command
// line ("LC_ALL=C.UTF-8" and the like).
RunResult RunProgram(const std::string& exe, const std::vector<std::string>& args,
                     const std::string& env);

// One QJsonObject per non-empty line of `out`; fails the test on bad JSON.
std::vector<QJsonObject> JsonLines(const std::string& out);

std::unique_ptr<PulsogramRecord> RecordOf(const SampleWave& wave);
void Save(const std::filesystem::path& file, const PulsogramRecord& record);
void SaveBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace sfigmo::test
