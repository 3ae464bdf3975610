#include "scale_factor.h"

#include <charconv>

namespace trotix {

bool UsableScaleFactor(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  if (text.starts_with('+')) text.remove_prefix(1);
  double factor = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), factor);
  // NaN fails both comparisons.
  return error == std::errc() && end == text.data() + text.size() && factor >= kLeastScaleFactor &&
         factor <= kGreatestScaleFactor;
}

}  // namespace trotix
