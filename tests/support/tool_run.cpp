#include "tool_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QJsonDocument>
#include <QJsonParseError>
#include <fstream>
#include <sstream>

#include "storage/record_file.h"

namespace sfigmo::test {

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

RunResult RunProgram(const std::string& exe, const std::vector<std::string>& args,
                     const std::string& env) {
  TempDir io;
  std::string cmd = env + " " + Quote(exe);
  for (const std::string& a : args) cmd += " " + Quote(a);
  cmd += " >" + Quote((io / "out").string()) + " 2>" + Quote((io / "err").string());
  const int status = std::system(cmd.c_str());
  RunResult r;
  r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.Out = FileBytes(io / "out");
  r.Err = FileBytes(io / "err");
  return r;
}

std::vector<QJsonObject> JsonLines(const std::string& out) {
  std::vector<QJsonObject> objects;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    EXPECT_TRUE(doc.isObject()) << line;
    objects.push_back(doc.object());
  }
  return objects;
}

std::unique_ptr<PulsogramRecord> RecordOf(const SampleWave& wave) {
  return RecordBuilder().Wave(wave).Build();
}

void Save(const fs::path& file, const PulsogramRecord& record) {
  ASSERT_TRUE(WriteRecord(file, record).ok()) << file;
}

void SaveBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace sfigmo::test
