// ImageButton (kind 6): a push button drawn from three pictures, normal,
// hover and pressed, fading in whenever the picture changes. It raises no
// event of its own: clicks reach the program through the host's click
// callback.
#pragma once

#include <optional>
#include <string_view>

#include "toolkit/core/control.h"
#include "toolkit/core/image_object.h"

namespace zelvo::toolkit {

class ImageButton : public Control {
 public:
  ~ImageButton() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  // Hover and pressed pictures default to the normal one; stretch 0 draws
  // each picture in its own size at the top-left corner. Returns the id.
  int create(HWND hostWindow, int x, int y, int width, int height, std::string_view normal,
             std::optional<std::string_view> hover = std::nullopt,
             std::optional<std::string_view> pressed = std::nullopt, std::optional<int> stretch = std::nullopt,
             std::optional<int> visible = std::nullopt);
  // Reloads each picture that is given and redraws once.
  void setImages(std::optional<std::string_view> normal, std::optional<std::string_view> hover = std::nullopt,
                 std::optional<std::string_view> pressed = std::nullopt);

  const ImageObject& normalImage() const { return normal_; }
  const ImageObject& hoverImage() const { return hover_; }
  const ImageObject& pressedImage() const { return pressed_; }

 private:
  void paint(UINT message, int windowNumber, int position, int direct);

  int lastMessage_ = 0;
  ImageObject normal_;
  ImageObject hover_;
  ImageObject pressed_;
  int stretch_ = 0;
  int fadeAlpha_ = 0;
};

}  // namespace zelvo::toolkit
