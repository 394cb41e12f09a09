#include "record/short_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record/cp1251.h"
#include "record/pulsogram_record.h"

namespace sfigmo {
namespace {

const std::string kUpper = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
const std::string kLower = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

TEST(Cp1251, EveryCyrillicLetterRoundTrips) {
  const std::string text = kUpper + kLower + "№ ЂЃѓЉЊЌЋЏђљњќћџЎўЈҐЄЇІіґєјЅѕї€«»—–…";
  const Cp1251Text bytes = Utf8ToCp1251(text);
  ASSERT_FALSE(bytes.Failure);
  EXPECT_EQ(Cp1251ToUtf8(bytes.Bytes), text);
  // A few fixed points of the code page.
  EXPECT_EQ(Utf8ToCp1251("Ё").Bytes, "\xA8");
  EXPECT_EQ(Utf8ToCp1251("ё").Bytes, "\xB8");
  EXPECT_EQ(Utf8ToCp1251("№").Bytes, "\xB9");
  EXPECT_EQ(Utf8ToCp1251("А").Bytes, "\xC0");
  EXPECT_EQ(Utf8ToCp1251("я").Bytes, "\xFF");
  EXPECT_EQ(Utf8ToCp1251("€").Bytes, "\x88");
}

TEST(Cp1251, EveryByteReadsAsOneCharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    if (b != 0x98) all += static_cast<char>(b);
  }
  const Cp1251Text back = Utf8ToCp1251(Cp1251ToUtf8(all));
  ASSERT_FALSE(back.Failure);
  EXPECT_EQ(back.Bytes, all);
  // The one unassigned byte of a damaged file reads as the replacement mark,
  // which cannot be stored again.
  EXPECT_EQ(Cp1251ToUtf8("a\x98"), "a\uFFFD");
  EXPECT_TRUE(Utf8ToCp1251("\uFFFD").Failure);
}

TEST(Cp1251, MissingCharactersAreRefusedNotMangled) {
  for (const std::string text : {"Андрей ā", "пульс 😀", "中", "Ï"}) {
    const Cp1251Text r = Utf8ToCp1251(text);
    ASSERT_TRUE(r.Failure) << text;
    EXPECT_FALSE(r.Failure->BrokenUtf8);
    EXPECT_NE(EncodingFailureText(*r.Failure).find("Windows-1251"), std::string::npos);
  }
  const Cp1251Text r = Utf8ToCp1251("Андрей ā");
  EXPECT_EQ(r.Failure->Character, U'ā');
  EXPECT_EQ(r.Failure->Offset, std::string("Андрей ").size());
  EXPECT_NE(EncodingFailureText(*r.Failure).find("«ā»"), std::string::npos);
}

TEST(Cp1251, BrokenUtf8IsRefused) {
  for (const std::string& text :
       {std::string("\xD0"), std::string("a\x80"), std::string("\xC0\xAF"),
        std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"), std::string("\xE0\x80")}) {
    const Cp1251Text r = Utf8ToCp1251(text);
    ASSERT_TRUE(r.Failure);
    EXPECT_TRUE(r.Failure->BrokenUtf8);
  }
}

TEST(ShortString, CutToCapacityInCharacters) {
  PulsogramRecord rec{};
  const std::string name31 = "Иванов-Петровский Александр Ни";  // 30 characters
  ASSERT_EQ(Utf8ToCp1251(name31).Bytes.size(), 30u);
  ASSERT_FALSE(SetShortString(rec.PatientName, name31 + "к"));
  EXPECT_EQ(rec.PatientName[0], 30);
  EXPECT_EQ(GetShortString(rec.PatientName), name31);

  std::string note;
  for (int i = 0; i < 30; ++i) note += "строка " + std::to_string(i) + "\r\n";
  ASSERT_GT(note.size(), 255u);
  ASSERT_FALSE(SetShortString(rec.GeneralInfo, note));
  EXPECT_EQ(rec.GeneralInfo[0], 255);
  const std::string stored = Utf8ToCp1251(GetShortString(rec.GeneralInfo)).Bytes;
  EXPECT_EQ(stored, Utf8ToCp1251(note).Bytes.substr(0, 255));

  ASSERT_FALSE(SetShortString(rec.PatientSex, "жен"));
  EXPECT_EQ(GetShortString(rec.PatientSex), "жен");
  ASSERT_FALSE(SetShortString(rec.PatientSex, ""));
  EXPECT_EQ(GetShortString(rec.PatientSex), "");
}

TEST(ShortString, RefusalLeavesTheFieldAsItWas) {
  PulsogramRecord rec{};
  ASSERT_FALSE(SetShortString(rec.PatientName, "Сидорова"));
  std::uint8_t before[sizeof rec.PatientName];
  std::memcpy(before, rec.PatientName, sizeof before);
  const auto failure = SetShortString(rec.PatientName, "Zoe 🙂");
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Character, U'🙂');
  EXPECT_EQ(std::memcmp(before, rec.PatientName, sizeof before), 0);
}

TEST(ShortString, BytesAfterTheTextAreKeptAndIgnored) {
  PulsogramRecord rec{};
  std::memset(rec.DateText, 'Z', sizeof rec.DateText);
  ASSERT_FALSE(SetShortString(rec.DateText, "26_12_07_"));
  EXPECT_EQ(rec.DateText[0], 9);
  EXPECT_EQ(rec.DateText[10], 'Z');
  EXPECT_EQ(GetShortString(rec.DateText), "26_12_07_");
}

TEST(ShortString, DamagedLengthByteIsHeldToTheCapacity) {
  PulsogramRecord rec{};
  std::memset(rec.TimeText, 'x', sizeof rec.TimeText);
  rec.TimeText[0] = 250;  // far beyond capacity 10
  EXPECT_EQ(GetShortString(rec.TimeText), std::string(10, 'x'));
}

}  // namespace
}  // namespace sfigmo
