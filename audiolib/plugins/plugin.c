/* A decoder plug-in: it enables the codecs in ZELVO_PLUGIN_CODECS (a comma
 * list given by the build). The decoders themselves live in the core; a
 * format opens only while the plug-in that claims its codec is loaded. */
#include <string.h>

#include "zelvo_audio_plugin.h"

static int ZELVO_PLUGIN_CALL claimsCodec(const char* codecName) {
  const char* list = ZELVO_PLUGIN_CODECS;
  const size_t n = codecName ? strlen(codecName) : 0;
  if (n == 0) return 0;
  while (*list) {
    const char* end = strchr(list, ',');
    const size_t len = end ? (size_t)(end - list) : strlen(list);
    if (len == n && strncmp(list, codecName, n) == 0) return 1;
    if (!end) break;
    list = end + 1;
  }
  return 0;
}

static const ZelvoAudioPluginTable table = {
    sizeof(ZelvoAudioPluginTable), ZELVO_AUDIO_PLUGIN_VERSION, ZELVO_PLUGIN_NAME, claimsCodec};

__declspec(dllexport) const ZelvoAudioPluginTable* ZELVO_PLUGIN_CALL zelvo_audio_plugin_table(void) { return &table; }
