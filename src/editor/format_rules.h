// The formatting rules of the editor that need no window: the colour table,
// the size list, the effect toggle, the size steps, shortcut colour texts and
// where the format panel goes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvo::editor {

struct NamedColour {
  const char* name;      // shown as the square's tooltip
  std::uint32_t value;   // 0x00BBGGRR
};

// The thirteen colour squares of the format panel, in order; the settings
// window offers the same table for the shortcut colours.
inline constexpr std::array<NamedColour, 13> kColourTable{{
    {"红色", 255},          {"品红", 16711935}, {"芙红", 12615935}, {"橙黄", 33023},
    {"墨绿", 32768},        {"深青", 8421376},  {"褐绿", 32896},    {"艳青", 16776960},
    {"蓝色", 16711680},     {"蓝灰", 16744576}, {"紫色", 16711824}, {"灰色", 8421504},
    {"黑色", 0},
}};

inline constexpr std::array<const char*, 16> kSizeList{"8",  "9",  "10", "11", "12", "14", "16", "18",
                                                       "20", "22", "24", "26", "28", "36", "48", "72"};

inline constexpr int kSmallestStepSize = 9;
inline constexpr int kLargestStepSize = 72;

// Bold, italic and underline kept from `effects` except `bit`, which flips;
// strike-out and protected always come out off.
int toggledEffects(int effects, int bit);

// One point up (below 72 only) or down (above 9 only).
int steppedSize(int size, bool up);

// The colour a shortcut text names: nothing for an empty text or a number
// outside 0..0xFFFFFFFF; the number at the start of the text, truncated,
// otherwise (0 when the text does not start with a number).
std::optional<std::uint32_t> shortcutColourValue(std::string_view text);

// The number at the start of a list entry such as "14"; 0 when none.
int sizeFromText(std::string_view text);

struct PanelCorner {
  int left = 0;
  int top = 0;
};

// Puts the panel's corner at (x, y), flipped left and/or up where the panel
// (w x h) would cross the right or bottom edge of the editor (W x H).
PanelCorner formatPanelCorner(double x, double y, double editorWidth, double editorHeight, double panelWidth,
                              double panelHeight);

}  // namespace zelvo::editor
