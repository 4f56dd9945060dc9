// The format toolbar's ten 16x16 pictures, embedded as one PNG strip
// (resources/editor/toolbar.png).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace zelvo::editor {

inline constexpr int kToolbarPictureSize = 16;
inline constexpr int kToolbarPictureCount = 10;

// Owns an image list; destroys it on every path.
class ScopedImageList {
 public:
  ScopedImageList() = default;
  explicit ScopedImageList(HIMAGELIST list) : list_(list) {}
  ~ScopedImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  ScopedImageList(ScopedImageList&& other) noexcept : list_(other.list_) { other.list_ = nullptr; }
  ScopedImageList& operator=(ScopedImageList&& other) noexcept {
    if (this != &other) {
      if (list_) ImageList_Destroy(list_);
      list_ = other.list_;
      other.list_ = nullptr;
    }
    return *this;
  }
  HIMAGELIST get() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};

// The pictures decoded into an image list (empty when decoding fails, so
// the toolbar then shows blank buttons rather than none).
ScopedImageList loadToolbarPictures();

}  // namespace zelvo::editor
