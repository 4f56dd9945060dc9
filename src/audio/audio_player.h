// AudioPlayer: the thin wrapper around the audio library (bass.dll, bound
// at run time from the library search path, so the program starts without
// it; every call then fails). Its operations keep the order of the
// library's wrapper table; each forwards to one library function with
// fixed defaults. Callable from any thread: the library locks itself.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zelvo::audio {

// The library's types: 32-bit handles, 64-bit byte counts. Its constants
// are in audiolib/include/zelvo_audio_api.h (target zelvo_audio).
using HSTREAM = std::uint32_t;
using HPLUGIN = std::uint32_t;
using QWORD = std::uint64_t;

class AudioPlayer {
 public:
  // Optional arguments are std::optional: a passed 0 is not an absent argument.
  int init(std::optional<int> device = {}, std::optional<DWORD> frequency = {}, std::optional<DWORD> flags = {},
           std::optional<HWND> window = {});                                                              // 1
  int free();                                                                                             // 2
  // Path and address are UTF-8; the path goes to the library in the ANSI code page.
  HSTREAM createStream(const std::string& path, const std::string& memory, const std::string& address,
                       std::int64_t offset = 0);                                                          // 3
  int play(HSTREAM handle, bool restart = true);                                                          // 4
  int pause(HSTREAM handle);                                                                              // 5
  int stop(HSTREAM handle);                                                                               // 6
  QWORD getPosition(HSTREAM handle);                                                                      // 7
  int setPosition(HSTREAM handle, QWORD bytes);                                                           // 8
  QWORD getLength(HSTREAM handle);                                                                        // 9
  std::string getTags(HSTREAM handle);                                                                    // 10
  DWORD isActive(HSTREAM handle);                                                                         // 11
  int freeStream(HSTREAM handle);                                                                         // 12
  DWORD getSpectrum(HSTREAM handle, std::array<float, 128>& values);                                      // 13
  int setMasterVolume(float value);                                                                       // 14
  float getMasterVolume();                                                                                // 15
  int setStreamVolume(HSTREAM handle, float value);                                                       // 16
  int getStreamVolume(HSTREAM handle, float& value);                                                      // 17
  double bytesToSeconds(HSTREAM handle, QWORD bytes);                                                     // 18
  QWORD secondsToBytes(HSTREAM handle, double seconds);                                                   // 19
  static int colourComponent(std::uint32_t colour, int which);                                            // 20
};

// The library functions the program calls outside AudioPlayer, bound the
// same way (each fails with 0 or -1 when bass.dll is not there).
namespace library {
HPLUGIN pluginLoad(const std::string& path);
BOOL channelGetAttribute(DWORD handle, DWORD attribute, float* value);
BOOL channelSlideAttribute(DWORD handle, DWORD attribute, float value, DWORD time);
QWORD streamGetFilePosition(HSTREAM handle, DWORD mode);
int errorGetCode();
}  // namespace library

// Loads the nine decoder plug-ins from plugins\ under `executableDirectory`,
// in their fixed order; one that does not load is skipped. Returns how many loaded.
int loadDecoderPlugins(const std::filesystem::path& executableDirectory);

}  // namespace zelvo::audio
