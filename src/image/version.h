// The program's version, as the window's version box and velk-cli show it.
#pragma once

namespace velk {

inline constexpr const char* kVersionText = "VELK Version 1.14";
// What --version prints below the version.
inline constexpr const char* kLicenceText =
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";

}  // namespace velk
