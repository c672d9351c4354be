// Progress: how long work tells the main window what it is doing. The
// desktop program drives its status label, progress bar and mouse pointer;
// the command line and tests pass the silent one.
#pragma once

#include <string>

namespace gzgl {

class Progress {
public:
    virtual ~Progress() = default;
    // Shows status, sets the bar's maximum and the hourglass pointer.
    virtual void begin(const std::string& status, int maximum) = 0;
    virtual void step() = 0;
    // Resets the bar, restores the pointer and clears the status.
    virtual void end() = 0;
};

class SilentProgress : public Progress {
public:
    void begin(const std::string&, int) override {}
    void step() override {}
    void end() override {}
};

} // namespace gzgl
