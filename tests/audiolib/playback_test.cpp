// Playback under Wine (PulseAudio null sink): the device paces the stream.
// The checks compare the position's advance with the time that passed, with
// a tolerance: they test the rate, not the machine's speed.
#include <gtest/gtest.h>

#include "audiolib/bass_session.h"

namespace zelvo::test {
namespace {

using namespace std::chrono_literals;

double seconds(HSTREAM stream) {
  return BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE));
}

// How far the position moves per second of wall time over about 3 s.
double playbackRate(HSTREAM stream) {
  const auto t0 = std::chrono::steady_clock::now();
  const double p0 = seconds(stream);
  std::this_thread::sleep_for(3s);
  const double p1 = seconds(stream);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return (p1 - p0) / elapsed;
}

class Playback : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(startAudioLibrary()) << BASS_ErrorGetCode(); }
  HSTREAM open(const char* file) {
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, fixturePath(file).c_str(), 0, 0, 0);
    EXPECT_NE(stream, 0u) << BASS_ErrorGetCode();
    return stream;
  }
  static void startPlaying(HSTREAM stream) {
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    ASSERT_TRUE(waitFor([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) > 0; }, 5000ms));
  }
};

TEST_F(Playback, AdvancesInRealTimeAndFasterAtAHigherFrequency) {
  const HSTREAM stream = open("long.mp3");
  startPlaying(stream);
  EXPECT_EQ(BASS_ChannelIsActive(stream), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
  EXPECT_NEAR(playbackRate(stream), 1.0, 0.05);

  ASSERT_TRUE(BASS_ChannelSlideAttribute(stream, BASS_ATTRIB_FREQ, 44100 * 1.5f, 0));
  float frequency = 0;
  BASS_ChannelGetAttribute(stream, BASS_ATTRIB_FREQ, &frequency);
  EXPECT_EQ(frequency, 44100 * 1.5f);
  EXPECT_NEAR(playbackRate(stream), 1.5, 0.075);

  // The spectrum of what is playing: a 440 Hz tone lands in bin 2 or 3.
  float bins[128] = {};
  EXPECT_EQ(BASS_ChannelGetData(stream, bins, BASS_DATA_FFT256), 512u);
  EXPECT_GT(std::max(bins[2], bins[3]), 0.05f);
  BASS_StreamFree(stream);
}

TEST_F(Playback, PauseHoldsThePositionAndResumeGoesOn) {
  const HSTREAM stream = open("long.wav");
  startPlaying(stream);
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(BASS_ChannelPause(stream));
  const QWORD held = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
  EXPECT_EQ(BASS_ChannelIsActive(stream), static_cast<DWORD>(BASS_ACTIVE_PAUSED));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), held);
  EXPECT_FALSE(BASS_ChannelPause(stream));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);

  // Seeking while paused lands exactly and stays there.
  const QWORD target = BASS_ChannelSeconds2Bytes(stream, 5.25);
  ASSERT_TRUE(BASS_ChannelSetPosition(stream, target, BASS_POS_BYTE));
  EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), target);

  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  EXPECT_TRUE(waitFor([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) > target; }, 2000ms));
  EXPECT_LT(seconds(stream), 5.25 + 1.0);
  BASS_StreamFree(stream);
}

TEST_F(Playback, EndIsReportedStoppedAndRestartPlaysFromTheStart) {
  const HSTREAM stream = open("tone.flac");
  const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
  ASSERT_TRUE(BASS_ChannelSetPosition(stream, length - BASS_ChannelSeconds2Bytes(stream, 0.4), BASS_POS_BYTE));
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(waitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }, 5000ms));
  EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), length);
  EXPECT_EQ(BASS_ChannelGetLength(stream, BASS_POS_BYTE), length);  // the handle lives on

  ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
  EXPECT_EQ(BASS_ChannelIsActive(stream), static_cast<DWORD>(BASS_ACTIVE_PLAYING));
  EXPECT_LT(seconds(stream), 0.5);
  EXPECT_TRUE(waitFor([&] { return seconds(stream) > 0.2; }, 3000ms));
  BASS_ChannelStop(stream);
  EXPECT_EQ(BASS_ChannelIsActive(stream), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  BASS_StreamFree(stream);
}

TEST_F(Playback, VolumesAreKept) {
  const HSTREAM stream = open("tone.wav");
  ASSERT_TRUE(BASS_ChannelSetAttribute(stream, BASS_ATTRIB_VOL, 0.25f));
  float volume = 0;
  ASSERT_TRUE(BASS_ChannelGetAttribute(stream, BASS_ATTRIB_VOL, &volume));
  EXPECT_EQ(volume, 0.25f);
  EXPECT_FALSE(BASS_ChannelSetAttribute(stream, BASS_ATTRIB_VOL, -1.0f));
  ASSERT_TRUE(BASS_SetVolume(0.5f));
  EXPECT_EQ(BASS_GetVolume(), 0.5f);
  EXPECT_FALSE(BASS_SetVolume(2.0f));
  BASS_SetVolume(1.0f);
  BASS_StreamFree(stream);
}

}  // namespace
}  // namespace zelvo::test
