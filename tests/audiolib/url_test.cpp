// Network streams from a small HTTP server on 127.0.0.1 inside the test.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>

#include "audiolib/bass_session.h"

namespace zelvo::test {
namespace {

using namespace std::chrono_literals;

enum class Serve { audio, html, closeEarly, silent, notFound };

// Answers one connection the way `mode` says, then closes. Every wait is
// bounded; the destructor stops the server.
class TestServer {
 public:
  TestServer(Serve mode, std::string body) : mode_(mode), body_(std::move(body)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { run(); });
  }
  ~TestServer() {
    stop_ = true;
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/clip.mp3"; }

 private:
  void run() {
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    char request[4096];
    recv(client, request, sizeof request, 0);
    const bool html = mode_ == Serve::html;
    std::string head = mode_ == Serve::notFound ? "HTTP/1.1 404 Not Found\r\n" : "HTTP/1.1 200 OK\r\n";
    head += html ? "Content-Type: text/html\r\n" : "Content-Type: audio/mpeg\r\n";
    head += "Content-Length: " + std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n";
    if (mode_ == Serve::silent) {
      for (int i = 0; i < 300 && !stop_; ++i) std::this_thread::sleep_for(50ms);
    } else {
      send(client, head.data(), static_cast<int>(head.size()), 0);
      const std::size_t end = mode_ == Serve::closeEarly ? body_.size() / 3 : body_.size();
      // Slow enough that the buffered count is seen growing.
      for (std::size_t at = 0; at < end && !stop_; at += 8192) {
        send(client, body_.data() + at, static_cast<int>(std::min<std::size_t>(8192, end - at)), 0);
        std::this_thread::sleep_for(15ms);
      }
    }
    shutdown(client, SD_BOTH);
    closesocket(client);
  }

  Serve mode_;
  std::string body_;
  SOCKET listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class UrlStreams : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(startAudioLibrary()); }
  void TearDown() override {
    // Whatever happened, the library still opens a file.
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, fixturePath("tone.wav").c_str(), 0, 0, 0);
    EXPECT_NE(stream, 0u);
    BASS_StreamFree(stream);
  }
  const std::string mp3 = fileBytes(fixtureDirectory() / "long.mp3");
};

TEST_F(UrlStreams, PlaysWhileTheBufferGrowsToTheTotal) {
  TestServer server(Serve::audio, mp3);
  const HSTREAM stream = BASS_StreamCreateURL(server.url().c_str(), 0, 0, nullptr, nullptr);
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
  const QWORD first = BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER);
  EXPECT_LT(first, mp3.size());
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END), mp3.size());
  EXPECT_TRUE(waitFor([&] { return BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER) == mp3.size(); }, 20s));
  EXPECT_TRUE(waitFor([&] { return BASS_ChannelGetPosition(stream, BASS_POS_BYTE) > 44100 * 4; }, 5s));
  EXPECT_NE(BASS_ChannelIsActive(stream), static_cast<DWORD>(BASS_ACTIVE_STOPPED));
  BASS_StreamFree(stream);
}

TEST_F(UrlStreams, ServerClosingEarlyEndsTheStream) {
  TestServer server(Serve::closeEarly, mp3);
  const HSTREAM stream = BASS_StreamCreateURL(server.url().c_str(), 0, 0, nullptr, nullptr);
  if (stream == 0) return;  // refusing it is as clean as ending it
  ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
  EXPECT_TRUE(waitFor([&] { return BASS_ChannelIsActive(stream) == BASS_ACTIVE_STOPPED; }, 20s));
  EXPECT_LT(BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, BASS_POS_BYTE)), 6.0);
  BASS_StreamFree(stream);
}

TEST_F(UrlStreams, BadAnswersGiveNoStream) {
  struct Case {
    const char* name;
    Serve mode;
    std::string body;
  };
  const std::vector<Case> cases = {
      {"html page", Serve::html, "<html><body>" + std::string(5000, 'x') + "</body></html>"},
      {"not found", Serve::notFound, "<html>404</html>"},
      {"never answers", Serve::silent, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestServer server(c.mode, c.body);
    EXPECT_EQ(BASS_StreamCreateURL(server.url().c_str(), 0, 0, nullptr, nullptr), 0u);
    EXPECT_NE(BASS_ErrorGetCode(), BASS_OK);
  }
  // Nobody listening on the port; not an address at all.
  EXPECT_EQ(BASS_StreamCreateURL("http://127.0.0.1:1/clip.mp3", 0, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(BASS_StreamCreateURL("not an address", 0, 0, nullptr, nullptr), 0u);
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
}

}  // namespace
}  // namespace zelvo::test
