#pragma once
// The start routine: settings, the current terrain with its starting values,
// the command-line file, the splash, then the main window.

#include <QString>

#include <functional>
#include <memory>

class frmTer;

namespace KVTools2 {

struct StartOptions {
    // The text after the program name, taken whole as one file name.
    QString commandLine;
    bool showSplash = true;
    // Runs once the main window exists, before its own start (installs the
    // user-interface sinks that point at it).
    std::function<void(frmTer&)> beforeWindowLoad;
};

// Runs the start. Returns the shown main window, or nullptr when the window
// had to unload itself at start (no perlin sets), which ends the program.
std::unique_ptr<frmTer> Main(const StartOptions& options);

// Releases the terrains Main created (at program end).
void releaseTerrains();

} // namespace KVTools2
