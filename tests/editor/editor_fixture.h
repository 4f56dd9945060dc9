// A stand-in main window with the real EditorWindow over it, for the editor
// tests under Wine. The stand-in follows the main window's activation rules.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "editor/editor_window.h"
#include "platform/handles.h"

namespace zelvo::test {

// Runs the thread's messages until `done` or the deadline; true when done.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Runs the messages that are waiting now.
void pumpMessages();

class EditorFixture {
 public:
  // A managed owner (a window the X side treats as an application window)
  // gets the keyboard focus that typed keys need, but Wine then waits up to
  // two seconds for the X server when it goes away; the tests that only send
  // messages use an unmanaged one.
  enum class Owner { Unmanaged, Managed };
  explicit EditorFixture(editor::EditorCommands commands = {}, editor::LocalClock clock = {},
                         Owner kind = Owner::Unmanaged);
  ~EditorFixture();

  HWND owner() const { return owner_.get(); }
  AppState& state() { return *state_; }
  editor::EditorWindow& window() { return *editor_; }
  editor::RichEdit& text() { return editor_->richEdit(); }
  // Replaces the transcript with plain text and puts the caret at its end.
  void setText(const std::string& utf8);

 private:
  static LRESULT CALLBACK ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<AppState> state_;
  std::unique_ptr<editor::EditorWindow> editor_;
  platform::ScopedWindow owner_;
};

}  // namespace zelvo::test
