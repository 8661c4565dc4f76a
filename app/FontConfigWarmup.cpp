#include "app/FontConfigWarmup.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace halvaro::app {

FontConfigWarmup::FontConfigWarmup()
{
    try {
        // Fontconfig publishes its configuration with an atomic swap, so a
        // load here and one from Qt can never leave it half made.
        loader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
}

FontConfigWarmup::~FontConfigWarmup()
{
    Join();
}

void FontConfigWarmup::Join()
{
    if (loader.joinable()) {
        loader.join();
    }
}

} // namespace halvaro::app
