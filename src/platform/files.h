// Whole-file reading and writing for the program's own files and documents.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zelvo::files {

// A path from UTF-8 text; on Windows this keeps characters outside the
// system code page intact.
std::filesystem::path fromUtf8(std::string_view utf8);
std::string toUtf8(const std::filesystem::path& path);

// On Windows, the "\\?\" form of an absolute path that is too long for the
// ordinary file functions (260 characters); any other path unchanged.
std::filesystem::path longPathForm(const std::filesystem::path& path);

// The whole file, or nothing when it does not exist or cannot be read.
std::optional<std::string> readAll(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path` and only then puts it in
// place of `path`, so a failed or interrupted write leaves the previous file
// as it was. Returns false when anything failed.
bool replaceAll(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zelvo::files
