// The names every output gives the analysis' outcomes and the result block's
// fields: each one distinct, so no two outcomes or fields read alike, and
// each machine word leads back to its value.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <set>
#include <string>
#include <string_view>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "analysis/signal_quality.h"
#include "record/analysis_result_fields.h"

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
  // The golden files' words for "nothing wrong".
  for (const char* none : {"accepted", "completed"})
    EXPECT_FALSE(ValueOfWord(table, none).has_value()) << what << " " << none;
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

// Outputs list the fields in this order and read each one through its
// member: the table must cover the block slot by slot.
TEST(AnalysisResultFields, NameEverySlotOfTheBlockOnceInRecordOrder) {
  const AnalysisResults block;
  const auto* start = reinterpret_cast<const char*>(&block);
  std::set<std::string_view> names;
  std::size_t slot = 0;
  for (const AnalysisResultField& f : kAnalysisResultFields) {
    SCOPED_TRACE(f.Name);
    EXPECT_EQ(reinterpret_cast<const char*>(&(block.*f.Member)) - start,
              static_cast<std::ptrdiff_t>(slot * sizeof(double)));
    EXPECT_TRUE(names.insert(f.Name).second);
    EXPECT_STREQ(AnalysisResultFieldName(f.Member), f.Name);
    ++slot;
  }
}

}  // namespace
}  // namespace sfigmo
