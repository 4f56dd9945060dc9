// The editor window itself: its controls, placement over the main window,
// the format panel's pop-up rule, the modified flag, and the hotkeys with
// their registration, dispatch and activation rules (notifications sent as
// messages here; typed keys are in hotkeys_e2e_test.cpp).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/clipboard.h"
#include "platform/text_codec.h"
#include "editor_fixture.h"

using namespace zelvo;
using namespace zelvo::editor;

namespace {

RECT rectIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void expectRect(const RECT& r, int x, int y, int w, int h, const char* what) {
  EXPECT_EQ(r.left, x) << what;
  EXPECT_EQ(r.top, y) << what;
  EXPECT_EQ(r.right - r.left, w) << what;
  EXPECT_EQ(r.bottom - r.top, h) << what;
}

RECT screenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

class EditorWindowTest : public ::testing::Test {
 protected:
  EditorWindowTest() : fixture(hooks()) {}
  EditorCommands hooks() {
    EditorCommands c;
    c.togglePlayPause = [this] { calls.push_back("togglePlayPause"); };
    c.seekBackward = [this] { calls.push_back("seekBackward"); };
    c.seekForward = [this] { calls.push_back("seekForward"); };
    c.stepSpeed = [this](int d) { calls.push_back(d > 0 ? "stepSpeed up" : "stepSpeed down"); };
    c.openAudioFile = [this] { calls.push_back("openAudioFile"); };
    c.newDocument = [this] { calls.push_back("newDocument"); };
    c.openDocument = [this] { calls.push_back("openDocument"); };
    c.saveDocument = [this] { calls.push_back("saveDocument"); };
    c.saveDocumentAs = [this] { calls.push_back("saveDocumentAs"); };
    c.positionText = [] { return std::string("01:05"); };
    c.editorGotFocus = [this] { calls.push_back("editorGotFocus"); };
    return c;
  }
  int id(int position) const { return fixture.state().hotkeyIds[static_cast<std::size_t>(position - 1)]; }
  void hotkey(int identifier) {
    SendMessageW(fixture.window().handle(), WM_HOTKEY, static_cast<WPARAM>(identifier), 0);
  }
  std::vector<std::string> takeCalls() { return std::exchange(calls, {}); }

  std::vector<std::string> calls;
  mutable test::EditorFixture fixture;
};

}  // namespace

