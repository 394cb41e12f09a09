// sfigmo-export edf -o FOLDER FILE.pul|FOLDER ...
// sfigmo-export csv [--separator C] [--decimal C] -o FILE.csv FILE.pul|FOLDER ...
// Hands stored measurements to other programs: each record as an EDF+ file
// with its beats marked, or the whole archive as one CSV table. A folder
// stands for every .pul file in it. Exit code 1 when any record could not be
// read or exported (the others still are), 2 for a wrong command line.

#include <QList>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/numeric_locale.h"
#include "csv_export.h"
#include "edf_export.h"
#include "export_output.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"

namespace fs = std::filesystem;
using namespace sfigmo;

namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  sfigmo-export edf -o ПАПКА ФАЙЛ.pul|ПАПКА ...\n"
    "      каждая запись — файл EDF+ <имя записи>.edf в ПАПКЕ, удары отмечены\n"
    "  sfigmo-export csv [--separator С] [--decimal С] -o ФАЙЛ.csv ФАЙЛ.pul|ПАПКА ...\n"
    "      одна строка таблицы на запись, по дате; по умолчанию «;» и «,» при\n"
    "      русских настройках, иначе «,» и «.»; --separator tab — табуляция\n";

struct Options {
  std::string Command;
  std::string Output;
  std::optional<char> Separator, Decimal;
  std::vector<std::string> Paths;
};

// One character of the command line (UTF-8) as the byte the table uses;
// the reason in Russian when it is not one.
std::string OneChar(const std::string& text, std::optional<char>& out) {
  if (text == "tab" || text == "\\t") {
    out = '\t';
    return {};
  }
  const QList<uint> chars = QString::fromUtf8(text.data(), qsizetype(text.size())).toUcs4();
  if (chars.size() != 1) return "ждёт один символ, а не «" + text + "»";
  // The table is written byte by byte; a letter outside ASCII would take
  // two or more, and its bytes could appear inside other fields' letters.
  if (chars[0] > 0x7F)
    return "принимает только символ ASCII (латиница, цифра, знак), а не «" + text + "»";
  out = static_cast<char>(chars[0]);
  return {};
}

// Parses the command line; prints the reason and returns false when wrong.
bool ParseOptions(int argc, char** argv, Options& opt) {
  bool onlyPaths = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (onlyPaths) {
      opt.Paths.push_back(arg);
    } else if (arg == "--") {
      onlyPaths = true;
    } else if (arg == "-o" && hasValue) {
      opt.Output = argv[++i];
    } else if ((arg == "--separator" || arg == "--decimal") && hasValue) {
      std::optional<char>& slot = arg == "--separator" ? opt.Separator : opt.Decimal;
      if (const std::string problem = OneChar(argv[++i], slot); !problem.empty()) {
        std::cerr << "Ключ " << arg << " " << problem << '\n';
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::cerr << "Неизвестный ключ или нет значения: «" << arg << "»\n";
      return false;
    } else if (opt.Command.empty()) {
      opt.Command = arg;
    } else {
      opt.Paths.push_back(arg);
    }
  }
  if (opt.Command != "edf" && opt.Command != "csv") {
    std::cerr << (opt.Command.empty() ? std::string("Не указано, что делать (edf или csv)")
                                      : "Неизвестная команда «" + opt.Command + "»")
              << '\n';
    return false;
  }
  if (opt.Output.empty() || opt.Paths.empty()) {
    std::cerr << "Нужны -o и хотя бы один файл или папка\n";
    return false;
  }
  if (opt.Command == "edf" && (opt.Separator || opt.Decimal)) {
    std::cerr << "--separator и --decimal относятся только к csv\n";
    return false;
  }
  return true;
}

// The record files the arguments stand for, a folder's in name order; false
// when a folder could not be listed.
bool CollectFiles(const std::vector<std::string>& args, std::vector<fs::path>& files) {
  bool ok = true;
  for (const std::string& arg : args) {
    std::error_code ec;
    if (!fs::is_directory(arg, ec)) {
      files.emplace_back(arg);
      continue;
    }
    RecordListing listing = ListRecordFiles(arg);
    if (!listing.Error.ok()) {
      std::cerr << StorageErrorText(listing.Error) << '\n';
      ok = false;
      continue;
    }
    if (listing.Names.empty()) std::cerr << "В папке «" << arg << "» нет файлов .pul\n";
    std::sort(listing.Names.begin(), listing.Names.end());
    for (const std::string& name : listing.Names) files.push_back(fs::path(arg) / name);
  }
  return ok;
}

