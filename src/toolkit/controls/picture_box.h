// PictureBox (kind 4): one image stretched to the control's rectangle; an
// animated GIF plays its frames with their own delays while animation is
// on. Every host owns one as its caption icon.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "toolkit/core/control.h"
#include "toolkit/core/image_object.h"

namespace zelvo::toolkit {

class PictureBox : public Control {
 public:
  ~PictureBox() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  // zeroDelayFix turns frame delays of 0 into 10 (100 ms). Redraws when
  // visible (default 1). Returns the control id.
  int create(HWND hostWindow, int x, int y, int width, int height, std::string_view imageBytes,
             std::optional<bool> animate, bool zeroDelayFix, std::optional<int> border = std::nullopt,
             std::optional<int> visible = std::nullopt);
  int createFromIcon(HWND hostWindow, int x, int y, int width, int height, HICON icon,
                     std::optional<int> border = std::nullopt, std::optional<int> visible = std::nullopt);
  int animate(std::optional<bool> on, bool set);
  void setImage(std::string_view imageBytes, std::optional<bool> redraw = std::nullopt);
  void drawFrame(int windowNumber, int position, const RectF& rect, int direct);

  const ImageObject& image() const { return image_; }
  int currentFrame() const { return currentFrame_; }
  int frameCount() const { return frameCount_; }

 private:
  void readFrames(bool zeroDelayFix);

  ImageObject image_;
  int animate_ = 0;
  int border_ = 0;
  int currentFrame_ = 0;
  int frameCount_ = 0;
  int started_ = 0;
  std::vector<int> frameDelays_;
};

}  // namespace zelvo::toolkit