TEST_F(EditorWindowTest, ControlsSitWhereTheFormPutsThem) {
  EditorWindow& w = fixture.window();
  const RECT owner = screenRect(fixture.owner());
  const RECT editor = screenRect(w.handle());
  EXPECT_EQ(editor.left, owner.left + 10);
  EXPECT_EQ(editor.top, owner.top + 120);
  EXPECT_EQ(editor.right - editor.left, 660);
  EXPECT_EQ(editor.bottom - editor.top, 308);
  EXPECT_EQ(GetWindow(w.handle(), GW_OWNER), fixture.owner());
  EXPECT_FALSE(GetWindowLongW(w.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  expectRect(rectIn(w.richEdit().handle(), w.handle()), 6, 7, 644, 293, "超级编辑框1");
  expectRect(w.formatPanel().rect(), 208, 120, 237, 98, "图片框_右键弹出");
  expectRect(w.datePicker().rect(), 464, 48, 176, 216, "图片框_日期选择");
  EXPECT_FALSE(w.formatPanel().visible());
  EXPECT_FALSE(w.datePicker().visible());
  expectRect(rectIn(w.formatPanel().toolbar(), w.formatPanel().handle()), 1, 1, 233, 24, "工具条1");
  EXPECT_EQ(SendMessageW(w.formatPanel().toolbar(), TB_BUTTONCOUNT, 0, 0), 10);
  EXPECT_TRUE(w.formatPanel().autoPopup());
  EXPECT_TRUE(fixture.state().formatPanelAutoPopup);
  EXPECT_EQ(SendMessageW(w.formatPanel().sizeList(), CB_GETCOUNT, 0, 0), 16);
}

TEST_F(EditorWindowTest, CreationRegistersThe31HotkeysWithRisingIdentifiers) {
  EXPECT_TRUE(fixture.state().hotkeysRegistered);
  for (int n = 1; n <= kHotkeyTotal; ++n) {
    EXPECT_GE(id(n), kFirstHotkeyId) << n;
    if (n > 1) {
      EXPECT_EQ(id(n), id(n - 1) + 1) << n;
    }
  }
}

TEST_F(EditorWindowTest, EachNotificationRunsItsCommand) {
  fixture.state().tabHotkeyEnabled = true;
  const std::map<int, std::string> expected = {
      {1, "togglePlayPause"}, {2, "seekBackward"},  {3, "seekForward"},  {4, "openAudioFile"},
      {5, "stepSpeed down"},  {6, "stepSpeed up"},  {20, "togglePlayPause"}, {22, "openDocument"},
      {23, "newDocument"},    {24, "saveDocument"}, {25, "saveDocumentAs"},
  };
  for (const auto& [position, command] : expected) {
    hotkey(id(position));
    EXPECT_EQ(takeCalls(), std::vector<std::string>{command}) << "hotkey " << position;
  }
  fixture.setText("");
  hotkey(id(26));
  EXPECT_EQ(fixture.text().text(), "【01:05】");
  hotkey(id(28));
  EXPECT_TRUE(fixture.window().datePicker().visible());
  hotkey(12345);
  hotkey(0);
  EXPECT_TRUE(takeCalls().empty());
}

TEST_F(EditorWindowTest, TabAndShiftWithTheirOptionsOffAreSwallowed) {
  fixture.state().tabHotkeyEnabled = false;
  fixture.state().shiftHotkeyEnabled = false;
  fixture.window().setKeyStateReader([](int) { return short{1}; });
  fixture.setText("ab");
  hotkey(id(20));
  hotkey(id(21));
  EXPECT_TRUE(takeCalls().empty());
  EXPECT_EQ(fixture.text().text(), "ab") << "no tab character";
}

TEST_F(EditorWindowTest, ShiftRuleWithAStubbedKeyState) {
  fixture.state().shiftHotkeyEnabled = true;
  std::map<int, short> keys;
  fixture.window().setKeyStateReader([&keys](int key) { return keys[key]; });
  keys = {{160, 0}, {161, 1}};
  hotkey(id(21));
  keys = {{160, 1}, {161, 0}};
  hotkey(id(21));
  keys = {{160, short(0x8001)}, {161, short(0x8000)}};
  hotkey(id(21));
  EXPECT_EQ(takeCalls(), (std::vector<std::string>{"seekForward", "seekBackward"}));
}

TEST_F(EditorWindowTest, ReleasedAndRegisteredAgainTheIdentifiersAreNewAndStillWork) {
  const auto before = fixture.state().hotkeyIds;
  fixture.window().releaseHotkeys();
  EXPECT_FALSE(fixture.state().hotkeysRegistered);
  hotkey(before[0]);
  EXPECT_TRUE(takeCalls().empty()) << "a notification for a released key runs nothing";
  fixture.window().registerHotkeys();
  const auto after = fixture.state().hotkeyIds;
  std::set<int> old(before.begin(), before.end());
  for (int n = 0; n < kHotkeyTotal; ++n) {
    EXPECT_EQ(old.count(after[n]), 0u) << n;
    EXPECT_GT(after[n], before[kHotkeyTotal - 1]) << n;
  }
  hotkey(before[0]);
  hotkey(after[0]);
  EXPECT_EQ(takeCalls(), std::vector<std::string>{"togglePlayPause"});
}

TEST_F(EditorWindowTest, AKeyTakenElsewhereGetsZeroAndTheOthersWork) {
  fixture.window().releaseHotkeys();
  test::EditorFixture other;  // holds every key now
  ASSERT_TRUE(other.state().hotkeysRegistered);
  other.window().releaseHotkeys();
  ASSERT_TRUE(RegisterHotKey(other.owner(), 1, 0, 0x75));  // F6 belongs to someone else
  fixture.window().registerHotkeys();
  EXPECT_EQ(id(3), 0);
  for (int n = 1; n <= kHotkeyTotal; ++n)
    if (n != 3) {
      EXPECT_NE(id(n), 0) << n;
    }
  hotkey(id(1));
  hotkey(id(2));
  EXPECT_EQ(takeCalls(), (std::vector<std::string>{"togglePlayPause", "seekBackward"}));
  UnregisterHotKey(other.owner(), 1);
}

TEST_F(EditorWindowTest, ActivationRules) {
  AppState& state = fixture.state();
  HWND editor = fixture.window().handle();
  // Editor to main window: kept.
  SendMessageW(editor, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(state.editorActive);
  const int first = id(1);
  SendMessageW(editor, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(fixture.owner()));
  EXPECT_FALSE(state.editorActive);
  EXPECT_TRUE(state.hotkeysRegistered);
  EXPECT_EQ(id(1), first);
  // Editor to another program: released.
  SendMessageW(editor, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(state.hotkeysRegistered);
  // Back to the editor: registered again, with new identifiers.
  SendMessageW(editor, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(state.hotkeysRegistered);
  EXPECT_GT(id(1), first);
  // Main window deactivated while the editor is not active: released; the
  // main window's activation takes them again.
  SendMessageW(editor, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(fixture.owner()));
  SendMessageW(fixture.owner(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(state.hotkeysRegistered);
  SendMessageW(fixture.owner(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(state.hotkeysRegistered);
}

TEST_F(EditorWindowTest, RightButtonPlacesTheFormatPanelFlippedAtTheEdges) {
  EditorWindow& w = fixture.window();
  struct Case {
    int x, y, left, top;
  } cases[] = {{100, 50, 100, 50}, {600, 50, 363, 50}, {100, 280, 100, 182}, {600, 280, 363, 182}};
  for (const Case& c : cases) {
    SendMessageW(w.richEdit().handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.x, c.y));
    SendMessageW(w.richEdit().handle(), WM_RBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    EXPECT_TRUE(w.formatPanel().visible());
    const RECT r = w.formatPanel().rect();
    EXPECT_EQ(r.left, c.left) << c.x << "," << c.y;
    EXPECT_EQ(r.top, c.top) << c.x << "," << c.y;
  }
  SendMessageW(w.richEdit().handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(w.richEdit().handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(w.formatPanel().visible());
}

TEST_F(EditorWindowTest, SelectingPopsThePanelUpOnlyWhileTheBoxIsTicked) {
  EditorWindow& w = fixture.window();
  fixture.setText("some words to select");
  w.richEdit().select(0, 4);
  EXPECT_TRUE(w.formatPanel().visible());
  w.richEdit().select(2, 2);
  EXPECT_FALSE(w.formatPanel().visible());
  SendMessageW(w.formatPanel().autoPopupBox(), BM_CLICK, 0, 0);
  EXPECT_FALSE(fixture.state().formatPanelAutoPopup);
  w.richEdit().select(0, 4);
  EXPECT_FALSE(w.formatPanel().visible());
}

TEST_F(EditorWindowTest, EveryTextChangeMarksTheDocumentModified) {
  fixture.state().documentModified = false;
  SendMessageW(fixture.text().handle(), WM_CHAR, L'a', 0);
  EXPECT_TRUE(fixture.state().documentModified);
  fixture.state().documentModified = false;
  fixture.window().insertTimeMarker();
  EXPECT_TRUE(fixture.state().documentModified);
  fixture.state().documentModified = false;
  fixture.setText("loaded");
  EXPECT_TRUE(fixture.state().documentModified);
}

TEST_F(EditorWindowTest, ToolbarAndEditingButtons) {
  EditorWindow& w = fixture.window();
  fixture.setText("abc def");
  SendMessageW(w.formatPanel().handle(), WM_COMMAND, FormatPanel::toolbarCommand(kButtonSelectAll), 0);
  // All of it; the control counts its final paragraph mark in as well.
  EXPECT_GE(w.richEdit().selectedCount(), 7);
  w.copy();
  EXPECT_EQ(clipboardText(w.handle()).value_or("").substr(0, 7), "abc def");
  w.richEdit().select(0, 4);
  w.cut();
  EXPECT_EQ(w.richEdit().text(), "def");
  w.undo();
  EXPECT_EQ(w.richEdit().text(), "abc def");
  w.redo();
  EXPECT_EQ(w.richEdit().text(), "def");
  w.paste();
  EXPECT_EQ(w.richEdit().text(), "abc def");
  EXPECT_EQ(GetFocus(), w.richEdit().handle());
  w.richEdit().select(1, 1);
  EXPECT_TRUE(w.formatPanel().buttonEnabled(kButtonPaste));
}

TEST_F(EditorWindowTest, FollowsRelaysOutCollapsesAndExpands) {
  EditorWindow& w = fixture.window();
  SetWindowPos(fixture.owner(), nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT editor = screenRect(w.handle());
  EXPECT_EQ(editor.left, 210);
  EXPECT_EQ(editor.top, 220);
  EXPECT_EQ(editor.right - editor.left, 660) << "a move keeps the size";

  w.relayout({200, 100, 200 + 780, 100 + 500});
  editor = screenRect(w.handle());
  expectRect(editor, 210, 220, 760, 370, "editor after a resize");
  const RECT text = screenRect(w.richEdit().handle());
  EXPECT_EQ(text.right - text.left, 750);
  EXPECT_EQ(text.bottom - text.top, 360);

  w.collapseEditor();
  EXPECT_TRUE(fixture.state().editorCollapsed);
  editor = screenRect(w.handle());
  EXPECT_EQ(editor.right - editor.left, 0);
  EXPECT_EQ(editor.bottom - editor.top, 0);
  w.relayout({200, 100, 200 + 780, 100 + 500});
  editor = screenRect(w.handle());
  EXPECT_EQ(editor.right - editor.left, 0) << "a resize does not bring it back";

  w.expandEditor({200, 100, 200 + 780, 100 + 500});
  EXPECT_FALSE(fixture.state().editorCollapsed);
  expectRect(screenRect(w.handle()), 210, 220, 760, 370, "editor expanded");
}

TEST_F(EditorWindowTest, ToolbarTipsAndColourNamesAreShown) {
  FormatPanel& panel = fixture.window().formatPanel();
  const char* tips[] = {"粗体", "斜体", "下划线", "全选", "插入日期时间", "【时间标记】插入当前秒", "插入分隔线",
                        "剪切", "复制", "粘贴"};
  for (int n = 0; n < kToolbarButtonCount; ++n) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(panel.toolbar(), TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = static_cast<UINT_PTR>(FormatPanel::toolbarCommand(n));
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(panel.handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr) << n;
    EXPECT_EQ(text::narrow(info.lpszText), tips[n]) << n;
  }
  EXPECT_TRUE(SendMessageW(panel.toolbar(), TB_GETSTYLE, 0, 0) & TBSTYLE_TOOLTIPS);
  TBBUTTON bold{};
  SendMessageW(panel.toolbar(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&bold));
  EXPECT_TRUE(bold.fsStyle & BTNS_CHECK);
  HIMAGELIST pictures = reinterpret_cast<HIMAGELIST>(SendMessageW(panel.toolbar(), TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(pictures), kToolbarPictureCount) << "the embedded strip decoded";
}

TEST_F(EditorWindowTest, FocusInTheTranscriptTellsTheMainWindow) {
  SetFocus(fixture.owner());
  takeCalls();
  SetFocus(fixture.text().handle());
  test::pumpMessages();
  EXPECT_EQ(takeCalls(), std::vector<std::string>{"editorGotFocus"});
}

TEST_F(EditorWindowTest, ActivationPutsTheCaretBackInTheTranscript) {
  SetFocus(fixture.owner());
  SendMessageW(fixture.window().handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  test::pumpMessages();
  EXPECT_EQ(GetFocus(), fixture.text().handle());
  fixture.window().openDatePicker();
  SendMessageW(fixture.window().handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  test::pumpMessages();
  EXPECT_EQ(GetFocus(), fixture.window().datePicker().list()) << "a panel keeps its focus";
}

TEST(EditorWindowNotLoaded, HotkeyCallsDoNothing) {
  EditorWindow never;
  never.registerHotkeys();
  never.releaseHotkeys();
  never.followMainWindow({0, 0, 100, 100});
  EXPECT_EQ(never.handle(), nullptr);
}
