// Fuzz target: any bytes through open, a read, a seek and a read to the end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zelvo::audiolib;
  static const bool quiet = (quietFfmpegLog(), true);
  (void)quiet;
  auto decoder = Decoder::open(std::make_unique<MemorySource>(data, static_cast<std::int64_t>(size)), {}, {}, nullptr);
  if (!decoder) return 0;
  std::vector<std::int16_t> buffer(4096 * static_cast<std::size_t>(decoder->channels()));
  decoder->read(buffer.data(), 4096);
  if (decoder->lengthFrames() > 0) decoder->seek(decoder->lengthFrames() / 3);
  // Bounded: a fuzzed header may claim hours of audio.
  for (int i = 0; i < 2000 && decoder->read(buffer.data(), 4096) > 0; ++i) {
  }
  return 0;
}
