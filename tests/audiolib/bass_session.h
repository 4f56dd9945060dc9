// The library, started once per test program: default device, 44.1 kHz,
// and every plug-in from dist/plugins.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "audiolib/fixtures.h"
#include "zelvo_audio_api.h"

namespace zelvo::test {

inline const char* const kPluginNames[] = {"basswma.dll", "bass_aac.dll", "bass_ac3.dll",
                                           "bass_alac.dll", "bassflac.dll", "bass_ape.dll",
                                           "basswv.dll", "bass_tta.dll", "bass_mpc.dll"};

inline std::filesystem::path pluginsDirectory() { return buildTreePath("dist\\plugins"); }

inline bool startAudioLibrary() {
  static const bool started = [] {
    if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) return false;
    for (const char* name : kPluginNames) BASS_PluginLoad((pluginsDirectory() / name).string().c_str(), 0);
    return true;
  }();
  return started;
}

inline std::string fixturePath(const std::string& file) { return (fixtureDirectory() / file).string(); }

// Polls until the condition holds or the deadline passes.
inline bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

}  // namespace zelvo::test
