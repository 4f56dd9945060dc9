// Where the running program lives: its files sit beside the executable.
#pragma once

#include <filesystem>

namespace zelvo::platform {

std::filesystem::path executableDirectory();

}  // namespace zelvo::platform