int RunEdf(const Options& opt, const std::vector<fs::path>& files, bool allListed) {
  const fs::path folder = opt.Output;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    std::cerr << "Не удалось создать папку «" << folder.string() << "»: "
              << (fs::exists(folder) ? std::string("это файл, а не папка")
                                     : FileErrorReason(ec.value()))
              << '\n';
    return 1;
  }
  const InputFiles inputs(files);
  bool allDone = allListed;
  std::map<fs::path, fs::path> written;  // output -> the record it came from
  auto record = std::make_unique<PulsogramRecord>();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const fs::path& file = files[i];
    const StorageError error = ReadRecord(file, *record);
    if (!error.ok()) {
      std::cerr << StorageErrorText(error) << '\n';
      allDone = false;
      continue;
    }
    const fs::path target = folder / file.filename().replace_extension(".edf");
    if (const auto it = written.find(target); it != written.end()) {
      std::cerr << "Файл «" << file.string() << "» не выгружен: «" << target.string()
                << "» уже занят записью «" << it->second.string() << "»\n";
      allDone = false;
      continue;
    }
    if (const std::string refusal = OutputRefusal(target, inputs); !refusal.empty()) {
      std::cerr << "Файл «" << file.string() << "» не выгружен. " << refusal << '\n';
      allDone = false;
      continue;
    }
    const EdfExport edf = ExportEdf(*record);
    if (edf.Refusal != EdfRefusal::None) {
      std::cerr << "Файл «" << file.string() << "» не выгружен: " << EdfRefusalText(edf.Refusal)
                << '\n';
      allDone = false;
      continue;
    }
    for (const std::string& note : edf.Notes)
      std::cerr << "Файл «" << file.string() << "» выгружен с пометкой о повреждении: " << note
                << '\n';
    if (edf.Bytes.empty()) {  // the writer cuts no field; none should be too wide
      std::cerr << "Файл «" << file.string()
                << "» не выгружен: поля записи не помещаются в заголовок EDF\n";
      allDone = false;
      continue;
    }
    if (const OutputResult out = WriteOutput(target, edf.Bytes); !out.ok()) {
      std::cerr << out.Error << '\n';
      allDone = false;
      if (out.DiskFailure() && i + 1 < files.size()) {
        std::cerr << "Выгрузка остановлена, остальные записи не выгружены: " << files.size() - i - 1
                  << '\n';
        break;
      }
      continue;
    }
    written.emplace(target, file);
  }
  return allDone ? 0 : 1;
}

int RunCsv(const Options& opt, const std::vector<fs::path>& files, bool allListed) {
  CsvFormat format = LocaleCsvFormat(UserDecimalSeparator());
  if (opt.Decimal) {
    format.Decimal = *opt.Decimal;
    // A comma decimal mark with the default separator would need quoting in
    // every number: the separator follows it unless given.
    if (!opt.Separator) format.Separator = LocaleCsvFormat(*opt.Decimal).Separator;
  }
  if (opt.Separator) format.Separator = *opt.Separator;
  if (const std::string problem = CsvFormatProblem(format); !problem.empty()) {
    std::cerr << problem << '\n' << kUsage;
    return 2;
  }
  // Refused before anything is read: a record or any input is never
  // overwritten with the table.
  if (const std::string refusal = OutputRefusal(opt.Output, InputFiles(files)); !refusal.empty()) {
    std::cerr << refusal << ". Укажите для таблицы другой файл\n";
    return 2;
  }
  const CsvTable table = BuildCsvTable(files, format);
  for (const StorageError& error : table.Errors) std::cerr << StorageErrorText(error) << '\n';
  if (const OutputResult out = WriteOutput(opt.Output, table.Text); !out.ok()) {
    std::cerr << out.Error << '\n';
    return 1;
  }
  return allListed && table.Errors.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that closes the pipe of "-o /dev/stdout" is a write error to
  // report, not a reason to die silently.
  std::signal(SIGPIPE, SIG_IGN);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--") break;
  }
  Options opt;
  if (!ParseOptions(argc, argv, opt)) {
    std::cerr << kUsage;
    return 2;
  }
  std::vector<fs::path> files;
  const bool allListed = CollectFiles(opt.Paths, files);
  return opt.Command == "edf" ? RunEdf(opt, files, allListed) : RunCsv(opt, files, allListed);
}
