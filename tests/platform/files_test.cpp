#include "platform/files.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

using namespace zelvo;

TEST(Files, ReadAllMissingAndDirectory) {
  test::TempDir dir;
  EXPECT_FALSE(files::readAll(dir / "none.txt"));
  EXPECT_FALSE(files::readAll(dir.path()));
}

TEST(Files, ReplaceAllWritesAndReplaces) {
  test::TempDir dir;
  const auto path = dir / "a.bin";
  ASSERT_TRUE(files::replaceAll(path, std::string("one\0two", 7)));
  EXPECT_EQ(files::readAll(path), std::string("one\0two", 7));
  ASSERT_TRUE(files::replaceAll(path, "x"));
  EXPECT_EQ(files::readAll(path), "x");
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(Files, ReplaceAllInMissingFolderFails) {
  test::TempDir dir;
  EXPECT_FALSE(files::replaceAll(dir / "missing" / "a.bin", "x"));
}

TEST(Files, Utf8PathsKeepCharactersOutsideTheCodePage) {
  test::TempDir dir;
  const auto path = dir.path() / files::fromUtf8("한국어-录音.txt");
  ASSERT_TRUE(files::replaceAll(path, "ok"));
  EXPECT_EQ(files::readAll(path), "ok");
  EXPECT_NE(files::toUtf8(path).find("한국어-录音.txt"), std::string::npos);
}

TEST(Files, PathsLongerThanTheOldLimit) {
  test::TempDir dir;
  const auto path = dir.path() / (std::string(240, 'n') + ".txt");
  ASSERT_GT(path.native().size(), 260u);
  ASSERT_TRUE(files::replaceAll(path, "long"));
  EXPECT_EQ(files::readAll(path), "long");
  ASSERT_TRUE(files::replaceAll(path, "longer"));
  EXPECT_EQ(files::readAll(path), "longer");
}
