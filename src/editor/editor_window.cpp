#include "editor/editor_window.h"

#include <richedit.h>

#include "editor/clipboard.h"
#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

constexpr int kRichEditId = 100;
constexpr UINT kRestoreFocusMessage = WM_APP + 1;

// Identifiers of the whole run: every registration takes new ones.
HotkeyIdSource& hotkeyIds() {
  static HotkeyIdSource source;
  return source;
}

Box boxOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

void placeWindow(HWND window, const Box& box, UINT flags) {
  SetWindowPos(window, nullptr, box.left, box.top, box.width, box.height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

template <typename Hook, typename... Args>
void call(const Hook& hook, Args&&... args) {
  if (hook) hook(std::forward<Args>(args)...);
}

}  // namespace

LocalDateTime systemLocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

EditorWindow& theEditorWindow() {
  static EditorWindow window;
  return window;
}

EditorWindow::~EditorWindow() {
  // The panels' fonts must outlive their controls: take the window down
  // while the members still exist.
  if (handle_) DestroyWindow(handle_);
}

bool EditorWindow::registerClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kEditorWindowClass;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

bool EditorWindow::create(HWND owner, AppState& state, EditorCommands commands, LocalClock clock) {
  if (handle_ || !registerClass()) return false;
  state_ = &state;
  commands_ = std::move(commands);
  clock_ = clock ? std::move(clock) : LocalClock(systemLocalTime);
  if (!keyState_) keyState_ = [](int key) { return GetAsyncKeyState(key); };
  RECT main{};
  if (owner) GetWindowRect(owner, &main);
  const Box place = movedEditor(boxOf(main), {0, 0, kEditorCreatedWidth, kEditorCreatedHeight});
  // No frame: the window is a pane over the main window, not a window of
  // its own to the user (owned, so it has no taskbar button either).
  CreateWindowExW(0, kEditorWindowClass, L"", WS_POPUP | WS_CLIPCHILDREN, place.left, place.top, place.width,
                  place.height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!handle_) return false;
  ShowWindow(handle_, SW_SHOWNOACTIVATE);
  return true;
}

bool EditorWindow::createControls() {
  if (!richEdit_.create(handle_, kRichEditId, kRichEditLeft, kRichEditTop, kRichEditWidth, kRichEditHeight))
    return false;
  FormatPanelEvents panelEvents;
  panelEvents.toolbarClicked = [this](int button) { onToolbarClicked(button); };
  panelEvents.autoPopupClicked = [this](bool ticked) { state_->formatPanelAutoPopup = ticked; };
  panelEvents.colourSquareClicked = [this](std::uint32_t colour) { applyColourSquare(colour); };
  panelEvents.fontChosen = [this](const std::string& face) { applyFont(face); };
  panelEvents.sizeChosen = [this](const std::string& size) { applySize(size); };
  // The list still opens and takes the pointer's choice; the caret stays in
  // the transcript, whose selection stays visible (no hide selection).
  panelEvents.listDroppingDown = [this] { focusTranscript(); };
  if (!formatPanel_.create(handle_, std::move(panelEvents))) return false;
  DatePickerEvents dateEvents{[this] { confirmDate(); }, [this] { cancelDate(); }};
  return datePicker_.create(handle_, std::move(dateEvents));
}

void EditorWindow::onEditorWindowCreated() {
  // 1.
  SetWindowPos(handle_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // 2.
  formatPanel_.createColourSquares();
  // 3.
  state_->formatPanelAutoPopup = true;
  formatPanel_.setAutoPopup(true);
  // 4.
  richEdit_.setDefaultFormat({"宋体", 15, 0, 0, kAutomaticColour});
  // 5.
  formatPanel_.addFontFamilies();
  // 6.
  registerHotkeys();
  // 7.
  datePicker_.fill(dateEntries(clock_()));
}

void EditorWindow::onEditorWindowActivated() {
  state_->editorActive = true;
  if (!state_->hotkeysRegistered) registerHotkeys();
  // Coming back to the window (Alt+Tab, the taskbar) puts the caret back in
  // the transcript. Looked at once the activation is over: a SetFocus on one
  // of the panels' controls is what may have activated the window.
  PostMessageW(handle_, kRestoreFocusMessage, 0, 0);
}

void EditorWindow::onEditorWindowDeactivated(HWND activated) {
  state_->editorActive = false;
  // Hotkeys are system-wide on Windows: leaving them registered while
  // another program is in front would take F4, Tab and the Ctrl keys from
  // it. Going to the main window keeps them.
  const HWND owner = GetWindow(handle_, GW_OWNER);
  if (activated && activated == owner) return;
  releaseHotkeys();
}

void EditorWindow::registerHotkeys() {
  if (!handle_ || !state_) return;
  if (state_->hotkeysRegistered) releaseHotkeys();
  for (std::size_t i = 0; i < kHotkeyTable.size(); ++i) {
    const HotkeyEntry& key = kHotkeyTable[i];
    const int id = hotkeyIds().take();
    const bool ok = RegisterHotKey(handle_, id, key.modifiers, key.virtualKey) != FALSE;
    state_->hotkeyIds[i] = ok ? id : 0;
  }
  state_->hotkeysRegistered = true;
}

void EditorWindow::releaseHotkeys() {
  if (!state_) return;  // never loaded
  for (int& id : state_->hotkeyIds) {
    if (id != 0 && handle_) UnregisterHotKey(handle_, id);
    // A notification for it that is still queued must find nothing.
    id = 0;
  }
  state_->hotkeysRegistered = false;
}

void EditorWindow::dispatchHotkey(int id) {
  const HotkeyOptions options{state_->tabHotkeyEnabled, state_->shiftHotkeyEnabled};
  if (const auto action = resolveHotkey(state_->hotkeyIds, id, options, keyState_)) runHotkeyAction(*action);
}

void EditorWindow::runHotkeyAction(const HotkeyAction& action) {
  using C = HotkeyCommand;
  switch (action.command) {
    case C::TogglePlayPause: call(commands_.togglePlayPause); break;
    case C::SeekBackward: call(commands_.seekBackward); break;
    case C::SeekForward: call(commands_.seekForward); break;
    case C::OpenAudioFile: call(commands_.openAudioFile); break;
    case C::SpeedDown: call(commands_.stepSpeed, -1); break;
    case C::SpeedUp: call(commands_.stepSpeed, +1); break;
    case C::SizeDown: changeSize(false); break;
    case C::SizeUp: changeSize(true); break;
    case C::ShortcutColour: applyShortcutColour(action.argument); break;
    case C::ShortcutFont: applyShortcutFont(action.argument); break;
    case C::OpenDocument: call(commands_.openDocument); break;
    case C::NewDocument: call(commands_.newDocument); break;
    case C::SaveDocument: call(commands_.saveDocument); break;
    case C::SaveDocumentAs: call(commands_.saveDocumentAs); break;
    case C::InsertTimeMarker: insertTimeMarker(); break;
    case C::InsertSeparator: insertSeparator(); break;
    case C::OpenDatePicker: openDatePicker(); break;
    case C::ToggleBold: toggleEffect(kBold); break;
    case C::ToggleItalic: toggleEffect(kItalic); break;
    case C::ToggleUnderline: toggleEffect(kUnderline); break;
    case C::TabPlayPause:
    case C::ShiftSeek: break;  // resolved into the commands above
  }
}

void EditorWindow::placeFormatPanel(int x, int y) {
  RECT editor{};
  GetWindowRect(richEdit_.handle(), &editor);
  const PanelCorner corner = formatPanelCorner(x, y, editor.right - editor.left, editor.bottom - editor.top,
                                               kFormatPanelWidth, kFormatPanelHeight);
  formatPanel_.moveTo(corner.left, corner.top);
  formatPanel_.show();
}

void EditorWindow::onSelectionChanged() {
  if (state_->formatPanelAutoPopup) {
    if (richEdit_.selectedCount() <= 0) {
      formatPanel_.hide();
    } else {
      POINT mouse{};
      GetCursorPos(&mouse);
      RECT main{};
      GetWindowRect(GetWindow(handle_, GW_OWNER), &main);
      placeFormatPanel(mouse.x - main.left, mouse.y - main.top - 100);
    }
  }
  refreshFormatControls();
}

void EditorWindow::refreshFormatControls() {
  const bool selected = richEdit_.selectedCount() > 0;
  formatPanel_.setButtonEnabled(kButtonCut, selected);
  formatPanel_.setButtonEnabled(kButtonCopy, selected);
  formatPanel_.setButtonEnabled(kButtonPaste, clipboardHasText());
  formatPanel_.setButtonEnabled(kButtonSelectAll, !richEdit_.contentEmpty());
  const CharFormat format = richEdit_.selectionFormat();
  formatPanel_.setFontText(format.faceName);
  formatPanel_.setSizeText(format.size == 0 ? std::string{} : std::to_string(format.size));
  formatPanel_.setButtonPressed(kButtonBold, (format.effects & kBold) != 0);
  formatPanel_.setButtonPressed(kButtonItalic, (format.effects & kItalic) != 0);
  formatPanel_.setButtonPressed(kButtonUnderline, (format.effects & kUnderline) != 0);
}

void EditorWindow::onToolbarClicked(int button) {
  switch (button) {
    case kButtonBold: toggleEffect(kBold); break;
    case kButtonItalic: toggleEffect(kItalic); break;
    case kButtonUnderline: toggleEffect(kUnderline); break;
    case kButtonSelectAll: richEdit_.selectAll(); break;
    case kButtonDate: openDatePicker(); break;
    case kButtonTimeMarker: insertTimeMarker(); break;
    case kButtonSeparator: insertSeparator(); break;
    case kButtonCut: richEdit_.cut(); break;
    case kButtonCopy: richEdit_.copy(); break;
    case kButtonPaste: richEdit_.paste(); break;
  }
}

void EditorWindow::focusTranscript() { SetFocus(richEdit_.handle()); }

void EditorWindow::undo() { richEdit_.undo(); }

void EditorWindow::redo() {
  focusTranscript();
  // The control's own redo rather than a simulated Ctrl+Y: injected keys
  // would mix with whatever modifier the user still holds.
  SendMessageW(richEdit_.handle(), EM_REDO, 0, 0);
}

void EditorWindow::cut() {
  focusTranscript();
  richEdit_.cut();
}

void EditorWindow::copy() {
  focusTranscript();
  richEdit_.copy();
}

void EditorWindow::paste() {
  focusTranscript();
  richEdit_.paste();
}

void EditorWindow::followMainWindow(const RECT& main) {
  if (!handle_) return;
  RECT editor{};
  GetWindowRect(handle_, &editor);
  placeWindow(handle_, movedEditor(boxOf(main), boxOf(editor)), SWP_NOSIZE);
}

void EditorWindow::relayout(const RECT& main) {
  if (!handle_ || state_->editorCollapsed) return;
  const EditorPlacement place = relaidEditor(boxOf(main));
  placeWindow(handle_, place.window, 0);
  SetWindowPos(richEdit_.handle(), nullptr, 0, 0, place.richEditWidth, place.richEditHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EditorWindow::collapseEditor() {
  state_->editorCollapsed = true;
  if (!handle_) return;
  RECT editor{};
  GetWindowRect(handle_, &editor);
  for (const Box& frame : collapseFrames(boxOf(editor))) {
    placeWindow(handle_, frame, 0);
    UpdateWindow(GetWindow(handle_, GW_OWNER));
    Sleep(1);
  }
}

void EditorWindow::expandEditor(const RECT& main) {
  state_->editorCollapsed = false;
  relayout(main);
}

LRESULT EditorWindow::onNotify(const NMHDR& header, LPARAM lParam) {
  if (header.hwndFrom != richEdit_.handle()) return 0;
  if (header.code == EN_SELCHANGE) {
    onSelectionChanged();
  } else if (header.code == EN_MSGFILTER) {
    const auto* filter = reinterpret_cast<const MSGFILTER*>(lParam);
    if (filter->msg == WM_LBUTTONDOWN) {
      formatPanel_.hide();
    } else if (filter->msg == WM_RBUTTONDOWN) {
      placeFormatPanel(static_cast<short>(LOWORD(filter->lParam)), static_cast<short>(HIWORD(filter->lParam)));
    }
  }
  return 0;  // let the control handle the message as well
}

LRESULT EditorWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (!createControls()) return -1;
      onEditorWindowCreated();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        onEditorWindowDeactivated(reinterpret_cast<HWND>(lParam));
      else
        onEditorWindowActivated();
      return 0;
    case kRestoreFocusMessage: {
      const HWND focus = GetFocus();
      if (!focus || !IsChild(handle_, focus)) focusTranscript();
      return 0;
    }
    case WM_HOTKEY:
      dispatchHotkey(static_cast<int>(wParam));
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == richEdit_.handle() && richEdit_.handle()) {
        if (HIWORD(wParam) == EN_CHANGE) state_->documentModified = true;
        if (HIWORD(wParam) == EN_SETFOCUS) call(commands_.editorGotFocus);
      }
      return 0;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK EditorWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<EditorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->handle_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The registrations die with the window; nothing may use them later.
    if (window->state_) window->releaseHotkeys();
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->handle_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->handleMessage(message, wParam, lParam);
}

}  // namespace zelvo::editor
