// CaptionButton (kind 1): one button of a host's caption area, drawn from
// the caption sprite. Close, maximise/restore and minimise carry out their
// window command themselves; the free kinds 32, 64, 128 and 256 only reach
// the program through the host's click callback (captionButtonFlag tells
// which was clicked). Hosts create these from their style flags.
#pragma once

#include <optional>

#include "toolkit/core/control.h"

namespace zelvo::toolkit {

// Source rectangle of a kind's picture in the caption sprite; `variant`
// 0 normal, 1 hover, 2 pressed. Empty for an unknown kind.
RectF captionSpriteSource(int kind, bool maximized, int variant);

class CaptionButton : public Control {
 public:
  ~CaptionButton() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  // Registers the button (kind code 1, focusable so that a press captures
  // it) and redraws it when visible (default 1). Returns the control id.
  int create(HWND hostWindow, int x, int y, int width, int height, int buttonKind,
             std::optional<int> visible = std::nullopt);
  int buttonKind() const { return buttonKind_; }

 private:
  void drawPicture(int windowNumber, int position, int direct, int variant, int fadeStart);

  int lastMessage_ = 0;
  int fadeAlpha_ = 0;
  int buttonKind_ = 0;
};

}  // namespace zelvo::toolkit
