#include "platform/files.h"

#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelvo::files {

std::filesystem::path fromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string toUtf8(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

std::optional<std::string> readAll(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(size));
  in.seekg(0, std::ios::beg);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!in && !bytes.empty()) return std::nullopt;
  return bytes;
}

namespace {

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  // A read-only target is the user's word that it must not change. Windows
  // refuses to move over it; Wine running as root would not, so ask first.
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
#endif
}

}  // namespace

bool replaceAll(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".zelvo-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  if (moveOver(temporary, path)) return true;
  std::error_code ec;
  std::filesystem::remove(temporary, ec);
  return false;
}

}  // namespace zelvo::files
