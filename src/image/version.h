// The program's version, as the window's version box and velk-cli show it.
#pragma once

namespace velk {

inline constexpr const char* kVersionText = "VELK Version 1.14";

}  // namespace velk
