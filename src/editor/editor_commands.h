// What the editor's hotkeys call outside the editor: the playback and
// document commands and the main window's position label. The application
// fills these in at start-up; an empty hook does nothing.
#pragma once

#include <functional>
#include <string>

namespace zelvo::editor {

struct EditorCommands {
  std::function<void()> togglePlayPause;
  std::function<void()> seekBackward;
  std::function<void()> seekForward;
  std::function<void(int direction)> stepSpeed;  // +1 one step faster, -1 slower
  std::function<void()> openAudioFile;
  std::function<void()> newDocument;
  std::function<void()> openDocument;
  std::function<void()> saveDocument;
  std::function<void()> saveDocumentAs;
  // The position label's text at this moment ("" before anything played).
  std::function<std::string()> positionText;
  // The transcript got the keyboard focus: the main window's host moves its
  // own focus to the expand-editor button, away from the address box.
  std::function<void()> editorGotFocus;
};

}  // namespace zelvo::editor
