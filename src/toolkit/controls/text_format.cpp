#include "toolkit/controls/text_format.h"

namespace zelvo::toolkit {

void TextFormat::release() {
  if (format_) gp::GdipDeleteStringFormat(format_);
  format_ = nullptr;
}

int TextFormat::copy(const TextFormat& from) {
  release();
  if (!from.format_) return 0;
  return gp::GdipCloneStringFormat(from.format_, &format_) == kOk ? 1 : 0;
}

int TextFormat::create() {
  release();
  GpStringFormat* generic = nullptr;
  if (gp::GdipStringFormatGetGenericTypographic(&generic) != kOk || !generic) return 0;
  return gp::GdipCloneStringFormat(generic, &format_) == kOk ? 1 : 0;
}

int TextFormat::setAlignment(int alignment) {
  return format_ && gp::GdipSetStringFormatAlign(format_, static_cast<Gdiplus::StringAlignment>(alignment)) == kOk;
}

int TextFormat::setLineAlignment(int alignment) {
  return format_ && gp::GdipSetStringFormatLineAlign(format_, static_cast<Gdiplus::StringAlignment>(alignment)) == kOk;
}

int TextFormat::setTrimming(int trimming) {
  return format_ && gp::GdipSetStringFormatTrimming(format_, static_cast<Gdiplus::StringTrimming>(trimming)) == kOk;
}

int TextFormat::setHotkeyPrefix(int prefix) {
  return format_ && gp::GdipSetStringFormatHotkeyPrefix(format_, prefix) == kOk;
}

int TextFormat::setFormatFlags(int flags) { return format_ && gp::GdipSetStringFormatFlags(format_, flags) == kOk; }

int TextFormat::alignment() const {
  Gdiplus::StringAlignment a = Gdiplus::StringAlignmentNear;
  if (format_) gp::GdipGetStringFormatAlign(format_, &a);
  return static_cast<int>(a);
}

}  // namespace zelvo::toolkit
