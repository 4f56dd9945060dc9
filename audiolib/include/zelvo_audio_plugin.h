/* The table a decoder plug-in hands to the core library. Plain C: no C++
 * types or exceptions cross the DLL boundary. A plug-in exports
 * zelvo_audio_plugin_table(), which returns a pointer to a table that lives
 * as long as the DLL is loaded. The core refuses a table whose version it
 * does not know or whose size is smaller than the version-1 table. */
#ifndef ZELVO_AUDIO_PLUGIN_H
#define ZELVO_AUDIO_PLUGIN_H

#include <stdint.h>

#ifdef _WIN32
#define ZELVO_PLUGIN_CALL __stdcall
#else
#define ZELVO_PLUGIN_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define ZELVO_AUDIO_PLUGIN_VERSION 1
#define ZELVO_AUDIO_PLUGIN_ENTRY "zelvo_audio_plugin_table"

typedef struct ZelvoAudioPluginTable {
  uint32_t size;    /* sizeof(ZelvoAudioPluginTable) as the plug-in was built */
  uint32_t version; /* ZELVO_AUDIO_PLUGIN_VERSION */
  const char* name; /* for diagnostics, e.g. "bassflac" */
  /* Nonzero when the plug-in enables decoding of this codec, named as FFmpeg
   * names it ("flac", "aac", ...). Called with the core's locks held: it must
   * not call back into the library. */
  int(ZELVO_PLUGIN_CALL* claimsCodec)(const char* codecName);
} ZelvoAudioPluginTable;

typedef const ZelvoAudioPluginTable*(ZELVO_PLUGIN_CALL* ZelvoAudioPluginEntry)(void);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_AUDIO_PLUGIN_H */
