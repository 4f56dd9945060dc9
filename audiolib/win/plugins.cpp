// Decoder plug-ins: each DLL hands over a table naming the codecs it
// enables. The core plays its own formats without any.
#include <algorithm>
#include <cstring>

#include "library.h"
#include "zelvo_audio_plugin.h"

namespace zelvo::audiolib {

namespace {

struct Plugin {
  HMODULE module;
  const ZelvoAudioPluginTable* table;
};

std::mutex g_pluginMutex;
std::vector<Plugin> g_plugins;  // never unloaded: streams may use them until the process ends

bool coreCodec(const char* name) {
  static const char* const codecs[] = {"mp1", "mp2", "mp3", "vorbis"};
  if (std::strncmp(name, "pcm_", 4) == 0 || std::strncmp(name, "adpcm_", 6) == 0) return true;
  return std::any_of(std::begin(codecs), std::end(codecs), [&](const char* c) { return std::strcmp(c, name) == 0; });
}

}  // namespace

HPLUGIN loadPlugin(const std::wstring& path) {
  if (path.empty()) return fail(BASS_ERROR_FILEOPEN, HPLUGIN{0});
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) return fail(BASS_ERROR_FILEOPEN, HPLUGIN{0});
  std::lock_guard lock(g_pluginMutex);
  for (std::size_t i = 0; i < g_plugins.size(); ++i) {
    if (g_plugins[i].module == module) {
      FreeLibrary(module);  // drop the extra reference
      return fail(BASS_ERROR_ALREADY, HPLUGIN{0});
    }
  }
  const auto entry =
      reinterpret_cast<ZelvoAudioPluginEntry>(reinterpret_cast<void*>(GetProcAddress(module, ZELVO_AUDIO_PLUGIN_ENTRY)));
  const ZelvoAudioPluginTable* table = entry ? entry() : nullptr;
  if (!table) {
    FreeLibrary(module);
    return fail(BASS_ERROR_FILEFORM, HPLUGIN{0});
  }
  if (table->version != ZELVO_AUDIO_PLUGIN_VERSION || table->size < sizeof(ZelvoAudioPluginTable) ||
      !table->claimsCodec) {
    FreeLibrary(module);
    return fail(BASS_ERROR_VERSION, HPLUGIN{0});
  }
  g_plugins.push_back({module, table});
  setError(BASS_OK);
  return static_cast<HPLUGIN>(0x70000000u + g_plugins.size());
}

bool codecEnabled(const char* codecName) {
  if (coreCodec(codecName)) return true;
  std::lock_guard lock(g_pluginMutex);
  return std::any_of(g_plugins.begin(), g_plugins.end(),
                     [&](const Plugin& p) { return p.table->claimsCodec(codecName) != 0; });
}

}  // namespace zelvo::audiolib
