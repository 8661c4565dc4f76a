#pragma once

#include <thread>

namespace halvaro::app {

// Fontconfig reads and parses its XML configuration the first time any text
// is measured: about a third of the work before the window's first frame.
// None of it depends on Qt, so it can run on another core while QApplication
// connects to the display and loads its plugins.
class FontConfigWarmup {
public:
    // Starts loading the configuration; if no thread can be made, Qt simply
    // loads it itself when first needed.
    FontConfigWarmup();
    ~FontConfigWarmup();
    FontConfigWarmup(const FontConfigWarmup&) = delete;
    FontConfigWarmup& operator=(const FontConfigWarmup&) = delete;

    // Waits for the configuration. Call before the first text is laid out,
    // so that Qt does not start a second, competing load.
    void Join();

private:
    std::thread loader;
};

} // namespace halvaro::app
