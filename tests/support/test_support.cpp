#include "support/test_support.h"

#include "core/login.h"
#include "core/paths.h"
#include "core/startup.h"
#include "core/tasks.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace fs = std::filesystem;

namespace gzgl::test {

TempHome::TempHome() {
    std::string templ = (fs::temp_directory_path() / "gzgl-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    path = templ;
}

TempHome::~TempHome() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

void openHome(Session& s, const std::string& home) {
    initSession(s, home);
    layoutDataHome(home);
    RecordingPrompt p;
    if (!openSystemDatabase(s, p))
        throw std::runtime_error("cannot open the system database: " + p.last());
}

std::string makeTask(Session& s, const std::string& name, const std::string& op, const std::string& pw,
                     const std::string& year, const std::string& month) {
    NewTaskFields f;
    f.name = name;
    f.operatorName = op;
    f.password1 = f.password2 = pw;
    f.year = year;
    f.month = month;
    f.codeLength = "4";
    const AddTaskResult r = addTask(s, f);
    if (!r.outcome.ok)
        throw std::runtime_error("task creation refused: " + r.outcome.message);
    closeTask(s);
    return r.taskID;
}

std::string dumpWorkbook(const std::string& path) {
    const char* script = "import sys, openpyxl\n"
                         "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                         "print('sheet:' + ws.title)\n"
                         "for row in ws.iter_rows():\n"
                         "    for c in row:\n"
                         "        print('%d,%d:%s:%s' % (c.row, c.column, type(c.value).__name__, c.value))\n";
    const std::string cmd = std::string("/usr/bin/python3 -c \"") + script + "\" '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 512> buf{};
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

} // namespace gzgl::test
