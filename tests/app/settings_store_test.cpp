#include "app/settings_store.h"

#include <gtest/gtest.h>

#include "app/default_settings_file.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "temp_dir.h"

using namespace zelvo;
using zelvo::test::kDefaultFile;

namespace {



// A well-shaped file in UTF-8 with the given inner parts, encoded to GBK.
std::string fileWith(const std::string& tab, const std::string& opacity, const std::string& colour = "4016474") {
  return text::utf8ToGbk("<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<ZVL_LY><Tab>" + tab +
                         "</Tab><Shift>真</Shift><UI_Color>" + colour + "</UI_Color><UI_Touming>" + opacity +
                         "</UI_Touming><Color><Color1>255</Color1><Color2>0</Color2><Color3>16711680</Color3>"
                         "<Color4/><Color5/><Color6/></Color><Font><Font1>黑体</Font1><Font2>宋体</Font2>"
                         "<Font3>楷体</Font3><Font4/><Font5/></Font></ZVL_LY>");
}

class SettingsFile : public ::testing::Test {
 protected:
  void write(const std::string& bytes) { ASSERT_TRUE(files::replaceAll(dir / "data.xml", bytes)); }
  std::string onDisk() { return files::readAll(dir / "data.xml").value_or("<missing>"); }
  AppSettings load() {
    store.setDirectory(dir.path());
    store.loadSettings();
    AppSettings settings;
    store.applySettings(settings);
    return settings;
  }

  test::TempDir dir;
  SettingsStore store;
};

}  // namespace

TEST_F(SettingsFile, MissingFileWritesTheDefaultByteForByte) {
  const AppSettings s = load();
  EXPECT_EQ(onDisk(), kDefaultFile);
  EXPECT_TRUE(s.tabHotkeyEnabled);
  EXPECT_TRUE(s.shiftHotkeyEnabled);
  EXPECT_EQ(s.uiColor, 4016474);
  EXPECT_EQ(s.uiOpacityPercent, 100);
  EXPECT_EQ(s.shortcutColours, (std::array<std::string, 6>{"255", "0", "", "", "", ""}));
  EXPECT_EQ(s.shortcutFonts, (std::array<std::string, 5>{"黑体", "宋体", "", "", ""}));
}

TEST_F(SettingsFile, WrongShapesAndBadBytesAreReplacedByTheDefault) {
  const std::string good = fileWith("真", "80");
  auto replaced = [&](std::string from, const std::string& to) {
    return good.substr(0, good.find(from)) + to + good.substr(good.find(from) + from.size());
  };
  const std::pair<const char*, std::string> cases[] = {
      {"root renamed", replaced("ZVL_LY>", "ZVL>").replace(good.size() - 8, 8, "</ZVL>")},
      {"five children", replaced("<UI_Touming>80</UI_Touming>", "")},
      {"seven children", replaced("<Tab>", "<Extra/><Tab>")},
      {"unknown child", replaced("<Shift>", "<Shift2>").replace(good.find("</Shift>") + 1, 7, "</Shift2>")},
      {"five colours", replaced("<Color6/>", "")},
      {"colour misnamed", replaced("<Color6/>", "<Color7/>")},
      {"six fonts", replaced("<Font5/>", "<Font5/><Font6/>")},
      {"font misnamed", replaced("<Font4/>", "<font4/>")},
      {"truncated", good.substr(0, good.size() / 2)},
      {"empty", ""},
      {"binary", std::string("\x00\x01\xFF\xFE\x89PNG\r\n\x1A\n", 12)},
      {"no root", "<?xml version=\"1.0\" encoding=\"gb2312\"?>"},
  };
  for (const auto& [name, bytes] : cases) {
    write(bytes);
    load();
    EXPECT_EQ(onDisk(), kDefaultFile) << name;
  }
}

TEST_F(SettingsFile, AWellShapedFileKeepsItsValuesAndIsNotRewritten) {
  struct Case {
    std::string tab, opacity, colour;
    bool tabOn;
    int opacityValue, colourValue;
  };
  const Case cases[] = {
      {"真", "80", "255", true, 80, 255},
      {"假", "abc", "12.9", false, 0, 12},
      {"", "-5", "x1", false, -5, 0},
      {"on", "99999999999", "4016474", false, 2147483647, 4016474},
      {"真 ", "0", "", false, 0, 0},
  };
  for (const Case& c : cases) {
    const std::string bytes = fileWith(c.tab, c.opacity, c.colour);
    write(bytes);
    const AppSettings s = load();
    EXPECT_EQ(s.tabHotkeyEnabled, c.tabOn) << c.tab;
    EXPECT_EQ(s.uiOpacityPercent, c.opacityValue) << c.opacity;
    EXPECT_EQ(s.uiColor, c.colourValue) << c.colour;
    EXPECT_EQ(s.shortcutColours[2], "16711680");
    EXPECT_EQ(s.shortcutFonts[2], "楷体");
    EXPECT_EQ(onDisk(), bytes);
  }
}

