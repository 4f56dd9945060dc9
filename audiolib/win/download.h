// An HTTP or HTTPS download on a thread of its own (WinINet), appending to a
// DownloadBuffer as the bytes arrive.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "byte_source.h"
#include "zelvo_audio_api.h"

namespace zelvo::audiolib {

class Download {
 public:
  Download(std::wstring url, DWORD offset, std::shared_ptr<DownloadBuffer> buffer, DOWNLOADPROC* proc, void* user);
  ~Download();
  Download(const Download&) = delete;
  Download& operator=(const Download&) = delete;
  // Any thread: aborts the transfer (a blocked WinINet call returns).
  void cancel();
  void join();

 private:
  void run();
  void closeHandles();

  std::wstring url_;
  DWORD offset_;
  std::shared_ptr<DownloadBuffer> buffer_;
  DOWNLOADPROC* proc_;
  void* user_;
  std::mutex handleMutex_;
  HINTERNET session_ = nullptr;
  HINTERNET request_ = nullptr;
  bool cancelled_ = false;
  std::thread thread_;
};

}  // namespace zelvo::audiolib
