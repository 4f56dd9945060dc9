// The published functions. Each records its outcome as the calling thread's
// error code; the registry lock is held only to find or list channels,
// never while decoding, waiting for the network or joining a thread.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include "download.h"
#include "library.h"

namespace zelvo::audiolib {

namespace {

thread_local int t_error = BASS_OK;

std::mutex g_registryMutex;
// Held through a pointer so that process exit can leave it alone (see DllMain).
std::unique_ptr<std::map<DWORD, ChannelPtr>> g_channels = std::make_unique<std::map<DWORD, ChannelPtr>>();
DWORD g_nextHandle = 0x10000;
bool g_initialised = false;

constexpr auto kUrlOpenDeadline = std::chrono::seconds(8);
constexpr auto kDownloadStall = std::chrono::seconds(15);

int toBassError(OpenError error) {
  switch (error) {
    case OpenError::none: return BASS_OK;
    case OpenError::fileForm: return BASS_ERROR_FILEFORM;
    case OpenError::codec: return BASS_ERROR_CODEC;
    case OpenError::format: return BASS_ERROR_FORMAT;
    case OpenError::decode: return BASS_ERROR_FILEFORM;
    case OpenError::memory: return BASS_ERROR_MEM;
    case OpenError::timeout: return BASS_ERROR_TIMEOUT;
  }
  return BASS_ERROR_UNKNOWN;
}

std::string oggTags(const std::vector<std::string>& metadata) {
  std::string tags;
  for (const std::string& entry : metadata) {
    tags += entry;
    tags += '\0';
  }
  tags += '\0';
  return tags;
}

// Registers a channel around an opened decoder; starts its feeder unless it
// is only decoded.
HSTREAM addChannel(std::unique_ptr<Decoder> decoder, DWORD flags, std::shared_ptr<DownloadBuffer> download,
                   std::unique_ptr<Download> downloader) {
  auto channel = std::make_shared<Channel>();
  channel->decodeOnly = (flags & BASS_STREAM_DECODE) != 0;
  channel->rate = decoder->sampleRate();
  channel->channels = decoder->channels();
  channel->frequency = static_cast<float>(channel->rate);
  channel->sourceSize = download ? -1 : decoder->source().size();
  channel->tagsOgg = oggTags(decoder->metadata());
  channel->tagsId3 = decoder->id3v1();
  channel->lengthFrames = decoder->lengthFrames();
  channel->decoder = std::move(decoder);
  channel->download = std::move(download);
  channel->downloader = std::move(downloader);
  if (!channel->decodeOnly) channel->startFeeder();
  std::lock_guard lock(g_registryMutex);
  if (!g_initialised) return fail(BASS_ERROR_INIT, HSTREAM{0});  // freed meanwhile
  const DWORD handle = g_nextHandle++;
  channel->handle = handle;
  (*g_channels)[handle] = channel;
  setError(BASS_OK);
  return handle;
}

std::int64_t decodeOnlyLength(Channel& channel) {
  std::lock_guard decoding(channel.decoderMutex);
  return channel.decoder->lengthFrames();
}

bool requireInit() {
  std::lock_guard lock(g_registryMutex);
  return g_initialised;
}

std::int64_t toFrames(const Channel& channel, QWORD bytes) {
  return static_cast<std::int64_t>(bytes / static_cast<QWORD>(channel.bytesPerFrame()));
}

}  // namespace

void setError(int code) { t_error = code; }

ChannelPtr findChannel(DWORD handle) {
  std::lock_guard lock(g_registryMutex);
  const auto it = g_channels->find(handle);
  return it == g_channels->end() ? nullptr : it->second;
}

bool libraryInitialised() { return requireInit(); }

std::wstring widenAnsi(const char* text) {
  if (!text || !*text) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

}  // namespace zelvo::audiolib

using namespace zelvo::audiolib;

// The program never frees the library: streams, the output thread and the
// downloads are still there when the process ends. By then Windows has
// stopped those threads (perhaps holding a lock), so nothing may be joined
// or locked: the state is left to the end of the process.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) {
    (void)g_channels.release();
    abandonOutput();
  }
  return TRUE;
}

