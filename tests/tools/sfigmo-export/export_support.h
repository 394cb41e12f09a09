#pragma once
// Runs the built sfigmo-export and reads what it wrote back through the
// independent Python readers beside this file.

#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tool_run.h"

namespace sfigmo::test {

RunResult RunExport(const std::vector<std::string>& args,
                    const std::string& env = "LC_ALL=C.UTF-8");

// The EDF+ file as edf_read.py parsed it; fails the test when the reader
// finds the file invalid (its reason in the failure message).
QJsonObject ReadEdf(const std::filesystem::path& file);

// The rows of a CSV file as Python's csv module splits them.
std::vector<std::vector<std::string>> ReadCsv(const std::filesystem::path& file, char separator);

// The environment of a Russian numeric locale built into `folder`; empty
// when this machine cannot build one.
std::string RussianNumericEnv(const TempDir& folder);

// `record` with its results computed and stored, as saving leaves it.
std::unique_ptr<PulsogramRecord> Calculated(std::unique_ptr<PulsogramRecord> record);

}  // namespace sfigmo::test
