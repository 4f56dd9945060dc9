// Without bass.dll anywhere on the search path every call fails quietly.
#include "audio/audio_player.h"
#include "zelvo_audio_api.h"

#include <gtest/gtest.h>

namespace zelvo::audio {
namespace {

TEST(AudioPlayerWithoutLibrary, EveryCallFails) {
  AudioPlayer player;
  EXPECT_EQ(player.init(), 0);
  EXPECT_EQ(loadDecoderPlugins("C:\\nowhere"), 0);
  EXPECT_EQ(player.createStream("C:\\windows\\win.ini", "", ""), 0u);
  EXPECT_EQ(player.createStream("", "RIFF", ""), 0u);
  EXPECT_EQ(player.play(1), 0);
  EXPECT_EQ(player.isActive(1), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  EXPECT_EQ(player.getLength(1), static_cast<QWORD>(-1));
  EXPECT_EQ(library::streamGetFilePosition(1, BASS_FILEPOS_END), static_cast<QWORD>(-1));
  float value = 0;
  EXPECT_FALSE(library::channelGetAttribute(1, BASS_ATTRIB_FREQ, &value));
  EXPECT_EQ(AudioPlayer::colourComponent(4016474, 1), 90);
}

}  // namespace
}  // namespace zelvo::audio
