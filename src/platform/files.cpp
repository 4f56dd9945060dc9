#include "platform/files.h"

#include <algorithm>
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

std::filesystem::path longPathForm(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& text = path.native();
  if (text.size() < MAX_PATH - 12 || text.starts_with(L"\\\\?\\")) return path;
  if (text.size() > 2 && text[1] == L':' && (text[2] == L'\\' || text[2] == L'/'))
    return std::filesystem::path(L"\\\\?\\" + std::filesystem::path(text).make_preferred().native());
  if (text.starts_with(L"\\\\")) return std::filesystem::path(L"\\\\?\\UNC\\" + text.substr(2));
#endif
  return path;
}

#ifdef _WIN32

namespace {

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = FlushFileBuffers(file) && ok;
  return CloseHandle(file) && ok;
}

// A read-only target is the user's word that it must not change. Windows
// refuses to move over it; Wine running as root would not, so ask first.
bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeQuietly(const std::filesystem::path& path) { DeleteFileW(path.c_str()); }

}  // namespace

std::optional<std::string> readAll(const std::filesystem::path& given) {
  const std::filesystem::path path = longPathForm(given);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && GetFileType(file) == FILE_TYPE_DISK) {
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 24));
      DWORD got = 0;
      ok = ReadFile(file, data.data() + done, chunk, &got, nullptr) && got > 0;
      done += got;
    }
    if (ok) bytes = std::move(data);
  }
  CloseHandle(file);
  return bytes;
}

#else

namespace {

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

}  // namespace

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

#endif

bool replaceAll(const std::filesystem::path& given, std::string_view bytes) {
  const std::filesystem::path path = longPathForm(given);
  std::filesystem::path temporary = path;
  temporary += ".zelvo-tmp";
  if (!writeWholeFile(temporary, bytes)) {
    removeQuietly(temporary);
    return false;
  }
  if (moveOver(temporary, path)) return true;
  removeQuietly(temporary);
  return false;
}

}  // namespace zelvo::files
