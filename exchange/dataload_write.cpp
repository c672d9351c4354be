// Writing the open task's month as a data-load file (layout: dataload.h).
#include "exchange/dataload.h"
#include "exchange/textfile.h"

#include "calc/recalc.h"
#include "core/schema.h"
#include "core/startup.h"
#include "monthly/workgrid_load.h"
#include "core/text.h"

#include <filesystem>
#include <unordered_map>

namespace gzgl::exchange {

namespace {

struct Refusal {
    std::string message;
};

// A field of a data line must not hold the separator.
void checkField(const std::string& text, const std::string& employee, const std::string& what) {
    if (text.find(',') != std::string::npos)
        throw Refusal{"员工“" + employee + "”的" + what + "“" + text + "”含有逗号，不能写入数据文件。"};
}

// A line in GBK, or a refusal naming what could not be written.
std::string gbkLine(const std::string& line, const std::string& what) {
    std::optional<std::string> bytes = gbkStrict(line);
    if (!bytes)
        throw Refusal{what + "里有GBK字符集以外的字符“" + firstUnencodable(line) + "”，文件没有生成。"};
    return *bytes + "\r\n";
}

} // namespace

std::string proposedDataFileName(const Session& s) {
    // A task name may hold what a file name cannot.
    std::string name = s.curTaskName;
    for (char& c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    return name + s.curPeriod + ".txt";
}

Outcome exportDataFile(Session& s, const std::string& path, Prompt& prompt, Progress& progress) {
    constexpr const char* title = kDataLoadTitle;
    if (trim(path).empty())
        return Outcome::refuse("文件名不能为空！", title, Icon::Exclamation, "txtFile");
    const std::filesystem::path target(path);
    std::error_code ec;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    if (!std::filesystem::is_directory(folder, ec))
        return Outcome::refuse("文件夹“" + folder.string() + "”不存在！", title, Icon::Exclamation, "txtFile");
    if (std::filesystem::is_directory(target, ec))
        return Outcome::refuse("“" + path + "”是一个文件夹！", title, Icon::Exclamation, "txtFile");
    if (std::filesystem::exists(target, ec) &&
        !prompt.askYesNo(path + "文件已存在，是否覆盖？", "询问窗", Icon::Question))
        return Outcome{false, {}, {}, Icon::None, {}};

    const std::string prefix = s.taskPrefix();
    std::string out;
    try {
        const Recordset info =
            s.sysConn.query("Select F_GZMC,F_RYXM,F_DQRQ from GZSysInfo where F_ID=?", {s.curTaskID});
        if (info.empty())
            throw Refusal{"找不到当前工资任务。"};
        // The reader takes the operator and the period from the last two
        // commas of the task line: an operator name holding one would send
        // the file to another task.
        if (trim(info.at(0, "F_RYXM").toString()).find(',') != std::string::npos)
            throw Refusal{"操作人员姓名含有逗号，不能写入数据文件。"};
        out += gbkLine(kDataLoadMark, {});
        out += gbkLine(trim(info.at(0, "F_GZMC").toString()) + "," + trim(info.at(0, "F_RYXM").toString()) +
                           "," + trim(info.at(0, "F_DQRQ").toString()),
                       "工资任务名称");
        out += gbkLine("*Dep*", {});
        const Recordset deps =
            s.taskConn.query("Select F_DepNo,F_DepName from " + periodTable(prefix, "Depart") + " Order By F_DepNo");
        for (std::size_t i = 0; i < deps.size(); ++i) {
            const std::string code = trim(deps.row(i)[0].toString());
            if (code.find(',') != std::string::npos || code.find(' ') != std::string::npos)
                throw Refusal{"部门编码“" + code + "”含有逗号或空格，不能写入数据文件。"};
            out += gbkLine(code + "   " + trim(deps.row(i)[1].toString()), "部门“" + code + "”");
        }

        // The month as the entry screen shows it once recalculated, so that
        // the values of formula items travel too.
        monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, monthly::GridFilter{}, true);
        calc::WorkGrid& grid = loaded.grid;
        SilentProgress quiet;
        calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, quiet);
        std::vector<int> exported; // grid columns, F001 and F002 travel as code and name
        std::string names;
        for (int c = 0; c < grid.cols(); ++c) {
            const std::string code = grid.cell(0, c);
            if (code == "F001" || code == "F002")
                continue;
            exported.push_back(c);
            names += (names.empty() ? "" : ",") + trim(grid.cell(1, c));
        }
        out += gbkLine("*Item*", {});
        out += gbkLine(names, "工资项目名称");
        out += gbkLine("*Data*", {});

        struct Person {
            std::string dep, sex;
        };
        std::unordered_map<std::string, Person> people;
        const Recordset staff =
            s.taskConn.query("Select F_EmpNo,F_DepNo,F_Sex From " + periodTable(prefix, "Employee"));
        for (std::size_t i = 0; i < staff.size(); ++i)
            people[upperAscii(trim(staff.row(i)[0].toString()))] = {trim(staff.row(i)[1].toString()),
                                                                    trim(staff.row(i)[2].toString())};
        const int codeColumn = grid.columnOf("F001") >= 0 ? grid.columnOf("F001") : 0;
        const int nameColumn = grid.columnOf("F002") >= 0 ? grid.columnOf("F002") : 1;
        progress.begin("  正在生成数据文件...", grid.employeeCount());
        std::string line;
        for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
            const std::string code = trim(grid.cell(r, codeColumn));
            const std::string name = trim(grid.cell(r, nameColumn));
            const Person& p = people[upperAscii(code)];
            const std::string who = code + " " + name;
            checkField(code, who, "代码");
            checkField(p.sex, who, "性别");
            checkField(name, who, "姓名");
            line = p.dep + "," + code + "," + p.sex + "," + name;
            for (const int c : exported) {
                const std::string v = trim(grid.cell(r, c));
                checkField(v, who, "“" + trim(grid.cell(1, c)) + "”");
                line += "," + (v.empty() ? std::string("*") : v);
            }
            out += gbkLine(line, "员工“" + who + "”的数据");
            progress.step();
        }
        writeFileReplacing(path, out);
    } catch (const Refusal& r) {
        progress.end();
        return Outcome::refuse(r.message, title, Icon::Exclamation);
    } catch (const std::exception& e) {
        progress.end();
        return Outcome::refuse(std::string("数据文件没有生成。\n") + e.what(), title, Icon::Critical);
    }
    progress.end();
    return {true, "数据文件生成完毕！", title, Icon::Information, {}};
}

} // namespace gzgl::exchange
