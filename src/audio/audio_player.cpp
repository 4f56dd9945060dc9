#include "audio/audio_player.h"

#include <windows.h>

#include <mutex>

#include "platform/text_codec.h"
#include "zelvo_audio_api.h"

namespace zelvo::audio {

namespace {

// The library's entry points, looked up once. A missing function (or a
// missing bass.dll) leaves its pointer null and the call fails.
struct Library {
  decltype(&BASS_Init) init = nullptr;
  decltype(&BASS_Free) free = nullptr;
  decltype(&BASS_ErrorGetCode) errorGetCode = nullptr;
  decltype(&BASS_PluginLoad) pluginLoad = nullptr;
  decltype(&BASS_StreamCreateFile) streamCreateFile = nullptr;
  decltype(&BASS_StreamCreateURL) streamCreateUrl = nullptr;
  decltype(&BASS_StreamFree) streamFree = nullptr;
  decltype(&BASS_StreamGetFilePosition) streamGetFilePosition = nullptr;
  decltype(&BASS_ChannelPlay) channelPlay = nullptr;
  decltype(&BASS_ChannelPause) channelPause = nullptr;
  decltype(&BASS_ChannelStop) channelStop = nullptr;
  decltype(&BASS_ChannelIsActive) channelIsActive = nullptr;
  decltype(&BASS_ChannelGetPosition) channelGetPosition = nullptr;
  decltype(&BASS_ChannelSetPosition) channelSetPosition = nullptr;
  decltype(&BASS_ChannelGetLength) channelGetLength = nullptr;
  decltype(&BASS_ChannelBytes2Seconds) channelBytes2Seconds = nullptr;
  decltype(&BASS_ChannelSeconds2Bytes) channelSeconds2Bytes = nullptr;
  decltype(&BASS_ChannelGetTags) channelGetTags = nullptr;
  decltype(&BASS_ChannelGetData) channelGetData = nullptr;
  decltype(&BASS_SetVolume) setVolume = nullptr;
  decltype(&BASS_GetVolume) getVolume = nullptr;
  decltype(&BASS_ChannelSetAttribute) channelSetAttribute = nullptr;
  decltype(&BASS_ChannelGetAttribute) channelGetAttribute = nullptr;
  decltype(&BASS_ChannelSlideAttribute) channelSlideAttribute = nullptr;
};

template <typename F>
void bind(HMODULE module, F& function, const char* name) {
  function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Looked for in the folder the program set with SetDllDirectory (plugins\)
// first, then by the usual search. Bound on first use, which start-up
// makes after setting that folder. The module stays loaded for the process.
const Library& lib() {
  static const Library bound = [] {
    Library l;
    HMODULE module = nullptr;
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = GetDllDirectoryW(MAX_PATH, folder);
    if (n > 0 && n < MAX_PATH) {
      std::wstring path(folder, n);
      if (path.back() != L'\\') path += L'\\';
      module = LoadLibraryW((path + L"bass.dll").c_str());
    }
    if (!module) module = LoadLibraryW(L"bass.dll");
    if (!module) return l;
    bind(module, l.init, "BASS_Init");
    bind(module, l.free, "BASS_Free");
    bind(module, l.errorGetCode, "BASS_ErrorGetCode");
    bind(module, l.pluginLoad, "BASS_PluginLoad");
    bind(module, l.streamCreateFile, "BASS_StreamCreateFile");
    bind(module, l.streamCreateUrl, "BASS_StreamCreateURL");
    bind(module, l.streamFree, "BASS_StreamFree");
    bind(module, l.streamGetFilePosition, "BASS_StreamGetFilePosition");
    bind(module, l.channelPlay, "BASS_ChannelPlay");
    bind(module, l.channelPause, "BASS_ChannelPause");
    bind(module, l.channelStop, "BASS_ChannelStop");
    bind(module, l.channelIsActive, "BASS_ChannelIsActive");
    bind(module, l.channelGetPosition, "BASS_ChannelGetPosition");
    bind(module, l.channelSetPosition, "BASS_ChannelSetPosition");
    bind(module, l.channelGetLength, "BASS_ChannelGetLength");
    bind(module, l.channelBytes2Seconds, "BASS_ChannelBytes2Seconds");
    bind(module, l.channelSeconds2Bytes, "BASS_ChannelSeconds2Bytes");
    bind(module, l.channelGetTags, "BASS_ChannelGetTags");
    bind(module, l.channelGetData, "BASS_ChannelGetData");
    bind(module, l.setVolume, "BASS_SetVolume");
    bind(module, l.getVolume, "BASS_GetVolume");
    bind(module, l.channelSetAttribute, "BASS_ChannelSetAttribute");
    bind(module, l.channelGetAttribute, "BASS_ChannelGetAttribute");
    bind(module, l.channelSlideAttribute, "BASS_ChannelSlideAttribute");
    return l;
  }();
  return bound;
}

constexpr QWORD kFailedQword = static_cast<QWORD>(-1);

bool fileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(text::widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int AudioPlayer::init(std::optional<int> device, std::optional<DWORD> frequency, std::optional<DWORD> flags,
                      std::optional<HWND> window) {
  if (!lib().init) return 0;
  return lib().init(device.value_or(-1), frequency.value_or(44100), flags.value_or(0), window.value_or(nullptr),
                    nullptr);
}

int AudioPlayer::free() { return lib().free ? lib().free() : 0; }

HSTREAM AudioPlayer::createStream(const std::string& path, const std::string& memory, const std::string& address,
                                  std::int64_t offset) {
  if (path.empty() && memory.empty() && address.empty()) return 0;
  // The library takes the path in the ANSI code page (GBK), like the
  // closed library it stands for.
  if (fileExists(path))
    return lib().streamCreateFile ? lib().streamCreateFile(FALSE, text::utf8ToGbk(path).c_str(),
                                                           static_cast<QWORD>(offset), 0, 0)
                                  : 0;
  if (memory.empty()) {
    if (address.empty() || !lib().streamCreateUrl) return 0;
    return lib().streamCreateUrl(text::utf8ToGbk(address).c_str(), static_cast<DWORD>(offset), 0, nullptr, nullptr);
  }
  return lib().streamCreateFile ? lib().streamCreateFile(TRUE, memory.data(), static_cast<QWORD>(offset),
                                                         memory.size(), 0)
                                : 0;
}

int AudioPlayer::play(HSTREAM handle, bool restart) {
  if (handle == 0 || !lib().channelPlay) return 0;
  return lib().channelPlay(handle, restart ? TRUE : FALSE);
}

int AudioPlayer::pause(HSTREAM handle) { return lib().channelPause ? lib().channelPause(handle) : 0; }

int AudioPlayer::stop(HSTREAM handle) { return lib().channelStop ? lib().channelStop(handle) : 0; }

QWORD AudioPlayer::getPosition(HSTREAM handle) {
  return lib().channelGetPosition ? lib().channelGetPosition(handle, BASS_POS_BYTE) : kFailedQword;
}

int AudioPlayer::setPosition(HSTREAM handle, QWORD bytes) {
  return lib().channelSetPosition ? lib().channelSetPosition(handle, bytes, BASS_POS_BYTE) : 0;
}

QWORD AudioPlayer::getLength(HSTREAM handle) {
  return lib().channelGetLength ? lib().channelGetLength(handle, BASS_POS_BYTE) : kFailedQword;
}

std::string AudioPlayer::getTags(HSTREAM handle) {
  const char* tags = lib().channelGetTags ? lib().channelGetTags(handle, 0) : nullptr;
  return tags ? std::string(tags) : std::string();
}

DWORD AudioPlayer::isActive(HSTREAM handle) {
  return lib().channelIsActive ? lib().channelIsActive(handle) : BASS_ACTIVE_STOPPED;
}

int AudioPlayer::freeStream(HSTREAM handle) { return lib().streamFree ? lib().streamFree(handle) : 0; }

DWORD AudioPlayer::getSpectrum(HSTREAM handle, std::array<float, 128>& values) {
  std::array<float, 128> fresh{};
  const DWORD result = lib().channelGetData ? lib().channelGetData(handle, fresh.data(), BASS_DATA_FFT256)
                                            : static_cast<DWORD>(-1);
  values = fresh;
  return result;
}

int AudioPlayer::setMasterVolume(float value) { return lib().setVolume ? lib().setVolume(value) : 0; }

float AudioPlayer::getMasterVolume() { return lib().getVolume ? lib().getVolume() : -1.0f; }

int AudioPlayer::setStreamVolume(HSTREAM handle, float value) {
  return lib().channelSetAttribute ? lib().channelSetAttribute(handle, BASS_ATTRIB_VOL, value) : 0;
}

int AudioPlayer::getStreamVolume(HSTREAM handle, float& value) {
  return lib().channelGetAttribute ? lib().channelGetAttribute(handle, BASS_ATTRIB_VOL, &value) : 0;
}

double AudioPlayer::bytesToSeconds(HSTREAM handle, QWORD bytes) {
  return lib().channelBytes2Seconds ? lib().channelBytes2Seconds(handle, bytes) : -1.0;
}

QWORD AudioPlayer::secondsToBytes(HSTREAM handle, double seconds) {
  return lib().channelSeconds2Bytes ? lib().channelSeconds2Bytes(handle, seconds) : kFailedQword;
}

int AudioPlayer::colourComponent(std::uint32_t colour, int which) {
  switch (which) {
    case 1: return static_cast<int>(colour & 0xFF);
    case 2: return static_cast<int>((colour >> 8) & 0xFF);
    case 3: return static_cast<int>((colour >> 16) & 0xFF);
  }
  return 0;
}

namespace library {

HPLUGIN pluginLoad(const std::string& path) {
  return lib().pluginLoad ? lib().pluginLoad(text::utf8ToGbk(path).c_str(), 0) : 0;
}

BOOL channelGetAttribute(DWORD handle, DWORD attribute, float* value) {
  return lib().channelGetAttribute ? lib().channelGetAttribute(handle, attribute, value) : FALSE;
}

BOOL channelSlideAttribute(DWORD handle, DWORD attribute, float value, DWORD time) {
  return lib().channelSlideAttribute ? lib().channelSlideAttribute(handle, attribute, value, time) : FALSE;
}

QWORD streamGetFilePosition(HSTREAM handle, DWORD mode) {
  return lib().streamGetFilePosition ? lib().streamGetFilePosition(handle, mode) : kFailedQword;
}

int errorGetCode() { return lib().errorGetCode ? lib().errorGetCode() : BASS_ERROR_INIT; }

}  // namespace library

int loadDecoderPlugins(const std::filesystem::path& executableDirectory) {
  static const char* const names[] = {"basswma.dll",  "bass_aac.dll", "bass_ac3.dll",
                                      "bass_alac.dll", "bassflac.dll", "bass_ape.dll",
                                      "basswv.dll",   "bass_tta.dll", "bass_mpc.dll"};
  int loaded = 0;
  for (const char* name : names) {
    const std::filesystem::path path = executableDirectory / "plugins" / name;
    if (library::pluginLoad(text::narrow(path.wstring())) != 0) ++loaded;
  }
  return loaded;
}

}  // namespace zelvo::audio
