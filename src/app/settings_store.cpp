#include "app/settings_store.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/files.h"
#include "platform/text_codec.h"

namespace zelvo {
namespace {

constexpr const char* kOn = "真";
constexpr const char* kOff = "假";
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";

struct DefaultEntry {
  const char* path;
  const char* text;  // nullptr: an element that has children
};

// The default tree, in the order the file lists it.
constexpr DefaultEntry kDefaults[] = {
    {"Tab", kOn},          {"Shift", kOn},        {"UI_Color", "4016474"}, {"UI_Touming", "100"},
    {"Color", nullptr},    {"Color/Color1", "255"}, {"Color/Color2", "0"},   {"Color/Color3", ""},
    {"Color/Color4", ""},  {"Color/Color5", ""},  {"Color/Color6", ""},    {"Font", nullptr},
    {"Font/Font1", "黑体"}, {"Font/Font2", "宋体"}, {"Font/Font3", ""},      {"Font/Font4", ""},
    {"Font/Font5", ""},
};

constexpr const char* kRootName = "ZVL_LY";
constexpr const char* kRootChildren[] = {"Tab", "Shift", "UI_Color", "UI_Touming", "Color", "Font"};

std::string colourPath(int n) { return "Color/Color" + std::to_string(n); }
std::string fontPath(int n) { return "Font/Font" + std::to_string(n); }

int elementChildCount(const pugi::xml_node& node) {
  int count = 0;
  for (const auto& child : node.children())
    if (child.type() == pugi::node_element) ++count;
  return count;
}

bool childrenAreNumbered(const pugi::xml_node& parent, std::string_view prefix, int expected) {
  if (elementChildCount(parent) != expected) return false;
  for (const auto& child : parent.children()) {
    if (child.type() != pugi::node_element) continue;
    bool known = false;
    for (int n = 1; n <= expected && !known; ++n)
      known = child.name() == std::string(prefix) + std::to_string(n);
    if (!known) return false;
  }
  return true;
}

bool startsWithUtf8Marker(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  // A declaration that names UTF-8 is taken at its word; everything else is
  // read in the program's code page.
  const auto end = bytes.find("?>");
  if (!bytes.starts_with("<?xml") || end == std::string_view::npos) return false;
  std::string declaration(bytes.substr(0, end));
  for (char& c : declaration) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return declaration.find("\"utf-8\"") != std::string::npos || declaration.find("'utf-8'") != std::string::npos;
}

void appendEscaped(std::string& out, std::string_view text, bool attribute) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) {
          out += "&quot;";
          break;
        }
        [[fallthrough]];
      default: out += c;
    }
  }
}

std::string textOf(const pugi::xml_node& node) {
  std::string text;
  for (const auto& child : node.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  return text;
}

// One element per line (CR LF), one TAB per level, empty elements short.
void writeElement(std::string& out, const pugi::xml_node& node, int depth) {
  out += "\r\n";
  out.append(depth, '\t');
  out += '<';
  out += node.name();
  for (const auto& attribute : node.attributes()) {
    out += ' ';
    out += attribute.name();
    out += "=\"";
    appendEscaped(out, attribute.value(), true);
    out += '"';
  }
  const std::string text = textOf(node);
  const bool hasChildren = elementChildCount(node) > 0;
  if (text.empty() && !hasChildren) {
    out += "/>";
    return;
  }
  out += '>';
  appendEscaped(out, text, false);
  if (hasChildren) {
    for (const auto& child : node.children())
      if (child.type() == pugi::node_element) writeElement(out, child, depth + 1);
    out += "\r\n";
    out.append(depth, '\t');
  }
  out += "</";
  out += node.name();
  out += '>';
}

pugi::xml_node nodeAt(const pugi::xml_node& root, std::string_view path) {
  pugi::xml_node node = root;
  while (node && !path.empty()) {
    const auto slash = path.find('/');
    node = node.child(std::string(path.substr(0, slash)).c_str());
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
  }
  return node;
}

void replaceText(pugi::xml_node node, std::string_view text) {
  for (pugi::xml_node child = node.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) node.remove_child(child);
    child = next;
  }
  if (!text.empty()) node.prepend_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

}  // namespace

