// ProgressBar (kind 12): a horizontal track showing a main percentage (the
// played part, a two-colour gradient) over a secondary one (what is loaded).
// With its thumb on, a click or a drag sets the main percentage and calls the
// change callback; values set from code never do. Always presented at once.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "toolkit/core/colour.h"
#include "toolkit/core/control.h"
#include "toolkit/core/image_object.h"

namespace zelvo::toolkit {

struct ProgressBarOptions {
  std::optional<int> trackHeight;      // default 10
  std::optional<float> value;          // default 0
  std::optional<float> secondaryValue; // default 0
  std::optional<Argb> playedColour1;   // default RGB(0, 136, 255), alpha 230
  std::optional<Argb> playedColour2;   // default RGB(0, 224, 128), alpha 230
  std::optional<Argb> secondaryColour; // default white, alpha 70
  std::optional<Argb> trackColour;     // default fully transparent
  std::optional<Argb> borderColour;    // default black, alpha 70
  std::optional<int> thumb;            // default 0
  std::optional<std::string_view> thumbImage;       // default: the built-in knob
  std::optional<std::string_view> thumbHoverImage;  // default: the built-in hover knob
  std::optional<int> rounded;          // default: on unless the host has square corners
  std::optional<int> visible;          // default 1
};

class ProgressBar : public Control {
 public:
  // (new value truncated to a whole percentage, 0).
  using ChangeCallback = std::function<void(int, int)>;
  static constexpr int kMinimumHeight = 12;
  static constexpr float kCursorMargin = 9;  // pixels on each side, whatever the thumb

  ~ProgressBar() override;

  // Own operations in table order.
  int handleMessage(Control* handle, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int windowNumber,
                    int position, int direct) override;
  int create(HWND hostWindow, int x, int y, int width, int height, const ProgressBarOptions& options = {});
  // Setting clamps to 0..100 and redraws when the value changes.
  float value(std::optional<float> newValue = std::nullopt);
  float secondaryValue(std::optional<float> newValue = std::nullopt);
  void setChangeCallback(ChangeCallback callback);
  void valueFromCursor(int windowNumber);
  void paint(int windowNumber, int position, UINT message, const RectF& rect, int direct);

  // Where the thumb is drawn for the current value.
  RectF thumbRect() const;

 private:
  RectF trackRect() const;
  void notifyChange();

  int lastMessage_ = 0;
  float value_ = 0;
  float secondaryValue_ = 0;
  int thumb_ = 0;
  ImageObject thumbImage_;
  ImageObject thumbHoverImage_;
  Argb secondaryColour_ = argb(70, 255, 255, 255);
  Argb playedColour1_ = argb(230, 0, 136, 255);
  Argb playedColour2_ = argb(230, 0, 224, 128);
  Argb trackColour_ = 0;
  ChangeCallback changeCallback_;
  int fadeAlpha_ = 0;
  Argb borderColour_ = argb(70, 0, 0, 0);
  int rounded_ = 0;
  int trackHeight_ = 10;
};

// The built-in 14 x 14 knobs.
std::string_view builtInKnob();
std::string_view builtInHoverKnob();

}  // namespace zelvo::toolkit
