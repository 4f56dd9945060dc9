// 图片框_日期选择: the date picker panel. Its ten entries are filled once,
// when the editor window is created; the editor window inserts the chosen
// one.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "editor/insert_texts.h"
#include "editor/panel.h"

namespace zelvo::editor {

inline constexpr int kDatePickerLeft = 464, kDatePickerTop = 48;
inline constexpr int kDatePickerWidth = 176, kDatePickerHeight = 216;

struct DatePickerEvents {
  std::function<void()> confirmed;  // "确定", double-click or Enter in the list
  std::function<void()> cancelled;  // "取消"
};

class DatePicker : public Panel {
 public:
  bool create(HWND parent, DatePickerEvents events);
  // Replaces the entries and selects the first.
  void fill(const std::array<std::string, kDateEntryCount>& entries);
  // Shows the panel and gives its list the keyboard focus.
  void open();
  // The selected entry's text; empty when none is selected.
  std::string selectedText() const;
  int entryCount() const;
  std::string entry(int index) const;

  HWND list() const { return list_; }
  HWND confirmButton() const { return confirm_; }
  HWND cancelButton() const { return cancel_; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  DatePickerEvents events_;
  HWND list_ = nullptr;
  HWND confirm_ = nullptr;
  HWND cancel_ = nullptr;
};

}  // namespace zelvo::editor
