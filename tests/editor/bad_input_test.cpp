// Input that must neither crash the editor nor lose text: a very long
// transcript, characters GBK cannot hold, fonts that do not exist, and a
// selection over many formats.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/clipboard.h"
#include "editor_fixture.h"
#include "platform/text_codec.h"

using namespace zelvo;
using namespace zelvo::editor;

namespace {

class BadInput : public ::testing::Test {
 protected:
  RichEdit& text() { return fixture.text(); }
  test::EditorFixture fixture;
};

std::string longTranscript(std::size_t bytes) {
  const std::string line = "【12:34】这是一段很长的录音整理文字 with some ASCII, 第二句。\r\n";
  std::string all;
  all.reserve(bytes + line.size());
  while (all.size() < bytes) all += line;
  return all;
}

}  // namespace

TEST_F(BadInput, FiveMegabyteTranscriptIsKeptWholeAndStaysEditable) {
  const std::string big = longTranscript(5 * 1024 * 1024);
  fixture.setText(big);
  EXPECT_EQ(text().text(), big) << "nothing cut at the control's default limit";
  // Typing and a marker at the end still work.
  text().select(-1, -1);
  fixture.window().insertTimeMarker();
  SendMessageW(text().handle(), WM_CHAR, L'z', 0);
  const std::string after = text().text();
  EXPECT_EQ(after.size(), big.size() + std::string("【】z").size());
  EXPECT_EQ(after.substr(after.size() - 7), "【】z");
  text().setContentFormat(ContentFormat::Rtf);
  EXPECT_GT(text().content().size(), big.size() / 2) << "read out whole as RTF";
}

TEST_F(BadInput, LongTranscriptSurvivesTheRoundTripThroughRtf) {
  // Smaller than above: Wine's RTF reader takes time that grows with the
  // square of the length (about 15 s for 800 kB here).
  const std::string transcript = longTranscript(200 * 1024);
  fixture.setText(transcript);
  text().setContentFormat(ContentFormat::Rtf);
  const std::string rtf = text().content();
  fixture.setText("");
  text().setContent(rtf);
  EXPECT_EQ(text().text(), transcript);
}

TEST_F(BadInput, PastedCharactersOutsideGbkArriveIntact) {
  // An emoji (outside the BMP), Hangul, Thai and a combining mark: none of
  // them is in GBK.
  const std::string foreign = "Grüße 😀 한국어 ภาษาไทย é̂ 𠀀";
  ASSERT_TRUE(setClipboardText(fixture.window().handle(), foreign));
  fixture.setText("[");
  fixture.window().paste();
  EXPECT_EQ(text().text(), "[" + foreign);
  text().setContentFormat(ContentFormat::PlainText);
  EXPECT_EQ(text().content(), "[" + foreign);
  text().setContentFormat(ContentFormat::Rtf);
  const std::string rtf = text().content();
  fixture.setText("");
  text().setContent(rtf);
  EXPECT_EQ(text().text(), "[" + foreign) << "RTF keeps them as Unicode escapes";
}

TEST_F(BadInput, FontsThatDoNotExistAreAppliedWithoutHarm) {
  fixture.setText("some text here");
  text().select(0, 4);
  fixture.state().shortcutFonts = {"No Such Font 12345", std::string(200, 'F'), "字体不存在的名字很长很长很长很长很长很长很长很长很长很长很长", "😀😀", ""};
  for (int n = 1; n <= 5; ++n) fixture.window().applyShortcutFont(n);
  fixture.window().applyFont("Not Installed");
  const CharFormat format = text().selectionFormat();
  EXPECT_EQ(format.faceName, "Not Installed");
  fixture.window().applyShortcutFont(2);
  EXPECT_EQ(text().selectionFormat().faceName, std::string(31, 'F')) << "cut to the control's field";
  fixture.window().applyShortcutFont(4);
  EXPECT_EQ(text().selectionFormat().faceName, "😀😀");
  EXPECT_EQ(text().text(), "some text here");
}

TEST_F(BadInput, SelectionOverManyFormatsBecomesUniformWithoutLosingText) {
  std::string content;
  for (int i = 0; i < 120; ++i) content += "字" + std::to_string(i % 10);
  fixture.setText(content);
  const std::wstring wide = text::widen(content);
  for (long at = 0; at + 2 <= static_cast<long>(wide.size()); at += 2) {
    text().select(at, at + 2);
    const int n = static_cast<int>(at / 2);
    text().setSelectionFormat({n % 2 ? "Arial" : "宋体", 9 + n % 60, n % 3 - 1, n % 32,
                               n % 5 ? static_cast<std::uint32_t>(n * 997) : kAutomaticColour});
  }
  text().selectAll();
  const CharFormat reported = text().selectionFormat();
  fixture.window().toggleEffect(kBold);
  fixture.window().changeSize(true);
  fixture.state().shortcutColours[0] = "32768";
  fixture.window().applyShortcutColour(1);
  EXPECT_EQ(text().text(), content);
  text().selectAll();
  const CharFormat uniform = text().selectionFormat();
  EXPECT_EQ(uniform.faceName, reported.faceName);
  EXPECT_EQ(uniform.colour, 32768u);
  EXPECT_EQ(uniform.effects & kStrikeOut, 0);
  for (long at : {0L, 101L, 155L, static_cast<long>(wide.size()) - 1}) {
    text().select(at, at + 1);
    EXPECT_EQ(text().selectionFormat(), uniform) << at;
  }
}

TEST_F(BadInput, ShortcutColourTextsThatAreNotColours) {
  fixture.setText("abc");
  text().select(0, 3);
  const CharFormat before = text().selectionFormat();
  fixture.state().shortcutColours = {"-5", "1e40", "1e10", "", "  12.9  ", "blue"};
  for (int n = 1; n <= 4; ++n) fixture.window().applyShortcutColour(n);
  EXPECT_EQ(text().selectionFormat(), before);
  fixture.window().applyShortcutColour(5);
  EXPECT_EQ(text().selectionFormat().colour, 12u);
  fixture.window().applyShortcutColour(6);
  EXPECT_EQ(text().selectionFormat().colour, 0u) << "a text without a number reads as 0";
  fixture.window().applyShortcutColour(0);
  fixture.window().applyShortcutColour(99);
  EXPECT_EQ(text().text(), "abc");
}
