#include "download.h"

#include <string>
#include <utility>
#include <vector>

namespace zelvo::audiolib {

namespace {
constexpr DWORD kConnectTimeoutMs = 5000;
constexpr DWORD kReceiveTimeoutMs = 10000;
}  // namespace

Download::Download(std::wstring url, DWORD offset, std::shared_ptr<DownloadBuffer> buffer, DOWNLOADPROC* proc,
                   void* user)
    : url_(std::move(url)), offset_(offset), buffer_(std::move(buffer)), proc_(proc), user_(user) {
  thread_ = std::thread([this] { run(); });
}

Download::~Download() {
  cancel();
  join();
}

void Download::cancel() {
  std::lock_guard lock(handleMutex_);
  cancelled_ = true;
  // Closing the handles makes a WinINet call blocked in the thread return.
  if (request_) InternetCloseHandle(std::exchange(request_, nullptr));
  if (session_) InternetCloseHandle(std::exchange(session_, nullptr));
}

void Download::join() {
  if (thread_.joinable()) thread_.join();
}

void Download::closeHandles() {
  std::lock_guard lock(handleMutex_);
  if (request_) InternetCloseHandle(std::exchange(request_, nullptr));
  if (session_) InternetCloseHandle(std::exchange(session_, nullptr));
}

void Download::run() {
  HINTERNET session = InternetOpenW(L"Zelvo", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  {
    std::lock_guard lock(handleMutex_);
    if (cancelled_ || !session) {
      if (session) InternetCloseHandle(session);
      buffer_->finish(false);
      return;
    }
    session_ = session;
  }
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
    DWORD value = kConnectTimeoutMs;
    InternetSetOptionW(session, option, &value, sizeof value);
  }
  DWORD receive = kReceiveTimeoutMs;
  InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);

  std::wstring headers;
  if (offset_ > 0) headers = L"Range: bytes=" + std::to_wstring(offset_) + L"-\r\n";
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
  HINTERNET request = InternetOpenUrlW(session, url_.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                       headers.empty() ? 0 : static_cast<DWORD>(-1), flags, 0);
  {
    std::lock_guard lock(handleMutex_);
    if (cancelled_ || !request) {
      if (request && !cancelled_) InternetCloseHandle(request);
      buffer_->finish(false);
      if (!cancelled_) {
        InternetCloseHandle(std::exchange(session_, nullptr));
      }
      return;
    }
    request_ = request;
  }

  DWORD status = 0, size = sizeof status;
  if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
      status >= 400) {
    buffer_->finish(false);
    closeHandles();
    return;
  }
  wchar_t lengthText[32] = {};
  DWORD lengthSize = sizeof lengthText;
  if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &lengthSize, nullptr))
    buffer_->setTotal(std::wcstoll(lengthText, nullptr, 10));

  std::vector<std::uint8_t> chunk(16 * 1024);
  bool ok = true;
  while (!buffer_->isCancelled()) {
    DWORD got = 0;
    if (!InternetReadFile(request, chunk.data(), static_cast<DWORD>(chunk.size()), &got)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    buffer_->append(chunk.data(), got);
    if (proc_) proc_(chunk.data(), got, user_);
  }
  const std::int64_t announced = buffer_->total();
  if (announced >= 0 && buffer_->downloaded() < announced) ok = false;  // closed early
  if (proc_) proc_(nullptr, 0, user_);
  buffer_->finish(ok && !buffer_->isCancelled());
  closeHandles();
}

}  // namespace zelvo::audiolib
