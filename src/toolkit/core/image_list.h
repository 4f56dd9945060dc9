// A numbered set of pictures of one nominal size, registered process-wide
// under an id so that a control given only that id can measure and draw
// them. Pictures are numbered from 1 in the order they were added.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "toolkit/core/image_object.h"

namespace zelvo::toolkit {

using ImageListId = std::intptr_t;

class ImageList {
 public:
  ImageList() = default;
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  // Operations in table order.
  // Clears, registers the list (its id is its address) and sets the size.
  void init(int width, int height);
  void clear();
  // Picture n (1-based) at (x, y): in its own size when it has the list's
  // size, else stretched to it. False when n is out of range.
  bool draw(GpGraphics* graphics, int n, float x, float y) const;
  int addIcon(HICON icon);
  int addBytes(std::string_view bytes);  // new count, 0 on failure
  int addBitmap(HBITMAP bitmap, HPALETTE palette);
  int addResource(HINSTANCE instance, const wchar_t* resourceName);
  ImageListId id() const { return id_; }

  int width() const { return width_; }
  int height() const { return height_; }
  int count() const { return static_cast<int>(pictures_.size()); }

 private:
  int append(ImagePtr picture, ScopedGlobal memory, ImagePtr auxiliary);

  int width_ = 0, height_ = 0;
  std::vector<ImagePtr> pictures_;
  std::vector<ScopedGlobal> memory_;
  std::vector<ImagePtr> auxiliary_;
  ImageListId id_ = 0;
};

// Registry look-ups for controls: size 0 and no drawing for an id that is
// not registered.
int imageListWidth(ImageListId id);
int imageListHeight(ImageListId id);
bool drawFromImageList(ImageListId id, GpGraphics* graphics, int n, float x, float y);

}  // namespace zelvo::toolkit
