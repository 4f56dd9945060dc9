#include "editor/documents.h"

#include <commdlg.h>

#include "editor/document_rules.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/text_codec.h"

namespace zelvo::editor {
namespace {

// Whether another program lets us write the file at all: it may hold it
// open without sharing, or it may be read-only. Creates a missing file, as
// saving would.
bool canOpenForWriting(const std::string& path) {
  const std::filesystem::path target = files::fromUtf8(path);
  platform::ScopedHandle file(CreateFileW(files::longPathForm(target).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

// "name|pattern|name|pattern" in the dialog's form: NUL-separated, two NULs
// at the end.
std::wstring dialogFilter(std::wstring_view pairs) {
  std::wstring filter(pairs);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  return filter;
}

std::optional<std::string> runFileDialog(HWND owner, bool save) {
  wchar_t file[32768] = L"";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  std::wstring title, filter;
  if (save) {
    title = L"另存为";
    filter = dialogFilter(L"RTF文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt");
    ofn.lpstrDefExt = L"RTF";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  } else {
    title = L"请输入欲打开文档的文件名:";
    filter = dialogFilter(L"RTF文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*");
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  }
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrFilter = filter.c_str();
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen || file[0] == L'\0') return std::nullopt;
  return text::narrow(file);
}

}  // namespace

std::optional<std::string> chooseSaveDocumentPath(HWND owner) { return runFileDialog(owner, true); }
std::optional<std::string> chooseOpenDocumentPath(HWND owner) { return runFileDialog(owner, false); }

Documents::Documents(AppState& state, RichEdit& editor, DocumentUi ui)
    : state_(state), editor_(editor), ui_(std::move(ui)) {}

void Documents::notice(const std::string& text) const {
  if (ui_.notice) ui_.notice(text);
}

int Documents::ask(const std::string& text, const std::string& title, int buttons, int icon) const {
  return ui_.messageBox ? ui_.messageBox(text, title, buttons, icon) : kResultCancel;
}

bool Documents::confirmDiscardOrSave() {
  if (!state_.documentModified) return false;
  switch (ask("文件已经被修改，是否保存？", "询问", kButtonsYesNoCancel, kIconQuestion)) {
    case kResultYes: return !saveDocument();
    case kResultNo: return false;
    default: return true;  // 取消, or the box closed without an answer
  }
}

void Documents::newDocument() {
  if (confirmDiscardOrSave()) return;
  editor_.setContent("");
  state_.documentPath.clear();
  state_.documentModified = false;  // after the change, which set it
}

bool Documents::loadDocument(const std::string& path) {
  const std::optional<std::string> bytes = files::readAll(files::fromUtf8(path));
  if (!bytes) return false;
  // Files of no known kind are sniffed: RTF when they look like it.
  const DocumentKind kind = documentKind(path);
  const bool rtf = kind == DocumentKind::Rtf || (kind == DocumentKind::None && bytes->starts_with("{\\rtf"));
  if (rtf) {
    editor_.setContentFormat(ContentFormat::Rtf);
    editor_.setContent(*bytes);
    // A damaged RTF file that the control refuses still shows its text.
    if (!editor_.contentEmpty() || bytes->empty()) return true;
  }
  editor_.setContentFormat(ContentFormat::PlainText);
  editor_.setContent(decodeTextDocument(*bytes));
  return true;
}

void Documents::openDocument() {
  if (confirmDiscardOrSave()) return;
  std::string path = ui_.chooseOpenPath ? ui_.chooseOpenPath().value_or(std::string{}) : std::string{};
  if (!path.empty() && !loadDocument(path)) path.clear();
  state_.documentPath = path;
  if (!path.empty()) {
    notice(openedNotice(path));
    state_.documentModified = false;
  }
}

bool Documents::saveDocument() {
  if (!state_.documentModified) {
    notice("提示：文档还未做任何修改，无法保存！");
    return false;
  }
  switch (documentKind(state_.documentPath)) {
    case DocumentKind::Text:
      editor_.setContentFormat(ContentFormat::PlainText);
      return writeDocument(state_.documentPath);
    case DocumentKind::Rtf:
      editor_.setContentFormat(ContentFormat::Rtf);
      return writeDocument(state_.documentPath);
    case DocumentKind::None: return saveDocumentAs();
  }
  return false;
}

bool Documents::saveDocumentAs() {
  const std::optional<std::string> path = ui_.chooseSavePath ? ui_.chooseSavePath() : std::nullopt;
  if (!path || path->empty()) return false;
  editor_.setContentFormat(documentKind(*path) == DocumentKind::Text ? ContentFormat::PlainText : ContentFormat::Rtf);
  return writeDocument(*path);
}

bool Documents::writeDocument(const std::string& path) {
  if (!canOpenForWriting(path)) {
    ask(saveFailedBoxText(path), "错误", kButtonsOk, kIconError);
    return false;
  }
  const std::string content = editor_.content();
  const std::string bytes = editor_.contentFormat() == ContentFormat::PlainText ? encodeTextDocument(content) : content;
  // The new text goes to a file beside the old one and replaces it only
  // when it is complete, so a failed write never destroys the last save.
  if (!files::replaceAll(files::fromUtf8(path), bytes)) {
    notice(saveFailedNotice(path));
    return false;
  }
  state_.documentPath = path;
  state_.documentModified = false;
  notice(savedNotice(path));
  return true;
}

}  // namespace zelvo::editor
