// CharFormat: the record by which the editor's character formatting is read
// and written. The conversion to and from the rich-edit control's own record
// is kept here, free of <windows.h>, so its arithmetic is tested natively.
#pragma once

#include <cstdint>
#include <string>

namespace zelvo::editor {

inline constexpr std::uint32_t kAutomaticColour = 0xFF000000;

enum Effect : int { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8, kProtected = 16 };
inline constexpr int kEffectMask = 0x1F;

struct CharFormat {
  std::string faceName;  // UTF-8
  int size = 0;          // points
  int offset = 0;        // points, superscript > 0 > subscript
  int effects = 0;       // sum of Effect flags
  std::uint32_t colour = kAutomaticColour;  // 0x00BBGGRR, or kAutomaticColour

  bool operator==(const CharFormat&) const = default;
};

// The fields of the control's CHARFORMAT2W that CharFormat maps, in the
// control's units (twips, effect bits, UTF-16 face name).
struct RawCharFormat {
  std::u16string faceName;
  long height = 0;
  long offset = 0;
  std::uint32_t effects = 0;
  std::uint32_t textColour = 0;

  // The control's own bit values (CFE_AUTOCOLOR, CFM_*, LF_FACESIZE).
  static constexpr std::uint32_t kAutoColourEffect = 0x40000000;
  static constexpr std::size_t kFaceCapacity = 32;  // units, terminator included
};

CharFormat fromRaw(const RawCharFormat& raw);
// Face names longer than the control's field are cut at a character
// boundary rather than overrunning it.
RawCharFormat toRaw(const CharFormat& format);

}  // namespace zelvo::editor
