#include "storage/save_name.h"

#include <cstdio>
#include <cstdlib>
#include <span>

#include "record/short_string.h"

namespace sfigmo {
namespace {

// Two decimal digits of a calendar value; the year keeps only its last two.
std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", std::abs(value) % 100);
  return text;
}

}  // namespace

std::string StoredDateText(const DateTimeParts& when) {
  return TwoDigits(when.Year) + "_" + TwoDigits(when.Month) + "_" + TwoDigits(when.Day) + "_";
}

std::string StoredTimeText(const DateTimeParts& when) {
  return TwoDigits(when.Hour) + "_" + TwoDigits(when.Minute) + "_" + TwoDigits(when.Second);
}

SaveName BuildSaveName(const PulsogramRecord& r) {
  SaveName out;
  out.Name = GetShortString(r.PatientName) + GetShortString(r.PatientAge) +
             GetShortString(r.PatientSex) + GetShortString(r.DateText) +
             GetShortString(r.TimeText) + ".pul";
  if (out.Name.find('/') != std::string::npos) {
    out.Problem = NameProblem::Separator;
  } else if (out.Name.find('\0') != std::string::npos) {
    out.Problem = NameProblem::Nul;
  } else if (out.Name == "." || out.Name == "..") {
    out.Problem = NameProblem::DotName;
  }
  return out;
}

std::string NameProblemText(const SaveName& name) {
  switch (name.Problem) {
    case NameProblem::None:
      return {};
    case NameProblem::Separator:
      return "Измерение не сохранено: имя файла не может содержать знак «/». "
             "Уберите его из полей ПАЦИЕНТ, ВОЗРАСТ и ПОЛ.";
    case NameProblem::Nul:
      return "Измерение не сохранено: поля ПАЦИЕНТ, ВОЗРАСТ и ПОЛ содержат нулевой символ, "
             "которого не может быть в имени файла.";
    case NameProblem::DotName:
      return "Измерение не сохранено: «" + name.Name + "» не может быть именем файла.";
  }
  return {};
}

}  // namespace sfigmo
