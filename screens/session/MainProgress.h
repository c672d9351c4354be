// The engine's progress shown in the main window: status label, progress
// bar and the hourglass pointer.
#pragma once

#include "core/progress.h"

class frmMain;

class MainProgress : public gzgl::Progress {
public:
    explicit MainProgress(frmMain* main) : main_(main) {}
    ~MainProgress() override;
    void begin(const std::string& status, int maximum) override;
    void step() override;
    void end() override;

private:
    frmMain* main_;
    int value_ = 0;
    int maximum_ = 0;
    bool busy_ = false;
    std::string status_;
};
