#include "export_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QJsonDocument>
#include <fstream>
#include <span>
#include <sstream>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"

namespace sfigmo::test {

namespace fs = std::filesystem;

namespace {

QJsonDocument RunReader(const char* script, const std::vector<std::string>& args) {
  std::vector<std::string> all = {std::string(SFIGMO_EXPORT_SCRIPTS) + "/" + script};
  all.insert(all.end(), args.begin(), args.end());
  const RunResult r = RunProgram(SFIGMO_PYTHON, all, "LC_ALL=C.UTF-8 PYTHONIOENCODING=utf-8");
  EXPECT_EQ(r.ExitCode, 0) << script << ": " << r.Err;
  return QJsonDocument::fromJson(QByteArray::fromStdString(r.Out));
}

}  // namespace

RunResult RunExport(const std::vector<std::string>& args, const std::string& env) {
  return RunProgram(SFIGMO_EXPORT_EXE, args, env);
}

QJsonObject ReadEdf(const fs::path& file) {
  return RunReader("edf_read.py", {file.string()}).object();
}

std::vector<std::vector<std::string>> ReadCsv(const fs::path& file, char separator) {
  std::vector<std::vector<std::string>> rows;
  for (const QJsonValue& row :
       RunReader("csv_read.py", {file.string(), std::string(1, separator)}).array()) {
    rows.emplace_back();
    for (const QJsonValue& field : row.toArray())
      rows.back().push_back(field.toString().toStdString());
  }
  return rows;
}

std::string RussianNumericEnv(const TempDir& folder) {
  const std::string build =
      "localedef -i ru_RU -f UTF-8 " + (folder / "ru_RU.UTF-8").string() + " >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) return "";
  return "LOCPATH=" + folder.path().string() + " LC_ALL= LANG=C.UTF-8 LC_NUMERIC=ru_RU.UTF-8";
}

std::unique_ptr<PulsogramRecord> Calculated(std::unique_ptr<PulsogramRecord> record) {
  const std::span<const std::int32_t> samples(record->Samples, record->SampleCount);
  ComputeAll(samples, MarkBeats(samples), record->SamplePeriod, record->Results);
  return record;
}

}  // namespace sfigmo::test
