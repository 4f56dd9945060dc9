// The output thread: mixes the playing channels into waveOut buffers, paced
// by the device (it refills a buffer when the device hands one back). Each
// channel is resampled from its frequency attribute to the device rate by
// linear interpolation, so the attribute changes the playback rate at once.
// With device 0 ("no sound") a clock paces the same loop.
#include "library.h"

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>

namespace zelvo::audiolib {

namespace {

constexpr int kBufferCount = 8;
constexpr int kBufferMilliseconds = 20;
constexpr double kMaxRateRatio = 8.0;  // frequency attribute / device rate

struct Output {
  std::mutex listMutex;
  std::vector<ChannelPtr> playing;  // reserved ahead: the thread copies without allocating
  std::vector<ChannelPtr> snapshot;

  HWAVEOUT device = nullptr;
  HANDLE bufferDone = nullptr;
  HANDLE stopEvent = nullptr;
  int rate = 44100;
  std::size_t blockFrames = 0;
  std::array<WAVEHDR, kBufferCount> headers{};
  std::array<std::vector<std::int16_t>, kBufferCount> buffers;
  std::array<bool, kBufferCount> queued{};
  std::vector<std::int32_t> accumulator;
  std::thread thread;
  std::atomic<float> master{1.0f};
};

std::unique_ptr<Output> g_output;  // set and cleared under the library lock

void mixChannel(Output& out, Channel& channel, std::size_t frames) {
  const float frequency = channel.frequency.load();
  const double step = std::clamp(static_cast<double>(frequency) / out.rate, 0.0, kMaxRateRatio);
  if (channel.mixSerial != channel.serial || channel.mixScratch.empty()) {
    // After a seek: start interpolating afresh at the new position.
    channel.mixSerial = channel.serial;
    channel.mixFraction = 1.0;
    channel.mixPrevious[0] = channel.mixPrevious[1] = 0;
    channel.mixCurrent[0] = channel.mixCurrent[1] = 0;
  }
  // Source frames this block consumes.
  const double end = channel.mixFraction + step * static_cast<double>(frames);
  const std::size_t needed = std::min<std::size_t>(static_cast<std::size_t>(std::floor(end)),
                                                   channel.mixScratch.size() / 2);
  bool ended = false;
  const std::size_t got = needed ? channel.take(channel.mixScratch.data(), needed, &ended) : 0;
  if (got < needed && !ended) channel.starved = true;
  else if (got) channel.starved = false;

  const float gain = channel.volume.load() * out.master.load();
  std::size_t next = 0;
  double fraction = channel.mixFraction;
  std::size_t produced = 0;
  for (; produced < frames; ++produced) {
    while (fraction >= 1.0) {
      if (next >= got) break;
      channel.mixPrevious[0] = channel.mixCurrent[0];
      channel.mixPrevious[1] = channel.mixCurrent[1];
      channel.mixCurrent[0] = channel.mixScratch[2 * next];
      channel.mixCurrent[1] = channel.mixScratch[2 * next + 1];
      ++next;
      fraction -= 1.0;
    }
    if (fraction >= 1.0) break;  // out of data: silence for the rest
    for (int c = 0; c < 2; ++c) {
      const double value = channel.mixPrevious[c] + (channel.mixCurrent[c] - channel.mixPrevious[c]) * fraction;
      out.accumulator[2 * produced + c] += static_cast<std::int32_t>(value * gain);
    }
    fraction += step;
  }
  channel.mixFraction = std::min(fraction, 1.0 + step);

  // Spectrum history: the frames just taken, as mono.
  if (got) {
    std::lock_guard lock(channel.historyMutex);
    for (std::size_t i = 0; i < got; ++i) {
      channel.history[channel.historyAt] =
          (channel.mixScratch[2 * i] + channel.mixScratch[2 * i + 1]) / 65536.0f;
      channel.historyAt = (channel.historyAt + 1) % 256;
    }
  }
  if (ended) channel.state = BASS_ACTIVE_STOPPED;
}

void fillBlock(Output& out, std::int16_t* samples) {
  std::fill(out.accumulator.begin(), out.accumulator.end(), 0);
  {
    std::lock_guard lock(out.listMutex);
    out.snapshot.assign(out.playing.begin(), out.playing.end());
  }
  for (const ChannelPtr& channel : out.snapshot)
    if (channel->state.load() == BASS_ACTIVE_PLAYING) mixChannel(out, *channel, out.blockFrames);
  out.snapshot.clear();
  for (std::size_t i = 0; i < out.blockFrames * 2; ++i)
    samples[i] = static_cast<std::int16_t>(std::clamp(out.accumulator[i], -32768, 32767));
}

void runDevice(Output& out) {
  while (WaitForSingleObject(out.stopEvent, 0) != WAIT_OBJECT_0) {
    for (int i = 0; i < kBufferCount; ++i) {
      WAVEHDR& header = out.headers[i];
      if (out.queued[i] && !(header.dwFlags & WHDR_DONE)) continue;
      fillBlock(out, out.buffers[i].data());
      header.dwFlags &= ~WHDR_DONE;
      out.queued[i] = waveOutWrite(out.device, &header, sizeof header) == MMSYSERR_NOERROR;
    }
    HANDLE events[2] = {out.bufferDone, out.stopEvent};
    WaitForMultipleObjects(2, events, FALSE, 100);
  }
}

void runClock(Output& out) {
  std::vector<std::int16_t> block(out.blockFrames * 2);
  ULONGLONG next = GetTickCount64();
  while (true) {
    fillBlock(out, block.data());
    next += kBufferMilliseconds;
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = next > now ? static_cast<DWORD>(next - now) : 0;
    if (WaitForSingleObject(out.stopEvent, wait) == WAIT_OBJECT_0) return;
  }
}

}  // namespace

bool startOutput(int device, DWORD frequency, int* error) {
  auto out = std::make_unique<Output>();
  out->rate = frequency >= 8000 && frequency <= 192000 ? static_cast<int>(frequency) : 44100;
  out->blockFrames = static_cast<std::size_t>(out->rate) * kBufferMilliseconds / 1000;
  out->accumulator.assign(out->blockFrames * 2, 0);
  out->playing.reserve(256);
  out->snapshot.reserve(256);
  out->stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (device != 0) {
    UINT id = WAVE_MAPPER;
    if (device > 0) {
      if (static_cast<UINT>(device) > waveOutGetNumDevs()) {
        CloseHandle(out->stopEvent);
        *error = BASS_ERROR_DEVICE;
        return false;
      }
      id = static_cast<UINT>(device - 1);
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(out->rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * 4;
    out->bufferDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (waveOutOpen(&out->device, id, &format, reinterpret_cast<DWORD_PTR>(out->bufferDone), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
      CloseHandle(out->bufferDone);
      CloseHandle(out->stopEvent);
      *error = BASS_ERROR_DEVICE;
      return false;
    }
    for (int i = 0; i < kBufferCount; ++i) {
      out->buffers[i].assign(out->blockFrames * 2, 0);
      WAVEHDR& header = out->headers[i];
      header.lpData = reinterpret_cast<LPSTR>(out->buffers[i].data());
      header.dwBufferLength = static_cast<DWORD>(out->blockFrames * 4);
      waveOutPrepareHeader(out->device, &header, sizeof header);
    }
  }
  Output* raw = out.get();  // lives until stopOutput has joined the thread
  raw->thread = std::thread([raw] {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    if (raw->device)
      runDevice(*raw);
    else
      runClock(*raw);
  });
  g_output = std::move(out);
  return true;
}

void stopOutput() {
  std::unique_ptr<Output> out = std::move(g_output);
  if (!out) return;
  SetEvent(out->stopEvent);
  out->thread.join();
  if (out->device) {
    waveOutReset(out->device);
    for (WAVEHDR& header : out->headers) waveOutUnprepareHeader(out->device, &header, sizeof header);
    waveOutClose(out->device);
    CloseHandle(out->bufferDone);
  }
  CloseHandle(out->stopEvent);
}

void abandonOutput() { (void)g_output.release(); }

int outputRate() { return g_output ? g_output->rate : 44100; }

void setMasterVolume(float volume) {
  if (g_output) g_output->master = volume;
}

float masterVolume() { return g_output ? g_output->master.load() : -1.0f; }

void addPlaying(const ChannelPtr& channel) {
  if (!g_output) return;
  std::lock_guard lock(g_output->listMutex);
  if (std::find(g_output->playing.begin(), g_output->playing.end(), channel) != g_output->playing.end()) return;
  // Sized once, before the output thread can see the channel.
  channel->mixScratch.assign(static_cast<std::size_t>(std::ceil(g_output->blockFrames * kMaxRateRatio) + 4) * 2, 0);
  g_output->playing.push_back(channel);
}

void removePlaying(const Channel* channel) {
  if (!g_output) return;
  std::lock_guard lock(g_output->listMutex);
  std::erase_if(g_output->playing, [&](const ChannelPtr& c) { return c.get() == channel; });
}

}  // namespace zelvo::audiolib
