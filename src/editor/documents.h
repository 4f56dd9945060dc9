// The transcript document: New, Open, Save, Save As and the prompt for
// unsaved changes that New, Open and exiting run first.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "editor/rich_edit.h"

namespace zelvo::editor {

// What the document commands show and ask; the program wires these to the
// skinned message box, the message line and the file dialogs.
struct DocumentUi {
  // (text, title, button set, icon) -> result of the skinned message box.
  std::function<int(const std::string&, const std::string&, int, int)> messageBox;
  std::function<void(const std::string&)> notice;
  // The "另存为" dialog; nothing when cancelled.
  std::function<std::optional<std::string>()> chooseSavePath;
  // The open-document dialog; nothing when cancelled.
  std::function<std::optional<std::string>()> chooseOpenPath;
};

// Message-box results and sets used here.
inline constexpr int kResultCancel = 1, kResultYes = 5, kResultNo = 6;
inline constexpr int kButtonsOk = 0, kButtonsYesNoCancel = 3;
inline constexpr int kIconError = 16, kIconQuestion = 32;

class Documents {
 public:
  Documents(AppState& state, RichEdit& editor, DocumentUi ui);

  // True: the caller's action is cancelled.
  bool confirmDiscardOrSave();
  void newDocument();
  void openDocument();
  bool saveDocument();
  bool saveDocumentAs();
  bool writeDocument(const std::string& path);

  // The editor's own open-document command: loads `path` into the editor
  // as RTF or text by its kind. False when the file cannot be read.
  bool loadDocument(const std::string& path);

 private:
  void notice(const std::string& text) const;
  int ask(const std::string& text, const std::string& title, int buttons, int icon) const;

  AppState& state_;
  RichEdit& editor_;
  DocumentUi ui_;
};

// The real dialogs, owned by `owner`.
std::optional<std::string> chooseSaveDocumentPath(HWND owner);
std::optional<std::string> chooseOpenDocumentPath(HWND owner);

}  // namespace zelvo::editor
