// Inside bass.dll: the channel record, the registry of handles, the output
// thread and the plug-in list. Locks, from outer to inner:
//   registry lock (handle table; held only for look-ups and list copies)
//   Channel::decoderMutex (the decoder; held while decoding or seeking)
//   Channel::ringMutex (the decoded samples; held only for copies)
// The output thread takes the registry lock and ring locks for copies only.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "byte_source.h"
#include "decoder.h"
#include "zelvo_audio_api.h"

namespace zelvo::audiolib {

void setError(int code);
// Returns value after recording code as the calling thread's last error.
template <typename T>
T fail(int code, T value) {
  setError(code);
  return value;
}

class Download;

struct Channel {
  Channel();
  ~Channel();

  DWORD handle = 0;
  bool decodeOnly = false;
  int rate = 0;
  int channels = 0;
  int bytesPerFrame() const { return channels * 2; }
  std::int64_t sourceSize = -1;  // local files and memory: FILEPOS_END
  std::shared_ptr<DownloadBuffer> download;
  std::unique_ptr<Download> downloader;
  std::string tagsOgg;  // "key=value\0...\0\0"
  std::string tagsId3;  // the ID3v1 block, empty when none
  // Copies kept outside decoderMutex: a feeder waiting for the network
  // holds that lock, and these must answer at once.
  std::atomic<std::int64_t> lengthFrames{-1};
  std::atomic<std::int64_t> sourcePosition{0};

  std::mutex decoderMutex;
  std::unique_ptr<Decoder> decoder;

  // Decoded frames waiting for the output thread; `position` is the frame
  // of the stream the next taken frame has (what the position reports).
  std::mutex ringMutex;
  std::vector<std::int16_t> ring;
  std::size_t ringCapacity = 0;  // frames
  std::size_t ringRead = 0;      // frame slot
  std::size_t ringCount = 0;     // frames
  std::int64_t position = 0;
  std::atomic<std::uint64_t> serial{0};  // bumped by every seek: stale decoded data is dropped
  bool decodedToEnd = false;

  std::atomic<int> state{BASS_ACTIVE_STOPPED};
  std::atomic<bool> starved{false};
  std::atomic<float> volume{1.0f};
  std::atomic<float> frequency{0.0f};

  // Feeder thread: decodes ahead into the ring.
  std::thread feeder;
  std::condition_variable feederWake;
  bool stopFeeder = false;

  // Output-thread state (touched by that thread only).
  std::uint64_t mixSerial = ~0ull;
  double mixFraction = 0;
  std::int16_t mixPrevious[2] = {0, 0};
  std::int16_t mixCurrent[2] = {0, 0};
  std::vector<std::int16_t> mixScratch;

  // The last 256 frames played, mixed to mono, for the spectrum.
  std::mutex historyMutex;
  float history[256] = {};
  std::size_t historyAt = 0;

  void startFeeder();
  void shutdown();
  // Seeks the decoder and drops what was decoded ahead. Takes both locks.
  bool seekTo(std::int64_t frame);
  std::int64_t currentPosition();
  // True when the decoder has ended and everything decoded was taken.
  bool finished();
  // Output thread: takes up to `frames` frames (as stereo) into out; the count taken.
  std::size_t take(std::int16_t* stereo, std::size_t frames, bool* ended);

 private:
  void feed();
};

using ChannelPtr = std::shared_ptr<Channel>;

// The registry.
ChannelPtr findChannel(DWORD handle);
bool libraryInitialised();

// Output (output.cpp).
bool startOutput(int device, DWORD frequency, int* error);
void stopOutput();
// Process exit: forgets the output without stopping it.
void abandonOutput();
int outputRate();
void setMasterVolume(float volume);
float masterVolume();
void addPlaying(const ChannelPtr& channel);
void removePlaying(const Channel* channel);

// Plug-ins (plugins.cpp).
HPLUGIN loadPlugin(const std::wstring& path);
bool codecEnabled(const char* codecName);

// Spectrum (fft256.cpp): 128 magnitudes of 256 samples.
void fft256(const float* samples, float* magnitudes);

// Text.
std::wstring widenAnsi(const char* text);

}  // namespace zelvo::audiolib
