// The arithmetic of the player bar: clock texts, speed steps and five-second
// seeks. No window or audio call here, so it is tested natively.
#pragma once

#include <string>

namespace zelvo::playback {

inline constexpr int kSlowestStep = 6;   // 0.6x
inline constexpr int kNormalStep = 10;   // 1.0x
inline constexpr int kFastestStep = 15;  // 1.5x
inline constexpr double kSeekSeconds = 5.0;

// mm:ss; minutes below 10 get a leading zero, 100 minutes and more are
// written in full. 65.9 s gives "01:05", 3725 s "62:05".
std::string formatClock(double seconds);

// A speed step of 0 means "not set yet" and counts as normal speed.
int effectiveStep(int step);
// The speed button: one step slower, from 0.6x round to 1.5x.
int cycledStep(int step);
// Alt+Right / Alt+Left: one step, held within 0.6x .. 1.5x.
int steppedStep(int step, bool up);
// The sample rate that plays at `step` tenths of the stream's own rate.
float rateForStep(int step, float baseFrequency);
// The percentage of a network stream that has arrived; 0 when the library
// knows no buffer or no length (local files), so no buffered part shows.
float bufferedPercent(double buffered, double total);

}  // namespace zelvo::playback
