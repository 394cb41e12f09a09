#pragma once
// Builds sample arrays for the analysis tests: a baseline of zeros with
// beats of a chosen shape dropped in at chosen 1-based indices.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace sfigmo::test {

class Wave {
 public:
  explicit Wave(std::size_t n, std::int32_t fill = 0) : s_(n, fill) {}

  // Writes values starting at 1-based index k.
  Wave& at(std::size_t k, std::initializer_list<std::int32_t> values) {
    for (std::int32_t v : values) s_.at(k++ - 1) = v;
    return *this;
  }

  // A narrow beat whose bottom (depth below 0) lies at 1-based index k.
  Wave& beat(std::size_t k, std::int32_t depth) {
    return at(k - 2, {-depth / 4, -depth / 2, -depth, -depth / 2, depth / 4, depth / 2, depth / 4});
  }

  // Beats every `spacing` samples from `first` on, as long as they fit.
  Wave& beats(std::size_t first, std::size_t spacing, std::int32_t depth) {
    for (std::size_t k = first; k + 4 <= s_.size(); k += spacing) beat(k, depth);
    return *this;
  }

  const std::vector<std::int32_t>& samples() const { return s_; }
  operator const std::vector<std::int32_t>&() const { return s_; }

 private:
  std::vector<std::int32_t> s_;
};

}  // namespace sfigmo::test
