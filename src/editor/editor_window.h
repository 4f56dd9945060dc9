// EditorWindow: the top-level window, owned by the main window, that holds
// the transcript (超级编辑框1), the format panel, the date picker, and
// receives the 31 global hotkeys.
//
// Sections of the implementation:
//   editor_window.cpp      creation, events, hotkeys, selection, placement
//   editor_insert.cpp      time marker, separator, date picker
//   editor_formatting.cpp  effects, sizes, shortcut colours and fonts
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/app_state.h"
#include "editor/date_picker.h"
#include "editor/editor_commands.h"
#include "editor/editor_layout.h"
#include "editor/format_panel.h"
#include "editor/hotkey_table.h"
#include "editor/insert_texts.h"
#include "editor/rich_edit.h"

namespace zelvo::editor {

inline constexpr wchar_t kEditorWindowClass[] = L"Zelvo_EditorWindow";
inline constexpr int kRichEditLeft = 6, kRichEditTop = 7, kRichEditWidth = 644, kRichEditHeight = 293;

using LocalClock = std::function<LocalDateTime()>;
LocalDateTime systemLocalTime();

class EditorWindow {
 public:
  EditorWindow() = default;
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Loads the window as a non-modal window owned by `owner`, placed over the
  // owner's lower area, and runs onEditorWindowCreated. The clock fills the
  // date picker once, now.
  bool create(HWND owner, AppState& state, EditorCommands commands = {}, LocalClock clock = systemLocalTime);
  void setCommands(EditorCommands commands) { commands_ = std::move(commands); }
  // GetAsyncKeyState unless replaced.
  void setKeyStateReader(KeyStateReader reader) { keyState_ = std::move(reader); }

  HWND handle() const { return handle_; }
  RichEdit& richEdit() { return richEdit_; }
  FormatPanel& formatPanel() { return formatPanel_; }
  DatePicker& datePicker() { return datePicker_; }

  // Window events and hotkeys.
  void onEditorWindowCreated();
  void onEditorWindowActivated();
  // `activated` is the window taking over; the keys stay when it is the
  // main window.
  void onEditorWindowDeactivated(HWND activated);
  void registerHotkeys();
  void releaseHotkeys();
  void dispatchHotkey(int id);
  void placeFormatPanel(int x, int y);
  void onSelectionChanged();

  // Insert commands.
  void insertTimeMarker();
  void insertSeparator();
  void openDatePicker();
  void confirmDate();
  void cancelDate();

  // Formatting.
  void toggleEffect(int bit);
  void changeSize(bool up);
  void applyShortcutColour(int n);
  void applyShortcutFont(int n);
  void applyColourSquare(std::uint32_t colour);
  void applyFont(const std::string& face);
  void applySize(const std::string& sizeText);

  // The main window's editing buttons 9 to 13.
  void undo();
  void redo();
  void cut();
  void copy();
  void paste();

  // Placement over the main window (its outer rectangle, screen pixels).
  void followMainWindow(const RECT& main);
  // Place and size after a resize; nothing while the editor is collapsed.
  void relayout(const RECT& main);
  void collapseEditor();
  void expandEditor(const RECT& main);

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool registerClass();
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool createControls();
  LRESULT onNotify(const NMHDR& header, LPARAM lParam);
  void runHotkeyAction(const HotkeyAction& action);
  void onToolbarClicked(int button);
  // Steps 2 to 4 of the selection handler: toolbar states, font and size.
  void refreshFormatControls();
  void writeSelectionFormat(const CharFormat& format);
  void focusTranscript();
  void insertThroughClipboard(const std::string& text);

  HWND handle_ = nullptr;
  AppState* state_ = nullptr;
  EditorCommands commands_;
  LocalClock clock_;
  KeyStateReader keyState_;
  RichEdit richEdit_;
  FormatPanel formatPanel_;
  DatePicker datePicker_;
};

// The one editor window of the program.
EditorWindow& theEditorWindow();

}  // namespace zelvo::editor
