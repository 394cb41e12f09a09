// The names every output gives the analysis' outcomes: each one distinct, so
// no two outcomes read alike, and each machine word leads back to its value.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "analysis/signal_quality.h"

namespace sfigmo {
namespace {

template <typename Enum, std::size_t N>
void ExpectDistinctLabels(const std::array<EnumLabel<Enum>, N>& table, const char* what) {
  std::set<std::string_view> words, texts;
  for (const EnumLabel<Enum>& row : table) {
    SCOPED_TRACE(std::string(what) + " " + std::string(row.word));
    EXPECT_FALSE(row.word.empty());
    EXPECT_FALSE(row.text.empty());
    EXPECT_TRUE(words.insert(row.word).second) << "word twice";
    EXPECT_TRUE(texts.insert(row.text).second) << "text twice";
    // Plain lower-case ASCII: scripts match the JSON and the annotations on them.
    for (const char c : row.word)
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') << c;
    EXPECT_EQ(Label(row.value).word, row.word);
    EXPECT_EQ(ValueOfWord(table, row.word), row.value);
  }
  EXPECT_FALSE(ValueOfWord(table, "").has_value()) << what;
  EXPECT_FALSE(ValueOfWord(table, "accepted").has_value()) << what;
}

TEST(EnumLabels, EveryValueHasADistinctWordAndTextThatRoundTrips) {
  ExpectDistinctLabels(kRejectionLabels, "Rejection");
  ExpectDistinctLabels(kCalcStopLabels, "CalcStop");
  ExpectDistinctLabels(kQualityReasonLabels, "QualityReason");
}

TEST(EnumLabels, NothingWrongHasNoLabel) {
  EXPECT_TRUE(Label(Rejection::None).word.empty());
  EXPECT_TRUE(Label(Rejection::None).text.empty());
  EXPECT_TRUE(Label(CalcStop::Completed).word.empty());
  EXPECT_TRUE(Label(CalcStop::Completed).text.empty());
}

}  // namespace
}  // namespace sfigmo
