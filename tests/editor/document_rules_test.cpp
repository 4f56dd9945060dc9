#include "editor/document_rules.h"

#include <gtest/gtest.h>

using namespace zelvo::editor;

TEST(DocumentRules, KindFromTheLastThreeCharacters) {
  const std::pair<const char*, DocumentKind> cases[] = {
      {"C:\\a\\b.txt", DocumentKind::Text}, {"C:\\a\\b.TXT", DocumentKind::Text}, {"x.TxT", DocumentKind::Text},
      {"C:\\a\\b.rtf", DocumentKind::Rtf},  {"b.RTF", DocumentKind::Rtf},        {"b.doc", DocumentKind::None},
      {"", DocumentKind::None},             {"tx", DocumentKind::None},          {"notatxt", DocumentKind::Text},
  };
  for (const auto& [path, kind] : cases) EXPECT_EQ(documentKind(path), kind) << path;
}

TEST(DocumentRules, TextDocumentsDecodeByWhatTheyAre) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xC2\xBC\xD2\xF4 ok", "录音 ok"},                 // GBK
      {"\xEF\xBB\xBF" "录音", "录音"},                     // UTF-8 with BOM
      {"录音整理", "录音整理"},                            // UTF-8 without BOM
      {std::string("\xFF\xFE\x55\x5F\xF3\x97", 6), "录音"},  // UTF-16LE with BOM
      {"plain ascii\r\n", "plain ascii\r\n"},
      {"", ""},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(decodeTextDocument(bytes), text);
}

TEST(DocumentRules, TextDocumentsAreGbkWithCrLfUnlessThatLosesCharacters) {
  EXPECT_EQ(encodeTextDocument("录音\r第二行\n三\r\n"), "\xC2\xBC\xD2\xF4\r\n\xB5\xDA\xB6\xFE\xD0\xD0\r\n\xC8\xFD\r\n");
  EXPECT_EQ(encodeTextDocument("why? 【00:07】"), "why? \xA1\xBE" "00:07\xA1\xBF");
  // A Korean word or an emoji has no GBK code: the file keeps every character.
  const std::string mixed = "录音 한국어 \xF0\x9F\x8E\xA7\n";
  EXPECT_EQ(encodeTextDocument(mixed), "\xEF\xBB\xBF" "录音 한국어 \xF0\x9F\x8E\xA7\r\n");
  EXPECT_EQ(decodeTextDocument(encodeTextDocument(mixed)), withCrLf(mixed));
}

TEST(DocumentRules, MessagesNameThePath) {
  EXPECT_EQ(saveFailedBoxText("C:\\a.rtf"), "保存C:\\a.rtf失败！\r\n可能该文件已被打开。");
  EXPECT_EQ(savedNotice("C:\\a.rtf"), "保存成功! C:\\a.rtf");
  EXPECT_EQ(saveFailedNotice("C:\\a.rtf"), "保存失败! C:\\a.rtf");
  EXPECT_EQ(openedNotice("C:\\a.rtf"), "打开成功! C:\\a.rtf");
}
