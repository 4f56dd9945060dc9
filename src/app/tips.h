#pragma once

#include <array>
#include <string>

namespace zelvo {

inline constexpr int kTipCount = 17;
using Tips = std::array<std::string, kTipCount>;

// The texts the message line shows in turn, tip 1 first.
Tips defaultTips();

}  // namespace zelvo
