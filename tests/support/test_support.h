// Shared test fixtures: a recording Prompt, a throw-away data home, and a
// way to create a task through the engine.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <deque>
#include <string>
#include <vector>

namespace gzgl::test {

struct Message {
    std::string text;
    std::string title;
    Icon icon;
    bool question;
};

// Records every message; questions take the queued answers (No when none).
struct RecordingPrompt : Prompt {
    std::vector<Message> messages;
    std::deque<bool> answers;

    void message(const std::string& text, const std::string& title, Icon icon) override {
        messages.push_back({text, title, icon, false});
    }
    bool askYesNo(const std::string& text, const std::string& title, Icon icon) override {
        messages.push_back({text, title, icon, true});
        if (answers.empty())
            return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string last() const { return messages.empty() ? std::string() : messages.back().text; }
    void clear() { messages.clear(); }
};

// A fresh, empty data home that is removed afterwards.
struct TempHome {
    std::string path;
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    std::string money() const { return path + "/KSMoney"; }
};

// Sets up s on home and opens (creating on first use) its system database.
void openHome(Session& s, const std::string& home);

// Creates a task through the engine (period 200602 unless given, code
// length 4) and closes it again, leaving no task open. Returns its id.
std::string makeTask(Session& s, const std::string& name, const std::string& op, const std::string& pw,
                     const std::string& year = "2006", const std::string& month = "2");

// An Excel workbook as openpyxl reads it: "sheet:" and the active sheet's
// title, then each cell as "row,col:type:value" on its own line (empty
// cells as None).
std::string dumpWorkbook(const std::string& path);

} // namespace gzgl::test
