// TextButton (kind 2): the ordinary push button. A translucent face from a
// fixed colour table per state, an outer and an inner border, rounded or
// square, and a centred caption whose "&" marks the access key. Clicks reach
// the program through the host's click callback; the button raises no event
// of its own.
#pragma once

#include <optional>
#include <string>

#include "toolkit/core/colour.h"
#include "toolkit/core/control.h"
#include "toolkit/core/gdiplus_handles.h"

namespace zelvo::toolkit {

// Rows of the face table.
enum class TextButtonFace : int { kDisabled = 0, kNormal, kHover, kPressed, kFocused };

struct TextButtonColours {
  Argb faceFill, gradientTop, gradientBottom, outerBorder, innerBorder;
};
const TextButtonColours& textButtonColours(TextButtonFace face);

struct TextButtonOptions {
  std::optional<Argb> textColour;       // default black, alpha 210
  std::optional<std::string> fontName;  // any of these three: a font of its own
  std::optional<float> fontSize;        // pixels, default 12
  std::optional<int> fontStyle;         // GDI+ style bits, default 0
  std::optional<int> textEffect;        // default 0: none
  std::optional<int> rounded;           // default: on unless the host has square corners
  std::optional<int> visible;           // default 1
};

class TextButton : public Control {
 public:
  ~TextButton() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  // Returns the control id (0 when the window has no host).
  int create(HWND hostWindow, const std::string& caption, int x, int y, int width, int height,
             const TextButtonOptions& options = {});
  // Sets when given (re-registering the access key) and redraws; always
  // returns the caption.
  std::string text(std::optional<std::string> caption = std::nullopt);

  // The face drawn last and the fade counter, for tests.
  TextButtonFace face() const { return face_; }
  int fadeAlpha() const { return fadeAlpha_; }
  int rounded() const { return rounded_; }

 private:
  void registerAccessKey(bool clearWhenNone);
  void paint(TextButtonFace face, int windowNumber, int position, int direct);
  GpFont* font() const;

  int lastMessage_ = 0;
  std::string caption_;
  FontPtr ownFont_;  // null: the toolkit's shared default font
  int textEffect_ = 0;
  int fadeAlpha_ = 0;
  Argb textColour_ = argb(210, 0, 0, 0);
  int rounded_ = 1;
  TextButtonFace face_ = TextButtonFace::kNormal;
};

// The character code after the first single "&" of a caption ("&&" is a
// literal ampersand), 0 when there is none.
int accessKeyOf(const std::string& caption);

}  // namespace zelvo::toolkit
