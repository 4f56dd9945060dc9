// Starts the real Zelvo.exe in a folder of its own and checks what a user
// would see and what it leaves on disk.
#include <gtest/gtest.h>

#include "app/default_settings_file.h"
#include "platform/files.h"
#include "program_driver.h"
#include "temp_dir.h"

using namespace zelvo;
using namespace std::chrono_literals;

namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(test::buildPath("ZELVO_BINARY_DIR", "dist/Zelvo.exe"), exe());
  }
  std::filesystem::path exe() const { return dir / "Zelvo.exe"; }
  HWND start() {
    if (!program.launch(exe(), dir.path())) return nullptr;
    return program.waitForWindow(L"Zelvo_MainWindow");
  }
  void closeAndExpectCleanExit(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto code = program.waitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "the program did not end after its window was closed";
    EXPECT_EQ(*code, 0u);
  }

  test::TempDir dir;
  test::ProgramDriver program;
};

}  // namespace

TEST_F(Startup, EmptyFolderShowsTheMainWindowAndWritesDefaultSettings) {
  HWND window = start();
  ASSERT_NE(window, nullptr);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 50);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right - rect.left, 680);
  EXPECT_EQ(rect.bottom - rect.top, 440);
  EXPECT_EQ(test::windowText(window), L"Zelvo录音整理工具6.1");
  EXPECT_EQ(files::readAll(dir / "data.xml"), test::kDefaultFile);
  closeAndExpectCleanExit(window);
}

TEST_F(Startup, ReadOnlySettingsFileIsLeftAloneAndStartUpGoesOn) {
  const std::string broken = "<not settings>";
  ASSERT_TRUE(files::replaceAll(dir / "data.xml", broken));
  SetFileAttributesW((dir / "data.xml").c_str(), FILE_ATTRIBUTE_READONLY);
  HWND window = start();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(files::readAll(dir / "data.xml"), broken);
  closeAndExpectCleanExit(window);
  SetFileAttributesW((dir / "data.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
}
