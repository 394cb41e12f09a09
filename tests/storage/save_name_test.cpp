#include "storage/save_name.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "record_builder.h"

namespace sfigmo {
namespace {

TEST(SaveName, DateAndTimePartsWhateverTheHour) {
  const struct {
    DateTimeParts when;
    const char* date;
    const char* time;
  } cases[] = {
      {{2026, 12, 7, 9, 5, 3}, "26_12_07_", "09_05_03"},
      {{2026, 12, 7, 10, 0, 0}, "26_12_07_", "10_00_00"},
      {{2000, 1, 31, 0, 0, 59}, "00_01_31_", "00_00_59"},
      {{1999, 10, 1, 23, 59, 9}, "99_10_01_", "23_59_09"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StoredDateText(c.when), c.date);
    EXPECT_EQ(StoredTimeText(c.when), c.time);
  }
}

std::unique_ptr<PulsogramRecord> Header(const std::string& name, const std::string& age,
                                        const std::string& sex) {
  test::RecordBuilder b;
  b.Patient(name, age, sex);
  EXPECT_TRUE(b.TextsStored());
  return b.Taken("26_12_07_", "09_05_03").Build();
}

TEST(SaveName, FieldsRunTogetherAsStored) {
  EXPECT_EQ(BuildSaveName(*Header("МЛТ", "67", "М")).Name, "МЛТ67М26_12_07_09_05_03.pul");
  // A 35-character name is stored, and named, as its first 30.
  const std::string thirtyFive = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабв";
  const SaveName n = BuildSaveName(*Header(thirtyFive, "67", "М"));
  EXPECT_EQ(n.Problem, NameProblem::None);
  EXPECT_EQ(n.Name, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ67М26_12_07_09_05_03.pul");
}

TEST(SaveName, NamesThatLeaveTheFolderAreRefused) {
  const struct {
    std::string name, age, sex;
    NameProblem problem;
  } cases[] = {
      {"../../x", "67", "М", NameProblem::Separator},
      {"a/b", "67", "М", NameProblem::Separator},
      {"Иванов", "6/7", "М", NameProblem::Separator},
      {"Иванов", "67", "/", NameProblem::Separator},
      {std::string("Ива\0нов", 7), "67", "М", NameProblem::Nul},
      {"..", "", "", NameProblem::None},  // "..26_12_07_09_05_03.pul" is an ordinary name
      {"?*:<>|\\", "67", "М", NameProblem::None},
  };
  for (const auto& c : cases) {
    const SaveName n = BuildSaveName(*Header(c.name, c.age, c.sex));
    EXPECT_EQ(n.Problem, c.problem) << n.Name;
    if (c.problem != NameProblem::None) {
      EXPECT_FALSE(NameProblemText(n).empty());
    }
  }
}

}  // namespace
}  // namespace sfigmo
