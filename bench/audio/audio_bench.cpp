// For each file given: time from BASS_StreamCreateFile to the first sample
// taken by the output, the cost of a seek to the middle, and the process
// CPU time per second of playback. Prints one line per file.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "zelvo_audio_api.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double processCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) {
    std::printf("no output device (error %d)\n", BASS_ErrorGetCode());
    return 1;
  }
  for (int i = 2; i < argc; ++i) BASS_PluginLoad(argv[i], 0);
  const char* file = argv[1];

  const auto start = Clock::now();
  const HSTREAM stream = BASS_StreamCreateFile(FALSE, file, 0, 0, 0);
  if (!stream) {
    std::printf("%s: does not open (error %d)\n", file, BASS_ErrorGetCode());
    return 1;
  }
  const double openMs = msSince(start);
  BASS_ChannelPlay(stream, TRUE);
  while (BASS_ChannelGetPosition(stream, BASS_POS_BYTE) == 0 && msSince(start) < 60000) std::this_thread::yield();
  const double firstSampleMs = msSince(start);

  const QWORD middle = BASS_ChannelGetLength(stream, BASS_POS_BYTE) / 2 / 4 * 4;
  const auto seekStart = Clock::now();
  BASS_ChannelSetPosition(stream, middle, BASS_POS_BYTE);
  const double seekMs = msSince(seekStart);

  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const double cpu0 = processCpuSeconds();
  const double pos0 = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE));
  std::this_thread::sleep_for(std::chrono::seconds(5));
  const double cpu = processCpuSeconds() - cpu0;
  const double played = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE)) - pos0;
  std::printf("open %.1f ms  first sample %.1f ms  seek to middle %.1f ms  cpu %.2f ms per s played\n", openMs,
              firstSampleMs, seekMs, played > 0 ? cpu * 1000 / played : -1.0);
  return 0;
}