extern "C" {

BOOL ZELVO_AUDIO_CALL BASS_Init(int device, DWORD freq, DWORD, HWND, const void*) {
  static std::once_flag quiet;
  std::call_once(quiet, quietFfmpegLog);
  std::lock_guard lock(g_registryMutex);
  if (g_initialised) return fail(BASS_ERROR_ALREADY, FALSE);
  if (device < -1) return fail(BASS_ERROR_DEVICE, FALSE);
  int error = BASS_OK;
  if (!startOutput(device, freq, &error)) return fail(error, FALSE);
  g_initialised = true;
  return fail(BASS_OK, TRUE);
}

BOOL ZELVO_AUDIO_CALL BASS_Free(void) {
  std::map<DWORD, ChannelPtr> channels;
  {
    std::lock_guard lock(g_registryMutex);
    if (!g_initialised) return fail(BASS_ERROR_INIT, FALSE);
    g_initialised = false;
    channels.swap(*g_channels);
    stopOutput();
  }
  for (auto& [handle, channel] : channels) channel->shutdown();
  return fail(BASS_OK, TRUE);
}

int ZELVO_AUDIO_CALL BASS_ErrorGetCode(void) { return t_error; }

BOOL ZELVO_AUDIO_CALL BASS_SetVolume(float volume) {
  if (!requireInit()) return fail(BASS_ERROR_INIT, FALSE);
  if (!(volume >= 0.0f && volume <= 1.0f)) return fail(BASS_ERROR_ILLPARAM, FALSE);
  setMasterVolume(volume);
  return fail(BASS_OK, TRUE);
}

float ZELVO_AUDIO_CALL BASS_GetVolume(void) {
  if (!requireInit()) return fail(BASS_ERROR_INIT, -1.0f);
  return fail(BASS_OK, masterVolume());
}

HPLUGIN ZELVO_AUDIO_CALL BASS_PluginLoad(const char* file, DWORD flags) {
  if (!file) return fail(BASS_ERROR_FILEOPEN, HPLUGIN{0});
  const std::wstring path = (flags & BASS_UNICODE) ? std::wstring(reinterpret_cast<const wchar_t*>(file)) : widenAnsi(file);
  return loadPlugin(path);
}

HSTREAM ZELVO_AUDIO_CALL BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
  if (!requireInit()) return fail(BASS_ERROR_INIT, HSTREAM{0});
  std::unique_ptr<ByteSource> source;
  if (mem) {
    if (!file || length == 0 || offset >= length) return fail(BASS_ERROR_FILEFORM, HSTREAM{0});
    source = std::make_unique<MemorySource>(static_cast<const std::uint8_t*>(file) + offset,
                                            static_cast<std::int64_t>(length - offset));
  } else {
    if (!file) return fail(BASS_ERROR_FILEOPEN, HSTREAM{0});
    const std::wstring path = (flags & BASS_UNICODE) ? std::wstring(static_cast<const wchar_t*>(file))
                                                     : widenAnsi(static_cast<const char*>(file));
    if (path.empty()) return fail(BASS_ERROR_FILEOPEN, HSTREAM{0});
    std::FILE* handle = _wfopen(path.c_str(), L"rb");
    if (!handle) return fail(BASS_ERROR_FILEOPEN, HSTREAM{0});
    source = std::make_unique<FileSource>(handle, static_cast<std::int64_t>(offset),
                                          length ? static_cast<std::int64_t>(length) : -1);
    if (source->size() <= 0) return fail(BASS_ERROR_FILEFORM, HSTREAM{0});
  }
  OpenError error = OpenError::none;
  auto decoder = Decoder::open(std::move(source), codecEnabled, {}, &error);
  if (!decoder) return fail(toBassError(error), HSTREAM{0});
  return addChannel(std::move(decoder), flags, nullptr, nullptr);
}

