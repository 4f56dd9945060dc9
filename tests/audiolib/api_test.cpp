// bass.dll through its published functions: every format, positions,
// conversions, samples against ffmpeg's decode, plug-ins and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audiolib/bass_session.h"

namespace zelvo::test {
namespace {

class Formats : public ::testing::TestWithParam<AudioFixture> {
 protected:
  void SetUp() override { ASSERT_TRUE(startAudioLibrary()) << BASS_ErrorGetCode(); }
};

TEST_P(Formats, OpensSeeksAndDecodesLikeFfmpeg) {
  const AudioFixture& f = GetParam();
  const HSTREAM stream = BASS_StreamCreateFile(FALSE, fixturePath(f.file).c_str(), 0, 0, BASS_STREAM_DECODE);
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  const std::vector<std::int16_t> reference = referenceSamples(f.file);
  const QWORD frameBytes = 2 * f.channels;
  const QWORD trueLength = reference.size() * 2;
  const QWORD length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
  EXPECT_LE(std::llabs(static_cast<long long>(length) - static_cast<long long>(trueLength)),
            static_cast<long long>(f.frameSize * frameBytes));
  float rate = 0;
  ASSERT_TRUE(BASS_ChannelGetAttribute(stream, BASS_ATTRIB_FREQ, &rate));
  EXPECT_EQ(rate, f.rate);

  // Bytes and seconds convert both ways on whole frames.
  for (const QWORD bytes : {QWORD{0}, frameBytes * 12345, length / frameBytes / 3 * frameBytes, length}) {
    const double seconds = BASS_ChannelBytes2Seconds(stream, bytes);
    EXPECT_DOUBLE_EQ(seconds, static_cast<double>(bytes / frameBytes) / f.rate);
    EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, seconds), bytes);
  }
  EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 1.0), static_cast<QWORD>(f.rate) * frameBytes);

  for (const QWORD target : {length / 2 / frameBytes * frameBytes + 17 * frameBytes, frameBytes * 3, QWORD{0}}) {
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, target, BASS_POS_BYTE));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), target);
  }
  EXPECT_FALSE(BASS_ChannelSetPosition(stream, length + frameBytes, BASS_POS_BYTE));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_POSITION);
  EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);

  std::vector<std::int16_t> samples;
  std::vector<std::int16_t> chunk(8192);
  while (true) {
    const DWORD got = BASS_ChannelGetData(stream, chunk.data(), static_cast<DWORD>(chunk.size() * 2));
    if (got == static_cast<DWORD>(-1)) break;
    samples.insert(samples.end(), chunk.begin(), chunk.begin() + got / 2);
  }
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ENDED);
  ASSERT_EQ(samples.size(), reference.size());
  // The Windows FFmpeg is built without SIMD: float decoders may round a
  // sample the other way. Integer decoders match exactly.
  int worst = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) worst = std::max(worst, std::abs(samples[i] - reference[i]));
  EXPECT_LE(worst, f.lossless ? 0 : 2);
  EXPECT_TRUE(BASS_StreamFree(stream));
}

INSTANTIATE_TEST_SUITE_P(Every, Formats, ::testing::ValuesIn(audioFixtures()), [](const auto& info) {
  std::string name = info.param.file;
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
});

class Library : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(startAudioLibrary()); }
};

