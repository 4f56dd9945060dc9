#include "editor/char_format.h"

#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

constexpr long kTwipsPerPoint = 20;
// The control's largest font size; also keeps the twips product in range.
constexpr int kLargestPoints = 1638;

long toTwips(int points) {
  if (points > kLargestPoints) points = kLargestPoints;
  if (points < -kLargestPoints) points = -kLargestPoints;
  return static_cast<long>(points) * kTwipsPerPoint;
}

std::u16string fittingFaceName(const std::string& utf8) {
  std::u16string face = text::utf8ToUtf16(utf8);
  const std::size_t limit = RawCharFormat::kFaceCapacity - 1;
  if (face.size() <= limit) return face;
  std::size_t cut = limit;
  // Never keep the first half of a surrogate pair without its second.
  if (face[cut - 1] >= 0xD800 && face[cut - 1] <= 0xDBFF) --cut;
  face.resize(cut);
  return face;
}

}  // namespace

CharFormat fromRaw(const RawCharFormat& raw) {
  CharFormat format;
  format.faceName = text::utf16ToUtf8(raw.faceName);
  format.size = static_cast<int>(raw.height / kTwipsPerPoint);
  format.offset = static_cast<int>(raw.offset / kTwipsPerPoint);
  format.effects = static_cast<int>(raw.effects & kEffectMask);
  format.colour = (raw.effects & RawCharFormat::kAutoColourEffect) ? kAutomaticColour : raw.textColour;
  return format;
}

RawCharFormat toRaw(const CharFormat& format) {
  RawCharFormat raw;
  raw.faceName = fittingFaceName(format.faceName);
  raw.height = toTwips(format.size < 0 ? 0 : format.size);
  raw.offset = toTwips(format.offset);
  raw.effects = static_cast<std::uint32_t>(format.effects) & kEffectMask;
  if (format.colour == kAutomaticColour) {
    raw.effects |= RawCharFormat::kAutoColourEffect;
    raw.textColour = 0;
  } else {
    // A high byte would make the value a palette index, not a colour.
    raw.textColour = format.colour & 0x00FFFFFF;
  }
  return raw;
}

}  // namespace zelvo::editor
