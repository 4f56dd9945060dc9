// The decoding core: one encoded stream in, 16-bit interleaved PCM at the
// stream's own rate and channel count out, with sample-exact positions.
// Portable (FFmpeg only). Not thread-safe: the owner serialises calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"

namespace zelvo::audiolib {

enum class OpenError {
  none,
  fileForm,  // not a container we read, or no audio stream in it
  codec,     // a known container whose codec is not enabled
  format,    // a sample format or channel count we do not play
  decode,    // the first frame could not be decoded
  memory,
  timeout,   // a download did not deliver enough to probe
};

// Which codecs (FFmpeg's codec names) may be opened.
using CodecFilter = std::function<bool(const char* codecName)>;

class Decoder {
 public:
  struct Options {
    // Decode the tail at open so lengthFrames() is the real decoded length
    // (seekable sources only; a download reports the container's estimate).
    bool exactLength = true;
  };

  static std::unique_ptr<Decoder> open(std::unique_ptr<ByteSource> source, const CodecFilter& filter,
                                       const Options& options, OpenError* error);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  int sampleRate() const;
  int channels() const;
  // Frames in the stream; -1 when not known.
  std::int64_t lengthFrames() const;
  // The frame the next read() starts with.
  std::int64_t positionFrames() const;
  bool atEnd() const;
  const std::string& codecName() const;

  // Up to `frames` interleaved frames into out; 0 at the end.
  std::int64_t read(std::int16_t* out, std::int64_t frames);
  // Afterwards positionFrames() == frame (false when it cannot be reached;
  // the position is then unchanged or at the end).
  bool seek(std::int64_t frame);

  // "key=value" texts of the container's and the stream's metadata.
  const std::vector<std::string>& metadata() const;
  // The 128-byte ID3v1 block at the end of the source, empty when none.
  const std::string& id3v1() const;
  ByteSource& source();

 private:
  struct Impl;
  explicit Decoder(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Silences FFmpeg's logging for the process (called once by the library).
void quietFfmpegLog();

}  // namespace zelvo::audiolib
