#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace zelvo::text;

namespace {
const std::string kFffd = "\xEF\xBF\xBD";
}

TEST(TextCodec, Utf16RoundTripsAllPlanes) {
  const std::string text = "Zelvo录音整理工具6.1 【01:05】 \xF0\x9F\x8E\xA7";  // headphones: a surrogate pair
  const std::u16string wide = utf8ToUtf16(text);
  EXPECT_EQ(wide.substr(0, 5), u"Zelvo");
  EXPECT_EQ(wide[5], u'录');
  EXPECT_EQ(wide[wide.size() - 2], 0xD83C);
  EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(TextCodec, MalformedUtf8KeepsTheRest) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"a\xFF" "b", "a" + kFffd + "b"},                    // never valid
      {"a\xC3", "a" + kFffd},                              // cut short at the end
      {"\xE5\xBD" "x", kFffd + kFffd + "x"},               // cut short in the middle
      {"\xC0\xAF" "z", kFffd + kFffd + "z"},               // overlong
      {"\xED\xA0\x80!", kFffd + kFffd + kFffd + "!"},      // encoded surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(c.in)), c.out) << c.in;
}

TEST(TextCodec, LoneSurrogatesBecomeReplacement) {
  const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  EXPECT_EQ(utf16ToUtf8(lone), "a" + kFffd + "b" + kFffd);
}

TEST(TextCodec, GbkKnownBytes) {
  // 真 D5E6, 黑体 BADA CCE5, 宋体 CBCE CCE5, 【 A1BE
  EXPECT_EQ(utf8ToGbk("真"), "\xD5\xE6");
  EXPECT_EQ(utf8ToGbk("黑体宋体"), "\xBA\xDA\xCC\xE5\xCB\xCE\xCC\xE5");
  EXPECT_EQ(utf8ToGbk("【01:05】"), "\xA1\xBE" "01:05\xA1\xBF");
  EXPECT_EQ(gbkToUtf8("\xD5\xE6 ok"), "真 ok");
  EXPECT_EQ(gbkLength("a录音"), 5u);
}

TEST(TextCodec, GbkRoundTripsLongText) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "录音整理 line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(gbkToUtf8(utf8ToGbk(text)), text);
}

TEST(TextCodec, CharactersOutsideGbkEncodeAsQuestionMark) {
  EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x8E\xA7" "b"), "a?b");
  EXPECT_EQ(utf8ToGbk("한국어x"), "???x");
  EXPECT_EQ(utf8ToGbk("x\xFFy"), "x?y");  // malformed UTF-8 as well
}

TEST(TextCodec, InvalidGbkBytesKeepTheRest) {
  // 0xFF is never a lead byte; a lead byte at the very end has no trail.
  EXPECT_EQ(gbkToUtf8("\xFF\xD5\xE6"), kFffd + "真");
  EXPECT_EQ(gbkToUtf8("\xD5\xE6\xD5"), "真" + kFffd);
  EXPECT_EQ(gbkToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}
