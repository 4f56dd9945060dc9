// The generated audio fixtures (tests/audiolib/make_fixtures) and the
// format table every audio library test walks.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zelvo::test {

struct AudioFixture {
  const char* file;
  const char* plugin;  // the plug-in that enables it; "" = the core
  int rate;
  int channels;
  bool lossless;
  int frameSize;  // samples per codec frame: the length tolerance
};

// APE and MP1 are claimed too, but nothing here encodes them.
inline const std::vector<AudioFixture>& audioFixtures() {
  static const std::vector<AudioFixture> table = {
      {"tone.wav", "", 44100, 2, true, 1},
      {"speech.wav", "", 22050, 1, true, 1},
      {"tone.aiff", "", 44100, 2, true, 1},
      {"tone.mp2", "", 44100, 2, false, 1152},
      {"tone-cbr.mp3", "", 44100, 2, false, 1152},
      {"tone-vbr.mp3", "", 44100, 2, false, 1152},
      {"tone-vbr-noxing.mp3", "", 44100, 2, false, 1152},
      {"speech.mp3", "", 22050, 1, false, 576},
      {"tone.ogg", "", 44100, 2, false, 2048},
      {"tone.wma", "basswma", 44100, 2, false, 2048},
      {"tone.m4a", "bass_aac", 44100, 2, false, 1024},
      {"tone.aac", "bass_aac", 44100, 2, false, 1024},
      {"tone.ac3", "bass_ac3", 44100, 2, false, 1536},
      {"tone-alac.m4a", "bass_alac", 44100, 2, true, 4096},
      {"tone.flac", "bassflac", 44100, 2, true, 4608},
      {"speech.flac", "bassflac", 22050, 1, true, 4608},
      {"tone.wv", "basswv", 44100, 2, true, 22050},
      {"tone.tta", "bass_tta", 44100, 2, true, 47286},
      {"tone.mpc", "bass_mpc", 44100, 2, false, 1152},
  };
  return table;
}

// A path of the Linux side as the test sees it (under Wine: drive Z:).
inline std::filesystem::path buildTreePath(const std::string& relative) {
  const char* dir = std::getenv("ZELVO_BINARY_DIR");
  std::string path = dir ? dir : ".";
#ifdef _WIN32
  if (!path.empty() && path.front() == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
#endif
  return std::filesystem::path(path) / relative;
}

inline std::filesystem::path fixtureDirectory() { return buildTreePath("audio-fixtures"); }

inline std::vector<std::int16_t> referenceSamples(const std::string& file) {
  std::ifstream in(fixtureDirectory() / (file + ".s16"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return samples;
}

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace zelvo::test
