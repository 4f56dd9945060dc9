// 图片框_右键弹出: the format panel that pops up over the transcript, with the
// toolbar 工具条1, the auto pop-up box, the font and size lists and the
// thirteen colour squares. It only reports what the user did; the editor
// window runs the commands.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "editor/format_rules.h"
#include "editor/panel.h"
#include "editor/toolbar_pictures.h"

namespace zelvo::editor {

enum ToolbarButton : int {
  kButtonBold = 0,
  kButtonItalic,
  kButtonUnderline,
  kButtonSelectAll,
  kButtonDate,
  kButtonTimeMarker,
  kButtonSeparator,
  kButtonCut,
  kButtonCopy,
  kButtonPaste,
  kToolbarButtonCount
};

inline constexpr int kFormatPanelLeft = 208, kFormatPanelTop = 120;
inline constexpr int kFormatPanelWidth = 237, kFormatPanelHeight = 98;
inline constexpr int kColourSquareCount = static_cast<int>(kColourTable.size());

struct FormatPanelEvents {
  std::function<void(int button)> toolbarClicked;
  std::function<void(bool ticked)> autoPopupClicked;
  std::function<void(std::uint32_t colour)> colourSquareClicked;
  std::function<void(const std::string& face)> fontChosen;
  std::function<void(const std::string& sizeText)> sizeChosen;
  std::function<void()> listDroppingDown;
};

class FormatPanel : public Panel {
 public:
  // The panel as the form has it: toolbar, box, lists, square 1.
  bool create(HWND parent, FormatPanelEvents events);
  // Squares 2 to 13, copies of square 1 with the rest of the colour table.
  void createColourSquares();
  void addFontFamilies();

  void setAutoPopup(bool ticked);
  bool autoPopup() const;
  void setFontText(const std::string& face);
  void setSizeText(const std::string& size);
  std::string fontText() const;
  std::string sizeText() const;
  void setButtonPressed(int button, bool pressed);
  void setButtonEnabled(int button, bool enabled);
  bool buttonPressed(int button) const;
  bool buttonEnabled(int button) const;

  HWND toolbar() const { return toolbar_; }
  HWND autoPopupBox() const { return autoPopupBox_; }
  HWND fontList() const { return fontList_; }
  HWND sizeList() const { return sizeList_; }
  // Square n (1..13), or null before it exists.
  HWND colourSquare(int n) const;
  std::uint32_t colourSquareValue(int n) const;
  static int toolbarCommand(int button);

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND createSquare(int n);
  void onCommand(int id, int code, HWND control);
  void drawSquare(const DRAWITEMSTRUCT& item) const;
  std::string chosenEntry(HWND list) const;

  FormatPanelEvents events_;
  ScopedImageList pictures_;
  HWND toolbar_ = nullptr;
  HWND autoPopupBox_ = nullptr;
  HWND fontList_ = nullptr;
  HWND sizeList_ = nullptr;
  HWND tooltips_ = nullptr;  // owned by the panel, destroyed with it
  std::array<HWND, kColourTable.size()> squares_{};
  std::array<std::wstring, kColourTable.size()> squareTips_;
};

}  // namespace zelvo::editor