TEST_F(Library, SecondInitIsRefused) {
  EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

TEST_F(Library, PluginLoadChecksWhatItLoads) {
  EXPECT_EQ(BASS_PluginLoad((pluginsDirectory() / "bassflac.dll").string().c_str(), 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
  EXPECT_EQ(BASS_PluginLoad((pluginsDirectory() / "missing.dll").string().c_str(), 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
  EXPECT_EQ(BASS_PluginLoad("C:\\windows\\system32\\version.dll", 0), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
}

TEST_F(Library, BadInputFailsWithAReason) {
  const std::string mp3 = fileBytes(fixtureDirectory() / "tone-cbr.mp3");
  std::string noise(20000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
  const std::string html = "<html><head><title>Not found</title></head><body>no</body></html>";
  struct Case {
    const char* name;
    std::function<HSTREAM()> create;
    int error;
  };
  const std::vector<Case> cases = {
      {"missing file", [] { return BASS_StreamCreateFile(FALSE, fixturePath("nothing.mp3").c_str(), 0, 0, 0); },
       BASS_ERROR_FILEOPEN},
      {"null path", [] { return BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0); }, BASS_ERROR_FILEOPEN},
      {"folder", [] { return BASS_StreamCreateFile(FALSE, fixtureDirectory().string().c_str(), 0, 0, 0); },
       BASS_ERROR_FILEOPEN},
      {"empty memory", [&] { return BASS_StreamCreateFile(TRUE, mp3.data(), 0, 0, 0); }, BASS_ERROR_FILEFORM},
      {"offset past the block", [&] { return BASS_StreamCreateFile(TRUE, mp3.data(), 900000, mp3.size(), 0); },
       BASS_ERROR_FILEFORM},
      {"noise", [&] { return BASS_StreamCreateFile(TRUE, noise.data(), 0, noise.size(), 0); }, BASS_ERROR_FILEFORM},
      {"html", [&] { return BASS_StreamCreateFile(TRUE, html.data(), 0, html.size(), 0); }, BASS_ERROR_FILEFORM},
      {"offset past the file", [] { return BASS_StreamCreateFile(FALSE, fixturePath("tone.wav").c_str(), 1 << 30, 0, 0); },
       BASS_ERROR_FILEFORM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.create(), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), c.error);
  }
  // Still usable afterwards.
  const HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, mp3.size(), 0);
  EXPECT_NE(stream, 0u);
  BASS_StreamFree(stream);
}

TEST_F(Library, MemoryStreamKeepsItsOwnCopy) {
  std::string bytes = fileBytes(fixtureDirectory() / "tone.flac");
  const HSTREAM stream = BASS_StreamCreateFile(TRUE, bytes.data(), 0, bytes.size(), BASS_STREAM_DECODE);
  ASSERT_NE(stream, 0u);
  std::fill(bytes.begin(), bytes.end(), '\0');
  std::vector<std::int16_t> chunk(4096);
  std::size_t total = 0;
  for (DWORD got; (got = BASS_ChannelGetData(stream, chunk.data(), 8192)) != static_cast<DWORD>(-1);) total += got;
  EXPECT_EQ(total, referenceSamples("tone.flac").size() * 2);
  BASS_StreamFree(stream);
}

TEST_F(Library, FileOffsetSkipsALeadingBlock) {
  const std::string mp3 = fileBytes(fixtureDirectory() / "tone-cbr.mp3");
  const std::string junk(5000, 'x');
  const std::string path = (std::filesystem::temp_directory_path() / "zelvo-offset-test.mp3").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << junk << mp3;
  }
  const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), junk.size(), 0, BASS_STREAM_DECODE);
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END), mp3.size());
  BASS_StreamFree(stream);
  std::filesystem::remove(path);
}

TEST_F(Library, TagsOfTheStream) {
  std::string bytes = fileBytes(fixtureDirectory() / "tone-cbr.mp3");
  std::string tag(128, '\0');
  tag.replace(0, 8, "TAGTitle");
  bytes += tag;
  const HSTREAM stream = BASS_StreamCreateFile(TRUE, bytes.data(), 0, bytes.size(), 0);
  ASSERT_NE(stream, 0u);
  const char* id3 = BASS_ChannelGetTags(stream, BASS_TAG_ID3);
  ASSERT_NE(id3, nullptr);
  EXPECT_EQ(std::string(id3, 128), tag);
  BASS_StreamFree(stream);
  const HSTREAM plain = BASS_StreamCreateFile(FALSE, fixturePath("tone.wav").c_str(), 0, 0, 0);
  EXPECT_EQ(BASS_ChannelGetTags(plain, BASS_TAG_ID3), nullptr);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
  BASS_StreamFree(plain);
}

TEST_F(Library, LocalFileReportsNoBuffer) {
  const HSTREAM stream = BASS_StreamCreateFile(FALSE, fixturePath("tone.wav").c_str(), 0, 0, 0);
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER), static_cast<QWORD>(-1));
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END), fileBytes(fixtureDirectory() / "tone.wav").size());
  BASS_StreamFree(stream);
}

TEST_F(Library, StaleHandlesFailWithHandleError) {
  const HSTREAM stream = BASS_StreamCreateFile(FALSE, fixturePath("tone.wav").c_str(), 0, 0, 0);
  ASSERT_TRUE(BASS_StreamFree(stream));
  float value = 0;
  const std::vector<std::function<bool()>> calls = {
      [&] { return BASS_ChannelPlay(stream, TRUE) != 0; },
      [&] { return BASS_ChannelPause(stream) != 0; },
      [&] { return BASS_ChannelStop(stream) != 0; },
      [&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) != static_cast<QWORD>(-1); },
      [&] { return BASS_ChannelSetPosition(stream, 0, BASS_POS_BYTE) != 0; },
      [&] { return BASS_ChannelGetLength(stream, BASS_POS_BYTE) != static_cast<QWORD>(-1); },
      [&] { return BASS_ChannelBytes2Seconds(stream, 0) >= 0; },
      [&] { return BASS_ChannelSetAttribute(stream, BASS_ATTRIB_VOL, 1) != 0; },
      [&] { return BASS_ChannelGetAttribute(stream, BASS_ATTRIB_FREQ, &value) != 0; },
      [&] { return BASS_StreamFree(stream) != 0; },
      [&] { return BASS_ChannelIsActive(stream) != BASS_ACTIVE_STOPPED; },
  };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(calls[i]());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
  }
}

}  // namespace
}  // namespace zelvo::test