TEST_F(SettingsFile, EncodingsOtherThanGbk) {
  // UTF-8 announced by its declaration or a byte-order mark is read as such.
  const std::string utf8 = text::gbkToUtf8(fileWith("真", "70"));
  std::string declared = utf8;
  declared.replace(declared.find("gb2312"), 6, "UTF-8");
  write(declared);
  EXPECT_TRUE(load().tabHotkeyEnabled);
  write("\xEF\xBB\xBF" + utf8);
  EXPECT_TRUE(load().tabHotkeyEnabled);

  // UTF-8 bytes under the gb2312 declaration, or an unknown encoding, are
  // read in GBK: the shape holds, the Chinese texts do not match.
  write(utf8);
  AppSettings s = load();
  EXPECT_FALSE(s.tabHotkeyEnabled);
  EXPECT_EQ(s.uiOpacityPercent, 70);
  std::string unknown = fileWith("真", "60");
  unknown.replace(unknown.find("gb2312"), 6, "x-klingon");
  write(unknown);
  s = load();
  EXPECT_TRUE(s.tabHotkeyEnabled);
  EXPECT_EQ(s.uiOpacityPercent, 60);
}

TEST_F(SettingsFile, HugeFileLoads) {
  const std::string big(10 * 1024 * 1024, 'x');
  std::string bytes = fileWith("真", "50");
  bytes.replace(bytes.find("<Font5/>"), 8, "<Font5>" + big + "</Font5>");
  write(bytes);
  const AppSettings s = load();
  EXPECT_EQ(s.uiOpacityPercent, 50);
  EXPECT_EQ(s.shortcutFonts[4].size(), big.size());
}

TEST_F(SettingsFile, SaveEditorSettingsWritesExactlyItsElements) {
  load();
  AppSettings s;
  s.tabHotkeyEnabled = false;
  s.shiftHotkeyEnabled = true;
  s.uiColor = 1;           // not part of this save
  s.uiOpacityPercent = 2;  // not part of this save
  s.shortcutColours = {"1", "2", "3", "", "5", ""};
  s.shortcutFonts = {"A&B <c>", "", "宋体", "", "楷体"};
  ASSERT_TRUE(store.saveEditorSettings(s));
  std::string expected = kDefaultFile;
  auto swap = [&](const std::string& from, const std::string& to) { expected.replace(expected.find(from), from.size(), to); };
  swap("<Tab>\xD5\xE6</Tab>", "<Tab>\xBC\xD9</Tab>");  // 假
  swap("<Color1>255</Color1>", "<Color1>1</Color1>");
  swap("<Color2>0</Color2>", "<Color2>2</Color2>");
  swap("<Color3/>", "<Color3>3</Color3>");
  swap("<Color5/>", "<Color5>5</Color5>");
  swap("<Font1>\xBA\xDA\xCC\xE5</Font1>", "<Font1>A&amp;B &lt;c&gt;</Font1>");
  swap("<Font2>\xCB\xCE\xCC\xE5</Font2>", "<Font2/>");
  swap("<Font3/>", "<Font3>\xCB\xCE\xCC\xE5</Font3>");
  swap("<Font5/>", "<Font5>\xBF\xAC\xCC\xE5</Font5>");
  EXPECT_EQ(onDisk(), expected);

  // What was saved reads back the same.
  SettingsStore again;
  again.setDirectory(dir.path());
  again.loadSettings();
  AppSettings back;
  again.applySettings(back);
  EXPECT_EQ(back.shortcutFonts, s.shortcutFonts);
  EXPECT_EQ(back.shortcutColours, s.shortcutColours);
  EXPECT_FALSE(back.tabHotkeyEnabled);
}

TEST_F(SettingsFile, SaveAppearanceSettingsWritesColourAndOpacityOnly) {
  load();
  AppSettings s;
  s.tabHotkeyEnabled = false;  // not part of this save
  s.uiColor = 16777215;
  s.uiOpacityPercent = 0;
  ASSERT_TRUE(store.saveAppearanceSettings(s));
  std::string expected = kDefaultFile;
  expected.replace(expected.find("4016474"), 7, "16777215");
  expected.replace(expected.find(">100<"), 5, ">0<");
  EXPECT_EQ(onDisk(), expected);
}

TEST_F(SettingsFile, UnwritableFolderFailsSilently) {
  store.setDirectory(dir / "does-not-exist");
  store.loadSettings();  // no file, no folder: defaults in memory, nothing thrown
  AppSettings s;
  store.applySettings(s);
  EXPECT_EQ(s.uiOpacityPercent, 100);
  EXPECT_FALSE(store.save());
  EXPECT_FALSE(store.saveAppearanceSettings(s));
  EXPECT_FALSE(std::filesystem::exists(dir / "does-not-exist"));
}

TEST_F(SettingsFile, SetValueAddsAnElementThatARepeatedNameHid) {
  // Names are checked one by one, so a repeated Tab passes with Shift gone.
  std::string bytes = fileWith("真", "80");
  bytes.replace(bytes.find("<Shift>"), std::string("<Shift>\xD5\xE6</Shift>").size(), "<Tab>x</Tab>");
  write(bytes);
  load();
  EXPECT_EQ(onDisk(), bytes);
  store.setValue("Shift", "假");
  ASSERT_TRUE(store.save());
  EXPECT_NE(onDisk().find("<Shift>\xBC\xD9</Shift>"), std::string::npos);
}

TEST(SettingsText, TextToInt) {
  const std::pair<const char*, int> cases[] = {
      {"4016474", 4016474}, {"12.9", 12}, {"-12.9", -12}, {"  7", 7}, {"+3", 3},  {"abc", 0},
      {"", 0},              {"1e3", 1000}, {"0x10", 0},  {"nan", 0},  {"-1e20", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(textToInt(text), value) << text;
}
