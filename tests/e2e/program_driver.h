// Starts a Windows program as a person would and watches what it does:
// its windows, its files, its exit. Used by the end-to-end scenarios and the
// start-up benchmark.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace zelvo::test {

// Paths handed over from the Linux side ("/work/...") as Wine sees them.
std::filesystem::path hostPath(const std::string& unixOrWindowsPath);
// A folder of the build tree named by an environment variable of CTest.
std::filesystem::path buildPath(const char* variable, const std::string& relative);

class ProgramDriver {
 public:
  ProgramDriver() = default;
  ~ProgramDriver();  // ends the program if it still runs
  ProgramDriver(const ProgramDriver&) = delete;
  ProgramDriver& operator=(const ProgramDriver&) = delete;

  // Starts the program in `workDir` and waits until its UI thread is first
  // idle; returns the time that took, or nothing when it did not start.
  std::optional<std::chrono::microseconds> launch(const std::filesystem::path& exe,
                                                  const std::filesystem::path& workDir,
                                                  std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // The first visible top-level window of the program with this class.
  HWND waitForWindow(const wchar_t* windowClass, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Exit code once the program has ended within the timeout.
  std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  bool running() const;
  DWORD processId() const { return processId_; }

 private:
  platform::ScopedHandle process_;
  DWORD processId_ = 0;
};

std::wstring windowText(HWND hwnd);
std::wstring windowClassName(HWND hwnd);

}  // namespace zelvo::test
