// Colour forms of the toolkit. The program, the settings file and a host's
// background colour carry COLORREF values (0x00BBGGRR); GDI+ brushes, pens
// and clears take ARGB (0xAARRGGBB). Portable: no <windows.h>.
#pragma once

#include <cstdint>

namespace zelvo::toolkit {

using Argb = std::uint32_t;
using ColorRef = std::uint32_t;

// COLORREF to ARGB. Colours made here are never fully opaque: 255 becomes 254,
// so that a surface cleared with them still tells "drawn" from "untouched"
// in the layered-window path.
constexpr Argb toArgb(ColorRef colour, int alpha = 254) {
  if (alpha == 255) alpha = 254;
  const Argb red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return (static_cast<Argb>(alpha & 0xFF) << 24) | (red << 16) | (green << 8) | blue;
}

struct ColorRefAndAlpha {
  ColorRef colour;
  int alpha;
};

constexpr ColorRefAndAlpha argbToColorref(Argb argb) {
  const Argb red = (argb >> 16) & 0xFF, green = (argb >> 8) & 0xFF, blue = argb & 0xFF;
  return {red | (green << 8) | (blue << 16), static_cast<int>(argb >> 24)};
}

// Replaces the alpha byte as given (no 254 rule).
constexpr Argb withAlpha(Argb argb, int alpha) { return (argb & 0x00FFFFFF) | (static_cast<Argb>(alpha & 0xFF) << 24); }

constexpr Argb argb(int alpha, int red, int green, int blue) {
  return (static_cast<Argb>(alpha & 0xFF) << 24) | (static_cast<Argb>(red & 0xFF) << 16) |
         (static_cast<Argb>(green & 0xFF) << 8) | static_cast<Argb>(blue & 0xFF);
}

// Dark unless at least two of red, green and blue are 126 or more; chooses
// white or black text over a picture.
constexpr bool isDarkColour(Argb colour) {
  const int bright = (((colour >> 16) & 0xFF) >= 126) + (((colour >> 8) & 0xFF) >= 126) + ((colour & 0xFF) >= 126);
  return bright < 2;
}

}  // namespace zelvo::toolkit
