#include "audio/playback_rules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvo::playback;

TEST(PlaybackRules, FormatClock) {
  const std::pair<double, const char*> cases[] = {
      {0, "00:00"},      {65.9, "01:05"},    {599.99, "09:59"}, {3725, "62:05"},
      {6000, "100:00"},  {36000, "600:00"},  {59.999, "00:59"}, {-3, "00:00"},
      {NAN, "00:00"},
  };
  for (const auto& [seconds, clock] : cases) EXPECT_EQ(formatClock(seconds), clock) << seconds;
}

TEST(PlaybackRules, SpeedButtonCyclesDownAndWraps) {
  // From "not set" (0, read as normal): 0.9, 0.8, 0.7, 0.6, 1.5, 1.4, ... 1.0, 0.9.
  int step = 0;
  const int expected[] = {9, 8, 7, 6, 15, 14, 13, 12, 11, 10, 9};
  for (int want : expected) {
    step = cycledStep(step);
    EXPECT_EQ(step, want);
  }
}

TEST(PlaybackRules, SpeedKeysClamp) {
  EXPECT_EQ(steppedStep(0, true), 11);
  EXPECT_EQ(steppedStep(0, false), 9);
  EXPECT_EQ(steppedStep(15, true), 15);
  EXPECT_EQ(steppedStep(6, false), 6);
  EXPECT_EQ(steppedStep(14, true), 15);
  EXPECT_FLOAT_EQ(rateForStep(15, 44100), 66150);
  EXPECT_FLOAT_EQ(rateForStep(0, 48000), 48000);
  EXPECT_FLOAT_EQ(rateForStep(6, 22050), 13230);
}

TEST(PlaybackRules, BufferedPercent) {
  EXPECT_FLOAT_EQ(bufferedPercent(50, 200), 25);
  EXPECT_FLOAT_EQ(bufferedPercent(200, 200), 100);
  // Local files: the library knows no buffer or length.
  EXPECT_FLOAT_EQ(bufferedPercent(-1, -1), 0);
  EXPECT_FLOAT_EQ(bufferedPercent(10, 0), 0);
  EXPECT_FLOAT_EQ(bufferedPercent(4294967295.0, -1), 0);
}
