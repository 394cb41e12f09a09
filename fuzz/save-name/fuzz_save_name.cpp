// Input: six calendar values, then the header bytes of a record as a file
// holds them (a damaged file too), then UTF-8 text typed into the patient
// field. The stored date and time always have their fixed forms; a name is
// either refused or one plain file name ending in ".pul".
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "record/pulsogram_record.h"
#include "storage/save_name.h"
#include "record/short_string.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckName(const sfigmo::PulsogramRecord& record) {
  const sfigmo::SaveName n = sfigmo::BuildSaveName(record);
  if (n.Problem != sfigmo::NameProblem::None) {
    Check(!sfigmo::NameProblemText(n).empty());
    return;
  }
  Check(n.Name.find('/') == std::string::npos);
  Check(n.Name.find('\0') == std::string::npos);
  Check(n.Name != "." && n.Name != "..");
  Check(n.Name.size() >= 4 && n.Name.compare(n.Name.size() - 4, 4, ".pul") == 0);
  Check(n.Name.size() <= 255);  // one file name, whatever the fields hold
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sfigmo;
  int parts[6] = {};
  const std::size_t partBytes = sizeof parts < size ? sizeof parts : size;
  std::memcpy(parts, data, partBytes);
  data += partBytes;
  size -= partBytes;
  const DateTimeParts when{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
  Check(StoredDateText(when).size() == 9);
  Check(StoredTimeText(when).size() == 8);

  auto record = std::make_unique<PulsogramRecord>();
  const std::size_t header = offsetof(PulsogramRecord, Gain);
  const std::size_t headerBytes = header < size ? header : size;
  std::memcpy(record.get(), data, headerBytes);
  data += headerBytes;
  size -= headerBytes;
  CheckName(*record);

  // Typed text, then the save's own date and time.
  const std::string_view typed(reinterpret_cast<const char*>(data), size);
  SetShortString(record->PatientName, typed);
  SetShortString(record->DateText, StoredDateText(when));
  SetShortString(record->TimeText, StoredTimeText(when));
  CheckName(*record);
  return 0;
}