HSTREAM ZELVO_AUDIO_CALL BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc,
                                              void* user) {
  if (!requireInit()) return fail(BASS_ERROR_INIT, HSTREAM{0});
  const std::wstring address = (flags & BASS_UNICODE) ? std::wstring(reinterpret_cast<const wchar_t*>(url)) : widenAnsi(url);
  if (address.rfind(L"http://", 0) != 0 && address.rfind(L"https://", 0) != 0 &&
      address.rfind(L"HTTP://", 0) != 0 && address.rfind(L"HTTPS://", 0) != 0)
    return fail(BASS_ERROR_FILEOPEN, HSTREAM{0});
  auto buffer = std::make_shared<DownloadBuffer>();
  auto downloader = std::make_unique<Download>(address, offset, buffer, proc, user);
  auto source = std::make_unique<DownloadSource>(buffer, kDownloadStall);
  DownloadSource* download = source.get();
  // Probing waits for data; the deadline bounds how long the caller blocks.
  download->setDeadline(std::chrono::steady_clock::now() + kUrlOpenDeadline);
  OpenError error = OpenError::none;
  auto decoder = Decoder::open(std::move(source), codecEnabled, {}, &error);
  if (!decoder) {
    buffer->cancel();
    downloader->cancel();
    downloader->join();
    const bool nothing = buffer->downloaded() == 0;
    return fail(nothing ? (buffer->failed() ? BASS_ERROR_FILEOPEN : BASS_ERROR_TIMEOUT) : toBassError(error),
                HSTREAM{0});
  }
  download->clearDeadline();
  return addChannel(std::move(decoder), flags, std::move(buffer), std::move(downloader));
}

BOOL ZELVO_AUDIO_CALL BASS_StreamFree(HSTREAM handle) {
  ChannelPtr channel;
  {
    std::lock_guard lock(g_registryMutex);
    const auto it = g_channels->find(handle);
    if (it == g_channels->end()) return fail(BASS_ERROR_HANDLE, FALSE);
    channel = it->second;
    g_channels->erase(it);
  }
  channel->state = BASS_ACTIVE_STOPPED;
  removePlaying(channel.get());
  channel->shutdown();
  return fail(BASS_OK, TRUE);
}

QWORD ZELVO_AUDIO_CALL BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<QWORD>(-1));
  const auto& download = channel->download;
  switch (mode) {
    case BASS_FILEPOS_CURRENT:
      return fail(BASS_OK, static_cast<QWORD>(channel->sourcePosition.load()));
    case BASS_FILEPOS_START:
      return fail(BASS_OK, QWORD{0});
    case BASS_FILEPOS_END: {
      const std::int64_t end = download ? download->total() : channel->sourceSize;
      if (end < 0) return fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
      return fail(BASS_OK, static_cast<QWORD>(end));
    }
    case BASS_FILEPOS_DOWNLOAD:
    case BASS_FILEPOS_BUFFER:
      // Only network streams buffer: a local file reports none.
      if (!download) return fail(BASS_ERROR_NOTFILE, static_cast<QWORD>(-1));
      return fail(BASS_OK, static_cast<QWORD>(download->downloaded()));
    case BASS_FILEPOS_CONNECTED:
      if (!download) return fail(BASS_ERROR_NOTFILE, static_cast<QWORD>(-1));
      return fail(BASS_OK, static_cast<QWORD>(download->finished() ? 0 : 1));
  }
  return fail(BASS_ERROR_ILLTYPE, static_cast<QWORD>(-1));
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelPlay(DWORD handle, BOOL restart) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  if (channel->decodeOnly) return fail(BASS_ERROR_DECODE, FALSE);
  if (!requireInit()) return fail(BASS_ERROR_INIT, FALSE);
  // An ended stream has nothing left to resume: it plays from the start.
  if (restart || channel->finished()) channel->seekTo(0);
  addPlaying(channel);
  channel->starved = false;
  channel->state = BASS_ACTIVE_PLAYING;
  return fail(BASS_OK, TRUE);
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelPause(DWORD handle) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  if (channel->decodeOnly) return fail(BASS_ERROR_DECODE, FALSE);
  int expected = BASS_ACTIVE_PLAYING;
  if (!channel->state.compare_exchange_strong(expected, BASS_ACTIVE_PAUSED)) return fail(BASS_ERROR_NOPLAY, FALSE);
  return fail(BASS_OK, TRUE);
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelStop(DWORD handle) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  if (channel->decodeOnly) return fail(BASS_ERROR_DECODE, FALSE);
  channel->state = BASS_ACTIVE_STOPPED;
  return fail(BASS_OK, TRUE);
}

