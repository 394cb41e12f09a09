#pragma once
// What an outcome of the analysis is called: a machine word, the same on
// every output (JSON, text reports, annotations, golden files), and a Russian
// text for people. Each enum keeps its table of labels beside it, one row per
// value in declaration order; the value that means "nothing wrong" has no row.

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace sfigmo {

template <typename Enum>
struct EnumLabel {
  Enum value;
  std::string_view word;  // ASCII, never empty
  std::string_view text;  // UTF-8, never empty
};

// The row of `value`; empty word and text for a value without one.
template <typename Enum, std::size_t N>
constexpr EnumLabel<Enum> LabelIn(const std::array<EnumLabel<Enum>, N>& table, Enum value) {
  const auto row = std::find_if(table.begin(), table.end(),
                                [value](const EnumLabel<Enum>& l) { return l.value == value; });
  return row != table.end() ? *row : EnumLabel<Enum>{value, {}, {}};
}

// The value a machine word stands for; nullopt for any other word.
template <typename Enum, std::size_t N>
constexpr std::optional<Enum> ValueOfWord(const std::array<EnumLabel<Enum>, N>& table,
                                          std::string_view word) {
  const auto row = std::find_if(table.begin(), table.end(),
                                [word](const EnumLabel<Enum>& l) { return l.word == word; });
  if (row == table.end()) return std::nullopt;
  return row->value;
}

// Whether the rows hold the values `first`, `first` + 1, ... in order, so no
// value is left without a label or labelled twice.
template <typename Enum, std::size_t N>
constexpr bool LabelsInOrder(const std::array<EnumLabel<Enum>, N>& table, Enum first) {
  for (std::size_t i = 0; i < N; ++i) {
    if (static_cast<std::size_t>(table[i].value) != static_cast<std::size_t>(first) + i)
      return false;
  }
  return true;
}

}  // namespace sfigmo
