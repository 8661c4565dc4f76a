#include "app/DisplayCheck.h"

namespace halvaro::app {

namespace {

bool Named(const char* value)
{
    return value != nullptr && value[0] != '\0';
}

} // namespace

bool DisplayNamed(const char* display, const char* waylandDisplay, const char* qtPlatform)
{
    return Named(display) || Named(waylandDisplay) || Named(qtPlatform);
}

} // namespace halvaro::app
