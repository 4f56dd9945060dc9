// A GDI+ string format owned by one object (no Control base): a copy of the
// generic typographic format, with alignment, trimming, hot-key prefix and
// format flags. Setters return 1 on success.
#pragma once

#include "toolkit/core/gdiplus_handles.h"

namespace zelvo::toolkit {

class TextFormat {
 public:
  TextFormat() = default;
  ~TextFormat() { release(); }
  TextFormat(const TextFormat&) = delete;
  TextFormat& operator=(const TextFormat&) = delete;

  // Operations in table order.
  void release();
  int copy(const TextFormat& from);  // replaces the handle by a clone of `from`
  void deleteHandle() { release(); }
  int create();  // a new copy of the generic typographic format
  int setAlignment(int alignment);  // 0 near, 1 centre, 2 far
  int setTrimming(int trimming);
  int setHotkeyPrefix(int prefix);
  int setFormatFlags(int flags);
  int alignment() const;
  GpStringFormat* handle() const { return format_; }

  // Vertical alignment, used for vertically centred single lines.
  int setLineAlignment(int alignment);

 private:
  GpStringFormat* format_ = nullptr;
};

}  // namespace zelvo::toolkit