int textToInt(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double number = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
  if (ec != std::errc{} || !std::isfinite(number)) return 0;
  number = std::trunc(number);
  if (number > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (number < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(number);
}

void SettingsStore::setDirectory(std::filesystem::path directory) { directory_ = std::move(directory); }

void SettingsStore::loadSettings() {
  const std::optional<std::string> bytes = files::readAll(filePath());
  if (!bytes) {
    writeDefaultSettings();
    return;
  }
  const std::string utf8 = startsWithUtf8Marker(*bytes) ? *bytes : text::gbkToUtf8(*bytes);
  document_.reset();
  const pugi::xml_parse_result parsed = document_.load_buffer(utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed || !hasExpectedShape()) writeDefaultSettings();
}

bool SettingsStore::hasExpectedShape() const {
  const pugi::xml_node root = document_.document_element();
  if (std::string_view(root.name()) != kRootName) return false;
  if (elementChildCount(root) != 6) return false;
  for (const auto& child : root.children()) {
    if (child.type() != pugi::node_element) continue;
    bool known = false;
    for (const char* name : kRootChildren) known = known || std::string_view(child.name()) == name;
    if (!known) return false;
  }
  return childrenAreNumbered(root.child("Color"), "Color", 6) && childrenAreNumbered(root.child("Font"), "Font", 5);
}

void SettingsStore::buildDefaultDocument() {
  document_.reset();
  pugi::xml_node root = document_.append_child(kRootName);
  for (const DefaultEntry& entry : kDefaults) {
    std::string_view path = entry.path;
    const auto slash = path.rfind('/');
    pugi::xml_node parent = slash == std::string_view::npos ? root : nodeAt(root, path.substr(0, slash));
    pugi::xml_node node = parent.append_child(std::string(path.substr(slash + 1)).c_str());
    if (entry.text && *entry.text) node.append_child(pugi::node_pcdata).set_value(entry.text);
  }
}

void SettingsStore::writeDefaultSettings() {
  buildDefaultDocument();
  (void)save();  // a folder that cannot be written is not an error at start-up
}

void SettingsStore::applySettings(AppSettings& into) const {
  into.tabHotkeyEnabled = value("Tab") == kOn;
  into.shiftHotkeyEnabled = value("Shift") == kOn;
  into.uiColor = textToInt(value("UI_Color"));
  into.uiOpacityPercent = textToInt(value("UI_Touming"));
  for (int n = 1; n <= 6; ++n) into.shortcutColours[n - 1] = value(colourPath(n));
  for (int n = 1; n <= 5; ++n) into.shortcutFonts[n - 1] = value(fontPath(n));
}

std::string SettingsStore::value(std::string_view path) const {
  const pugi::xml_node node = nodeAt(document_.document_element(), path);
  return node ? textOf(node) : std::string{};
}

void SettingsStore::setValue(std::string_view path, std::string_view text) {
  pugi::xml_node root = document_.document_element();
  if (!root) root = document_.append_child(kRootName);
  // A file may pass the shape check with a name repeated and another one
  // missing; the missing element is added so the value is not lost.
  pugi::xml_node node = root;
  while (!path.empty()) {
    const auto slash = path.find('/');
    const std::string name(path.substr(0, slash));
    pugi::xml_node next = node.child(name.c_str());
    node = next ? next : node.append_child(name.c_str());
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
  }
  replaceText(node, text);
}

bool SettingsStore::save() const { return files::replaceAll(filePath(), serialize()); }

bool SettingsStore::saveEditorSettings(const AppSettings& from) {
  setValue("Tab", from.tabHotkeyEnabled ? kOn : kOff);
  setValue("Shift", from.shiftHotkeyEnabled ? kOn : kOff);
  for (int n = 1; n <= 6; ++n) setValue(colourPath(n), from.shortcutColours[n - 1]);
  for (int n = 1; n <= 5; ++n) setValue(fontPath(n), from.shortcutFonts[n - 1]);
  return save();
}

bool SettingsStore::saveAppearanceSettings(const AppSettings& from) {
  setValue("UI_Color", std::to_string(from.uiColor));
  setValue("UI_Touming", std::to_string(from.uiOpacityPercent));
  return save();
}

std::string SettingsStore::serialize() const {
  std::string utf8 = kDeclaration;
  if (const pugi::xml_node root = document_.document_element()) writeElement(utf8, root, 0);
  return text::utf8ToGbk(utf8);
}

std::string SettingsStore::defaultFileBytes() {
  SettingsStore store;
  store.buildDefaultDocument();
  return store.serialize();
}

}  // namespace zelvo
