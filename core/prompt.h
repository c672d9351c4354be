// Prompt: the one way the engine talks to the user. The desktop program
// shows message boxes, the command line prints, tests record.
#pragma once

#include <string>

namespace gzgl {

enum class Icon { None, Information, Exclamation, Critical, Question };

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;
    virtual bool askYesNo(const std::string& text, const std::string& title, Icon icon) = 0;
};

// What a screen's rule answers: success, or a message for the user and the
// field that should get the focus.
struct Outcome {
    bool ok = true;
    std::string message;
    std::string title;
    Icon icon = Icon::None;
    std::string focus;

    static Outcome success() { return {}; }
    static Outcome refuse(std::string msg, std::string title, Icon icon, std::string focus = {}) {
        return {false, std::move(msg), std::move(title), icon, std::move(focus)};
    }
    // Shows the message, when there is one, through p.
    void show(Prompt& p) const {
        if (!message.empty())
            p.message(message, title, icon);
    }
};

} // namespace gzgl
