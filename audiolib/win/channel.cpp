#include <algorithm>
#include <cstring>

#include "download.h"
#include "library.h"

namespace zelvo::audiolib {

namespace {
constexpr std::size_t kFeedChunk = 2048;  // frames decoded per lock
}

Channel::Channel() = default;
Channel::~Channel() { shutdown(); }

void Channel::startFeeder() {
  ringCapacity = static_cast<std::size_t>(rate);  // one second ahead
  ring.assign(ringCapacity * channels, 0);
  feeder = std::thread([this] { feed(); });
}

void Channel::shutdown() {
  if (download) download->cancel();
  if (downloader) downloader->cancel();
  {
    std::lock_guard lock(ringMutex);
    stopFeeder = true;
  }
  feederWake.notify_all();
  if (feeder.joinable()) feeder.join();
  if (downloader) downloader->join();
}

void Channel::feed() {
  std::vector<std::int16_t> chunk(kFeedChunk * channels);
  while (true) {
    {
      std::unique_lock lock(ringMutex);
      feederWake.wait(lock, [&] { return stopFeeder || (!decodedToEnd && ringCapacity - ringCount >= kFeedChunk); });
      if (stopFeeder) return;
    }
    std::int64_t got = 0;
    std::uint64_t decodedSerial = 0;
    {
      std::lock_guard decoding(decoderMutex);
      {
        std::lock_guard lock(ringMutex);
        decodedSerial = serial;
      }
      got = decoder->read(chunk.data(), static_cast<std::int64_t>(kFeedChunk));
      lengthFrames = decoder->lengthFrames();
      sourcePosition = decoder->source().position();
    }
    std::lock_guard lock(ringMutex);
    if (decodedSerial != serial) continue;  // a seek came in between
    if (got == 0) {
      decodedToEnd = true;
      continue;
    }
    for (std::int64_t i = 0; i < got; ++i) {
      const std::size_t slot = (ringRead + ringCount) % ringCapacity;
      std::memcpy(&ring[slot * channels], &chunk[i * channels], sizeof(std::int16_t) * channels);
      ++ringCount;
    }
  }
}

bool Channel::seekTo(std::int64_t frame) {
  bool ok;
  {
    std::lock_guard decoding(decoderMutex);
    ok = decoder->seek(frame);
    lengthFrames = decoder->lengthFrames();
    std::lock_guard lock(ringMutex);
    ++serial;
    ringRead = 0;
    ringCount = 0;
    position = decoder->positionFrames();
    decodedToEnd = false;
  }
  feederWake.notify_all();
  return ok;
}

std::int64_t Channel::currentPosition() {
  if (decodeOnly) {
    std::lock_guard decoding(decoderMutex);
    return decoder->positionFrames();
  }
  std::lock_guard lock(ringMutex);
  return position;
}

bool Channel::finished() {
  if (decodeOnly) {
    std::lock_guard decoding(decoderMutex);
    return decoder->atEnd();
  }
  std::lock_guard lock(ringMutex);
  return decodedToEnd && ringCount == 0;
}

std::size_t Channel::take(std::int16_t* stereo, std::size_t frames, bool* ended) {
  std::size_t taken = 0;
  {
    std::lock_guard lock(ringMutex);
    taken = std::min(frames, ringCount);
    for (std::size_t i = 0; i < taken; ++i) {
      const std::int16_t* frame = &ring[((ringRead + i) % ringCapacity) * channels];
      stereo[2 * i] = frame[0];
      stereo[2 * i + 1] = channels > 1 ? frame[1] : frame[0];
    }
    ringRead = (ringRead + taken) % ringCapacity;
    ringCount -= taken;
    position += static_cast<std::int64_t>(taken);
    *ended = decodedToEnd && ringCount == 0;
  }
  if (taken) feederWake.notify_one();
  return taken;
}

}  // namespace zelvo::audiolib
