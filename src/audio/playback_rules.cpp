#include "audio/playback_rules.h"

#include <cmath>
#include <cstdint>

namespace zelvo::playback {

std::string formatClock(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  const auto whole = static_cast<std::int64_t>(seconds);
  const std::int64_t minutes = whole / 60;
  const std::int64_t rest = whole % 60;
  std::string text = minutes < 10 ? "0" + std::to_string(minutes) : std::to_string(minutes);
  const std::string secondsText = "0" + std::to_string(rest);
  return text + ":" + secondsText.substr(secondsText.size() - 2);
}

int effectiveStep(int step) { return step == 0 ? kNormalStep : step; }

int cycledStep(int step) {
  step = effectiveStep(step) - 1;
  return step < kSlowestStep ? kFastestStep : step;
}

int steppedStep(int step, bool up) {
  step = effectiveStep(step);
  if (up && step < kFastestStep) return step + 1;
  if (!up && step > kSlowestStep) return step - 1;
  return step;
}

float rateForStep(int step, float baseFrequency) {
  return static_cast<float>(effectiveStep(step) * static_cast<double>(baseFrequency) * 0.1);
}

float bufferedPercent(double buffered, double total) {
  if (!(total > 0) || !(buffered >= 0) || !std::isfinite(buffered) || !std::isfinite(total)) return 0;
  return static_cast<float>(buffered * 100 / total);
}

}  // namespace zelvo::playback