DWORD ZELVO_AUDIO_CALL BASS_ChannelIsActive(DWORD handle) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, DWORD{BASS_ACTIVE_STOPPED});
  setError(BASS_OK);
  if (channel->decodeOnly) return channel->finished() ? BASS_ACTIVE_STOPPED : BASS_ACTIVE_PLAYING;
  const int state = channel->state.load();
  if (state == BASS_ACTIVE_PLAYING && channel->starved.load() && channel->download) return BASS_ACTIVE_STALLED;
  return static_cast<DWORD>(state);
}

QWORD ZELVO_AUDIO_CALL BASS_ChannelGetPosition(DWORD handle, DWORD mode) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<QWORD>(-1));
  if (mode != BASS_POS_BYTE) return fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
  return fail(BASS_OK, static_cast<QWORD>(channel->currentPosition() * channel->bytesPerFrame()));
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  if (mode != BASS_POS_BYTE) return fail(BASS_ERROR_NOTAVAIL, FALSE);
  if (pos > static_cast<QWORD>(INT64_MAX)) return fail(BASS_ERROR_POSITION, FALSE);
  const std::int64_t frame = toFrames(*channel, pos);
  if (channel->decodeOnly) {
    std::lock_guard decoding(channel->decoderMutex);
    return channel->decoder->seek(frame) ? fail(BASS_OK, TRUE) : fail(BASS_ERROR_POSITION, FALSE);
  }
  // Past the end is refused and the stream stays where it was.
  const std::int64_t length = channel->lengthFrames.load();
  if (length >= 0 && frame > length) return fail(BASS_ERROR_POSITION, FALSE);
  return channel->seekTo(frame) ? fail(BASS_OK, TRUE) : fail(BASS_ERROR_POSITION, FALSE);
}

QWORD ZELVO_AUDIO_CALL BASS_ChannelGetLength(DWORD handle, DWORD mode) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<QWORD>(-1));
  if (mode != BASS_POS_BYTE) return fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
  const std::int64_t length = channel->decodeOnly ? decodeOnlyLength(*channel) : channel->lengthFrames.load();
  if (length < 0) return fail(BASS_ERROR_NOTAVAIL, static_cast<QWORD>(-1));
  return fail(BASS_OK, static_cast<QWORD>(length * channel->bytesPerFrame()));
}

double ZELVO_AUDIO_CALL BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, -1.0);
  if (pos == static_cast<QWORD>(-1)) return fail(BASS_ERROR_ILLPARAM, -1.0);
  return fail(BASS_OK, static_cast<double>(toFrames(*channel, pos)) / channel->rate);
}

QWORD ZELVO_AUDIO_CALL BASS_ChannelSeconds2Bytes(DWORD handle, double seconds) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<QWORD>(-1));
  if (!(seconds >= 0.0) || seconds > 1e9) return fail(BASS_ERROR_ILLPARAM, static_cast<QWORD>(-1));
  // The small allowance keeps bytes -> seconds -> bytes on the same frame.
  const auto frames = static_cast<QWORD>(std::floor(seconds * channel->rate + 1e-6));
  return fail(BASS_OK, frames * static_cast<QWORD>(channel->bytesPerFrame()));
}

