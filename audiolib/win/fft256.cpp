// A 256-point transform of the last samples played, for BASS_DATA_FFT256:
// Hann window, magnitudes of bins 0..127 scaled so a full-scale sine gives
// about 0.5 in its bin. 256 points are few enough for the plain sum.
#include <cmath>

#include "library.h"

namespace zelvo::audiolib {

void fft256(const float* samples, float* magnitudes) {
  constexpr int n = 256;
  constexpr double pi = 3.14159265358979323846;
  double windowed[n];
  for (int i = 0; i < n; ++i) windowed[i] = samples[i] * 0.5 * (1.0 - std::cos(2.0 * pi * i / (n - 1)));
  for (int k = 0; k < n / 2; ++k) {
    double re = 0, im = 0;
    for (int i = 0; i < n; ++i) {
      const double angle = 2.0 * pi * k * i / n;
      re += windowed[i] * std::cos(angle);
      im -= windowed[i] * std::sin(angle);
    }
    magnitudes[k] = static_cast<float>(std::sqrt(re * re + im * im) * 2.0 / n);
  }
}

}  // namespace zelvo::audiolib
