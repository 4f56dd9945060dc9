// Decoding from a download that is still arriving.
#include <gtest/gtest.h>

#include <thread>

#include "audiolib/fixtures.h"
#include "decoder.h"

namespace zelvo::audiolib {
namespace {

using namespace std::chrono_literals;

// Feeds bytes in chunks from a thread; stops after `until` bytes, ending the
// download as `ok`.
std::jthread feed(std::shared_ptr<DownloadBuffer> buffer, std::string bytes, std::size_t until, bool ok,
                  bool announceLength) {
  return std::jthread([=] {
    if (announceLength) buffer->setTotal(static_cast<std::int64_t>(bytes.size()));
    for (std::size_t at = 0; at < until; at += 4096) {
      const std::size_t n = std::min<std::size_t>(4096, until - at);
      buffer->append(reinterpret_cast<const std::uint8_t*>(bytes.data() + at), static_cast<std::int64_t>(n));
      std::this_thread::sleep_for(1ms);
    }
    buffer->finish(ok);
  });
}

std::int64_t decodeAll(Decoder& decoder) {
  std::vector<std::int16_t> chunk(4096 * decoder.channels());
  std::int64_t frames = 0;
  while (const std::int64_t n = decoder.read(chunk.data(), 4096)) frames += n;
  return frames;
}

TEST(DownloadDecoding, DecodesWhileBytesArrive) {
  const std::string mp3 = test::fileBytes(test::fixtureDirectory() / "tone-cbr.mp3");
  auto buffer = std::make_shared<DownloadBuffer>();
  auto feeder = feed(buffer, mp3, mp3.size(), true, true);
  OpenError error = OpenError::none;
  auto decoder = Decoder::open(std::make_unique<DownloadSource>(buffer, 5s), {}, {}, &error);
  ASSERT_TRUE(decoder) << static_cast<int>(error);
  EXPECT_EQ(decodeAll(*decoder), static_cast<std::int64_t>(test::referenceSamples("tone-cbr.mp3").size()) / 2);
  EXPECT_EQ(buffer->downloaded(), static_cast<std::int64_t>(mp3.size()));
  EXPECT_EQ(buffer->total(), buffer->downloaded());
}

TEST(DownloadDecoding, ServerClosingEarlyEndsTheStream) {
  const std::string mp3 = test::fileBytes(test::fixtureDirectory() / "tone-cbr.mp3");
  auto buffer = std::make_shared<DownloadBuffer>();
  auto feeder = feed(buffer, mp3, mp3.size() / 3, false, true);
  auto decoder = Decoder::open(std::make_unique<DownloadSource>(buffer, 5s), {}, {}, nullptr);
  ASSERT_TRUE(decoder);
  const std::int64_t frames = decodeAll(*decoder);
  EXPECT_GT(frames, 0);
  EXPECT_LT(frames, 44100 * 2);
}

TEST(DownloadDecoding, StalledDownloadEndsAfterItsTimeout) {
  const std::string mp3 = test::fileBytes(test::fixtureDirectory() / "tone-cbr.mp3");
  auto buffer = std::make_shared<DownloadBuffer>();
  buffer->append(reinterpret_cast<const std::uint8_t*>(mp3.data()), 20000);  // and then nothing
  auto decoder = Decoder::open(std::make_unique<DownloadSource>(buffer, 300ms), {}, {}, nullptr);
  ASSERT_TRUE(decoder);
  EXPECT_GT(decodeAll(*decoder), 0);
}

TEST(DownloadDecoding, HtmlPageDoesNotOpen) {
  auto buffer = std::make_shared<DownloadBuffer>();
  auto feeder = feed(buffer, std::string(3000, ' ') + "<html><body>Not here</body></html>", 3034, true, true);
  OpenError error = OpenError::none;
  EXPECT_FALSE(Decoder::open(std::make_unique<DownloadSource>(buffer, 5s), {}, {}, &error));
  EXPECT_EQ(error, OpenError::fileForm);
}

TEST(DownloadDecoding, CancelStopsAWaitingOpen) {
  auto buffer = std::make_shared<DownloadBuffer>();
  std::jthread canceller([&] {
    std::this_thread::sleep_for(100ms);
    buffer->cancel();
  });
  EXPECT_FALSE(Decoder::open(std::make_unique<DownloadSource>(buffer, 60s), {}, {}, nullptr));
}

}  // namespace
}  // namespace zelvo::audiolib
