// The command line's Prompt: messages are printed, questions are answered
// "是" when --yes was given and "否" otherwise.
#pragma once

#include "core/prompt.h"

#include <iostream>

namespace gzgl::cli {

class CliPrompt : public Prompt {
public:
    explicit CliPrompt(bool yes) : yes_(yes) {}
    void message(const std::string& text, const std::string&, Icon) override { std::cout << text << "\n"; }
    bool askYesNo(const std::string& text, const std::string&, Icon) override {
        std::cout << text << " " << (yes_ ? "是" : "否") << "\n";
        return yes_;
    }

private:
    bool yes_;
};

} // namespace gzgl::cli