const char* ZELVO_AUDIO_CALL BASS_ChannelGetTags(DWORD handle, DWORD tags) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<const char*>(nullptr));
  if (tags == BASS_TAG_ID3) {
    if (channel->tagsId3.empty()) return fail(BASS_ERROR_NOTAVAIL, static_cast<const char*>(nullptr));
    return fail(BASS_OK, channel->tagsId3.c_str());
  }
  if (tags == BASS_TAG_OGG) {
    if (channel->tagsOgg.size() <= 1) return fail(BASS_ERROR_NOTAVAIL, static_cast<const char*>(nullptr));
    return fail(BASS_OK, channel->tagsOgg.c_str());
  }
  return fail(BASS_ERROR_NOTAVAIL, static_cast<const char*>(nullptr));
}

DWORD ZELVO_AUDIO_CALL BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, static_cast<DWORD>(-1));
  if (!buffer) return fail(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
  if (length == BASS_DATA_FFT256) {
    float samples[256];
    {
      std::lock_guard lock(channel->historyMutex);
      for (std::size_t i = 0; i < 256; ++i) samples[i] = channel->history[(channel->historyAt + i) % 256];
    }
    fft256(samples, static_cast<float*>(buffer));
    return fail(BASS_OK, DWORD{128 * sizeof(float)});
  }
  if (length & 0xFF000000u) return fail(BASS_ERROR_ILLPARAM, static_cast<DWORD>(-1));
  if (!channel->decodeOnly) return fail(BASS_ERROR_NOTAVAIL, static_cast<DWORD>(-1));
  std::lock_guard decoding(channel->decoderMutex);
  const std::int64_t frames = length / static_cast<DWORD>(channel->bytesPerFrame());
  const std::int64_t got = channel->decoder->read(static_cast<std::int16_t*>(buffer), frames);
  if (got == 0 && frames > 0) return fail(BASS_ERROR_ENDED, static_cast<DWORD>(-1));
  return fail(BASS_OK, static_cast<DWORD>(got * channel->bytesPerFrame()));
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  switch (attrib) {
    case BASS_ATTRIB_VOL:
      if (!(value >= 0.0f && value <= 10.0f)) return fail(BASS_ERROR_ILLPARAM, FALSE);
      channel->volume = value;
      return fail(BASS_OK, TRUE);
    case BASS_ATTRIB_FREQ: {
      // 0 means the stream's own rate.
      if (value == 0.0f) value = static_cast<float>(channel->rate);
      if (!(value >= 100.0f && value <= 8.0f * outputRate())) return fail(BASS_ERROR_ILLPARAM, FALSE);
      channel->frequency = value;
      return fail(BASS_OK, TRUE);
    }
  }
  return fail(BASS_ERROR_ILLTYPE, FALSE);
}

BOOL ZELVO_AUDIO_CALL BASS_ChannelGetAttribute(DWORD handle, DWORD attrib, float* value) {
  const ChannelPtr channel = findChannel(handle);
  if (!channel) return fail(BASS_ERROR_HANDLE, FALSE);
  if (!value) return fail(BASS_ERROR_ILLPARAM, FALSE);
  switch (attrib) {
    case BASS_ATTRIB_VOL: *value = channel->volume; return fail(BASS_OK, TRUE);
    case BASS_ATTRIB_FREQ: *value = channel->frequency; return fail(BASS_OK, TRUE);
  }
  return fail(BASS_ERROR_ILLTYPE, FALSE);
}

// The program slides with time 0 only; a slide of any length takes the
// value at once as well.
BOOL ZELVO_AUDIO_CALL BASS_ChannelSlideAttribute(DWORD handle, DWORD attrib, float value, DWORD) {
  return BASS_ChannelSetAttribute(handle, attrib, value);
}

}  // extern "C"
