// data.xml: the program's one settings file, held in memory for the whole run.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace zelvo {

// The values the settings file feeds into AppState (which derives from this).
struct AppSettings {
  bool tabHotkeyEnabled = false;
  bool shiftHotkeyEnabled = false;
  int uiColor = 0;
  int uiOpacityPercent = 0;
  std::array<std::string, 6> shortcutColours;
  std::array<std::string, 5> shortcutFonts;
};

class SettingsStore {
 public:
  static constexpr const char* kFileName = "data.xml";

  // `directory` is where data.xml lives: the executable's folder.
  void setDirectory(std::filesystem::path directory);
  const std::filesystem::path& directory() const { return directory_; }

  // Parses data.xml; a missing, unparsable or wrongly shaped file is
  // replaced by the default one.
  void loadSettings();
  void writeDefaultSettings();
  void applySettings(AppSettings& into) const;
  // `path` is an element path from the root, such as "Color/Color1".
  void setValue(std::string_view path, std::string_view text);
  [[nodiscard]] bool save() const;
  [[nodiscard]] bool saveEditorSettings(const AppSettings& from);
  [[nodiscard]] bool saveAppearanceSettings(const AppSettings& from);

  // The text of the element at `path`; empty when there is none.
  std::string value(std::string_view path) const;
  // The file as save() writes it: GBK, CR LF, TAB indentation.
  std::string serialize() const;
  static std::string defaultFileBytes();

 private:
  void buildDefaultDocument();
  bool hasExpectedShape() const;
  std::filesystem::path filePath() const { return directory_ / kFileName; }

  std::filesystem::path directory_;
  pugi::xml_document document_;
};

// The number at the start of `text`, truncated toward zero; 0 when the text
// does not start with one.
int textToInt(std::string_view text);

}  // namespace zelvo
