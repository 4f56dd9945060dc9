// Label (kind 3): one string in a chosen font, colour and alignment, over an
// optional gradient and inside an optional border, with an optional shadow
// or glow; with automatic contrast it turns white or black to stay readable
// over the picture beneath it. Takes no input and never fades.
#pragma once

#include <optional>
#include <string>

#include "toolkit/core/colour.h"
#include "toolkit/core/control.h"
#include "toolkit/core/gdiplus_handles.h"

namespace zelvo::toolkit {

struct LabelOptions {
  std::optional<Argb> textColour;      // default black, alpha 230
  std::optional<int> gradientMode;     // default -1: no background
  std::optional<Argb> gradientColour1;  // -1: transparent black
  std::optional<Argb> gradientColour2;
  std::optional<std::string> fontName;  // any of these three: a font of its own
  std::optional<float> fontSize;        // pixels, default 12
  std::optional<int> fontStyle;         // GDI+ style bits, default 0
  std::optional<int> alignment;         // default 3: left, vertically centred
  std::optional<int> formatFlags;       // default 4096: no wrapping
  std::optional<int> trimming;          // default 0
  std::optional<int> hotkeyPrefix;      // default 0
  std::optional<int> textEffect;        // default 0
  std::optional<Argb> border;           // default 0: none
  std::optional<int> visible;           // default 1
};

class Label : public Control {
 public:
  static constexpr Argb kNoColour = 0xFFFFFFFF;  // -1: transparent black

  ~Label() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  int create(HWND hostWindow, const std::string& text, int x, int y, int width, int height,
             const LabelOptions& options = {});
  std::string text(std::optional<std::string> newText = std::nullopt);
  void setTextColour(Argb colour);
  // Stores without repainting: the next paint shows it.
  int automaticContrast(std::optional<int> on = std::nullopt);
  Argb gradientColour1(std::optional<Argb> colour = std::nullopt);
  Argb gradientColour2(std::optional<Argb> colour = std::nullopt);
  int gradientMode(std::optional<int> mode = std::nullopt);

  Argb textColour() const { return textColour_; }

 private:
  void paint(int windowNumber, int position, int direct);
  GpFont* font() const;

  std::string text_;
  FontPtr ownFont_;  // null: the toolkit's shared default font
  int alignment_ = 3;
  int formatFlags_ = 4096;
  int trimming_ = 0;
  int hotkeyPrefix_ = 0;
  Argb textColour_ = argb(230, 0, 0, 0);
  int gradientMode_ = -1;
  Argb gradientColour1_ = kNoColour;
  Argb gradientColour2_ = kNoColour;
  int textEffect_ = 0;
  Argb border_ = 0;
  int automaticContrast_ = 0;
};

}  // namespace zelvo::toolkit
