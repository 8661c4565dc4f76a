#pragma once

namespace halvaro::app {

inline constexpr char NoDisplayMessage[] =
    "halvaro: no display found; the window needs a graphical session "
    "(for a reading without a window use halvaro-cli)";

// True when an X display, a Wayland display or an explicit Qt platform is
// named; each argument is the environment value or null.
bool DisplayNamed(const char* display, const char* waylandDisplay, const char* qtPlatform);

} // namespace halvaro::app
