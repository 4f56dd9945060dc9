#include "program_driver.h"

#include <cstdlib>
#include <thread>

namespace zelvo::test {

std::filesystem::path hostPath(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  if (!wide.empty() && wide.front() == L'/') {
    for (wchar_t& c : wide)
      if (c == L'/') c = L'\\';
    wide = L"Z:" + wide;
  }
  return std::filesystem::path(wide);
}

std::filesystem::path buildPath(const char* variable, const std::string& relative) {
  const char* value = std::getenv(variable);
  return hostPath(value ? value : ".") / relative;
}

ProgramDriver::~ProgramDriver() {
  if (running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::optional<std::chrono::microseconds> ProgramDriver::launch(const std::filesystem::path& exe,
                                                               const std::filesystem::path& workDir,
                                                               std::chrono::milliseconds timeout) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  const auto started = std::chrono::steady_clock::now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(),
                      &startup, &info))
    return std::nullopt;
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  if (WaitForInputIdle(process_.get(), static_cast<DWORD>(timeout.count())) != 0) return std::nullopt;
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
}

namespace {
struct WindowSearch {
  DWORD processId;
  const wchar_t* windowClass;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && IsWindowVisible(hwnd) && windowClassName(hwnd) == search->windowClass) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND ProgramDriver::waitForWindow(const wchar_t* windowClass, std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    WindowSearch search{processId_, windowClass, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

std::optional<DWORD> ProgramDriver::waitForExit(std::chrono::milliseconds timeout) const {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool ProgramDriver::running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::wstring windowText(HWND hwnd) {
  std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring windowClassName(HWND hwnd) {
  wchar_t name[256];
  const int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

}  // namespace zelvo::test
