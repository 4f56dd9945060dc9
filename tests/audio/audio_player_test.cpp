// AudioPlayer over our bass.dll, started as Zelvo starts it: the library
// folder set first, then init with all defaults and the nine plug-ins. The
// folder is a copy of dist\plugins without bassflac.dll.
#include "audio/audio_player.h"
#include "zelvo_audio_api.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "audiolib/fixtures.h"
#include "temp_dir.h"

namespace zelvo::audio {
namespace {

class WithoutFlacPlugin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = std::make_unique<test::TempDir>();
    const auto plugins = home_->path() / "plugins";
    std::filesystem::create_directories(plugins);
    for (const auto& entry : std::filesystem::directory_iterator(test::buildTreePath("dist\\plugins")))
      if (entry.path().filename() != "bassflac.dll") std::filesystem::copy_file(entry.path(), plugins / entry.path().filename());
    SetDllDirectoryW((plugins.wstring() + L"\\").c_str());
    initResult_ = player_.init();
    pluginsLoaded_ = loadDecoderPlugins(home_->path());
  }
  static void TearDownTestSuite() { home_.reset(); }

  static std::string fixture(const char* name) { return (test::fixtureDirectory() / name).string(); }

  static inline std::unique_ptr<test::TempDir> home_;
  static inline AudioPlayer player_;
  static inline int initResult_ = 0;
  static inline int pluginsLoaded_ = 0;
};

TEST_F(WithoutFlacPlugin, FlacFailsWhileMp3AndWavPlay) {
  ASSERT_NE(initResult_, 0);
  EXPECT_EQ(pluginsLoaded_, 8);
  EXPECT_EQ(player_.createStream(fixture("tone.flac"), "", ""), 0u);
  EXPECT_EQ(library::errorGetCode(), BASS_ERROR_CODEC);
  for (const char* name : {"tone-cbr.mp3", "tone.wav", "tone.ogg", "tone.m4a"}) {
    SCOPED_TRACE(name);
    const HSTREAM stream = player_.createStream(fixture(name), "", "");
    ASSERT_NE(stream, 0u);
    EXPECT_NE(player_.play(stream), 0);
    EXPECT_EQ(player_.isActive(stream), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
    EXPECT_NE(player_.pause(stream), 0);
    EXPECT_EQ(player_.isActive(stream), static_cast<DWORD>(BASS_ACTIVE_PAUSED));
    EXPECT_NE(player_.freeStream(stream), 0);
  }
}

TEST_F(WithoutFlacPlugin, MissingPathWithNoOtherSourceDoesNotCallTheLibrary) {
  // The library records an error for every call it gets: a known one stays
  // when createStream does not call it.
  EXPECT_EQ(player_.pause(12345), 0);
  ASSERT_EQ(library::errorGetCode(), BASS_ERROR_HANDLE);
  EXPECT_EQ(player_.createStream(fixture("no-such-file.mp3"), "", ""), 0u);
  EXPECT_EQ(player_.createStream("", "", ""), 0u);
  EXPECT_EQ(player_.play(0), 0);
  EXPECT_EQ(library::errorGetCode(), BASS_ERROR_HANDLE);
}

TEST_F(WithoutFlacPlugin, SourcesAreTriedInOrder) {
  const std::string wav = test::fileBytes(test::fixtureDirectory() / "tone.wav");
  // A missing path falls to the memory block.
  const HSTREAM fromMemory = player_.createStream(fixture("no-such-file.mp3"), wav, "http://127.0.0.1:1/x.mp3");
  ASSERT_NE(fromMemory, 0u);
  EXPECT_EQ(player_.getLength(fromMemory), wav.size() - 44);
  player_.freeStream(fromMemory);
  // No block: the address is used (nothing listens there).
  EXPECT_EQ(player_.createStream(fixture("no-such-file.mp3"), "", "http://127.0.0.1:1/x.mp3"), 0u);
  EXPECT_EQ(library::errorGetCode(), BASS_ERROR_FILEOPEN);
}

TEST_F(WithoutFlacPlugin, PositionsAndConversions) {
  const HSTREAM stream = player_.createStream(fixture("tone.wav"), "", "");
  ASSERT_NE(stream, 0u);
  const QWORD bytes = player_.secondsToBytes(stream, 1.5);
  EXPECT_EQ(bytes, 44100u * 3 / 2 * 4);
  EXPECT_NE(player_.setPosition(stream, bytes), 0);
  EXPECT_EQ(player_.getPosition(stream), bytes);
  EXPECT_DOUBLE_EQ(player_.bytesToSeconds(stream, player_.getLength(stream)), 2.5);
  float volume = 0;
  EXPECT_NE(player_.setStreamVolume(stream, 0.5f), 0);
  EXPECT_NE(player_.getStreamVolume(stream, volume), 0);
  EXPECT_EQ(volume, 0.5f);
  EXPECT_EQ(player_.getTags(stream), "");
  std::array<float, 128> spectrum;
  spectrum.fill(7.0f);
  EXPECT_EQ(player_.getSpectrum(stream, spectrum), 512u);
  EXPECT_EQ(spectrum[5], 0.0f);  // nothing played yet
  EXPECT_NE(player_.stop(stream), 0);
  player_.freeStream(stream);
}

TEST(AudioPlayerColour, ComponentsOfAWindowsColour) {
  const struct {
    int which;
    int expected;
  } cases[] = {{1, 90}, {2, 73}, {3, 61}, {0, 0}, {4, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(AudioPlayer::colourComponent(4016474, c.which), c.expected) << c.which;
}

}  // namespace
}  // namespace zelvo::audio
