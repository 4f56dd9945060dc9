#include "editor/format_rules.h"

#include <charconv>
#include <cmath>

namespace zelvo::editor {
namespace {

constexpr int kKeptEffects = 1 | 2 | 4;

// The number at the start of `text` (leading blanks and a '+' allowed),
// truncated toward zero; 0 when there is none.
double leadingNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double number = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
  if (ec != std::errc{} || !std::isfinite(number)) return 0;
  return std::trunc(number);
}

bool exceeds(double value, double limit) { return value - limit > 0.0000001; }

}  // namespace

int toggledEffects(int effects, int bit) { return (effects & kKeptEffects) ^ (bit & kKeptEffects); }

int steppedSize(int size, bool up) {
  if (up) return size < kLargestStepSize ? size + 1 : size;
  return size > kSmallestStepSize ? size - 1 : size;
}

std::optional<std::uint32_t> shortcutColourValue(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const double number = leadingNumber(text);
  if (number < 0 || number > 4294967295.0) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

int sizeFromText(std::string_view text) {
  const double number = leadingNumber(text);
  if (number < 0 || number > 1638) return 0;
  return static_cast<int>(number);
}

PanelCorner formatPanelCorner(double x, double y, double editorWidth, double editorHeight, double panelWidth,
                              double panelHeight) {
  const bool pastRight = exceeds(x, editorWidth - panelWidth);
  const bool pastBottom = exceeds(y, editorHeight - panelHeight);
  const double left = pastRight ? x - panelWidth : x;
  const double top = pastBottom ? y - panelHeight : y;
  return {static_cast<int>(left), static_cast<int>(top)};
}

}  // namespace zelvo::editor
