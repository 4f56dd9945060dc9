#include "platform/module_path.h"

#include <windows.h>

#include <string>

namespace zelvo::platform {

std::filesystem::path executableDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(buffer.size() * 2);  // long paths
  }
  return std::filesystem::path(buffer).parent_path();
}

}  // namespace zelvo::platform
