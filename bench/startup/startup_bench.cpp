// Time from process start to the main window's first idle moment, for
// Zelvo.exe and for an empty Win32 program under the same Wine, each started
// in a fresh empty folder. Prints the medians and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "program_driver.h"
#include "temp_dir.h"

using namespace zelvo;

namespace {

double medianLaunchMs(const std::filesystem::path& exe, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    test::TempDir dir;
    const auto copy = dir / exe.filename().string();
    std::filesystem::copy_file(exe, copy);
    test::ProgramDriver program;
    const auto elapsed = program.launch(copy, dir.path());
    HWND window = program.waitForWindow(L"Zelvo_MainWindow");
    if (!elapsed || !window) {
      std::fprintf(stderr, "%ls did not start\n", exe.c_str());
      return -1;
    }
    times.push_back(elapsed->count() / 1000.0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    program.waitForExit();
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const auto bench = test::buildPath("ZELVO_BINARY_DIR", "bench");
  const auto dist = test::buildPath("ZELVO_BINARY_DIR", "dist");
  medianLaunchMs(bench / "bench_empty_window.exe", 1);  // warm the file cache and the wineserver
  const double empty = medianLaunchMs(bench / "bench_empty_window.exe", runs);
  const double zelvo = medianLaunchMs(dist / "Zelvo.exe", runs);
  std::printf("startup (process start to first idle, median of %d)\n", runs);
  std::printf("  empty Win32 program: %8.1f ms\n", empty);
  std::printf("  Zelvo.exe:           %8.1f ms   ratio %.2f\n", zelvo, empty > 0 ? zelvo / empty : 0.0);
  return empty > 0 && zelvo > 0 ? 0 : 1;
}
