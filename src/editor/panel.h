// A plain child panel of the editor window whose messages go to an object:
// the base of the format panel and the date picker. A press on one of its
// drag areas starts the system's move of the panel.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/handles.h"

namespace zelvo::editor {

class Panel {
 public:
  Panel() = default;
  virtual ~Panel() = default;
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  HWND handle() const { return handle_; }
  bool visible() const { return handle_ && IsWindowVisible(handle_); }
  void hide();
  // Shows the panel above its siblings (the transcript), without moving it.
  void show();
  void moveTo(int left, int top);
  RECT rect() const;  // in the parent's client coordinates

 protected:
  bool createPanel(HWND parent, int x, int y, int width, int height);
  // A label's area: a press there drags the panel. Static controls without
  // SS_NOTIFY let the press through to the panel.
  void addDragArea(RECT area) { dragAreas_.push_back(area); }
  HWND addChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                int id);
  HFONT font() const { return font_.get(); }
  virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool registerClass();

  HWND handle_ = nullptr;  // destroyed with the editor window
  platform::ScopedFont font_;
  std::vector<RECT> dragAreas_;
};

}  // namespace zelvo::editor
