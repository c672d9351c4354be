// A salary task with items, departments, employees, values, formulas and
// the exceptions switch, and ways to compare its periods before and after a
// backup, a restore or a move to another data home.
#pragma once

#include "calc/recalc.h"
#include "core/login.h"
#include "core/schema.h"
#include "core/settings.h"
#include "core/startup.h"
#include "exchange/archive.h"
#include "monthly/workgrid_load.h"
#include "period/backup.h"
#include "period/balance.h"
#include "period/periods.h"
#include "support/test_support.h"

#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace gzgl::test {

struct Book {
    TempHome home;
    Session s;
    RecordingPrompt prompt;
    SilentProgress progress;

    // A task "工资" (operator 管理员, password pw) after `before` other tasks.
    explicit Book(int before) {
        openHome(s, home.path);
        for (int i = 0; i < before; ++i)
            makeTask(s, "其他" + std::to_string(i), "管理员", "");
        makeTask(s, "工资", "管理员", "pw");
        login();
    }
    void login() {
        if (!loginByName(s, prompt, "工资", "管理员", "pw"))
            throw std::runtime_error("login failed: " + prompt.last());
        prompt.clear();
    }
    std::string table(const char* suffix) const { return periodTable(s.taskPrefix(), suffix); }
    void run(const std::string& sql, const Params& p = {}) { s.taskConn.execute(sql, p); }

    void item(int id, const std::string& code, const std::string& name, const std::string& type) {
        run("Insert Into " + table("Item") + " Values(?,?,?,?,2,1,15,1,0,0)", {id, code, name, type});
        run("Alter Table " + table("Data") + " Add " + code + (type == "数字" ? " float" : " VARCHAR(16)"));
    }
    void employee(const std::string& no, const std::string& name, const std::string& dep,
                  const std::string& notCalc = "") {
        run("Insert Into " + table("Employee") +
                "(F_EmpNo,F_DepNo,F_EmpName,F_SortNo,F_NotCalc) Values(?,?,?,0,?)",
            {no, dep, name, notCalc.empty() ? Value() : Value(notCalc)});
        run("Insert Into " + table("Data") + "(F_EmpNo) Values(?)", {no});
    }
    void value(const std::string& no, const std::string& code, const Value& v) {
        run("Update " + table("Data") + " Set " + code + "=? Where F_EmpNo=?", {v, no});
    }
    void formula(int id, const std::string& code, const std::string& text) {
        run("Insert Into " + table("Formula") + "(F_ID,F_Code,F_Formula) Values(?,?,?)", {id, code, text});
    }

    // Items, two departments, three employees with values, formulas, an
    // employee exception and rounding to one yuan.
    void fill() {
        item(8, "F004", "基本工资", "数字");
        item(9, "F005", "备注", "文字");
        item(10, "F006", "奖金", "数字");
        run("Insert Into " + table("Depart") +
            "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('01','办公室','',1,1)");
        run("Insert Into " + table("Depart") +
            "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('02','车间','',1,1)");
        employee("0001", "张三", "01");
        employee("0002", "李四", "02", "F003");
        employee("0003", "王五", "02");
        value("0001", "F004", 1234.56);
        value("0001", "F005", "先进");
        value("0001", "FFFF", 0.37);
        value("0002", "F004", 2000.0);
        value("0002", "F003", 88.0);
        value("0003", "F004", 999.99);
        value("0003", "F006", 123.45);
        formula(1, "F006", "{F004>1000,F004*0.1,F006}");
        formula(2, "F003", "F004+F006");
        formula(3, "F000", "F003-F004*0.05+FFFF");
        setNotCalc(s, true);
        s.sysConn.execute("Update GZSysInfo set F_KWFS=3 where F_ID=?", {s.curTaskID});
        s.roundOffMode = 3;
    }

    // Changes every kind of thing a restore must put back.
    void spoil() {
        value("0001", "F004", 1.0);
        value("0002", "F005", "改过");
        run("Delete from " + table("Employee") + " where F_EmpNo='0003'");
        run("Delete from " + table("Data") + " where F_EmpNo='0003'");
        run("Update " + table("Item") + " set F_Name='改名' where F_Code='F004'");
        run("Delete from " + table("Formula") + " where F_ID=1");
        run("Insert Into " + table("TaxRate") + " Values(1,2,3,4)");
        run("Update " + table("Depart") + " set F_DepName='新部门' where F_DepNo='02'");
    }

    // Month-end into the next month.
    void close() {
        const period::BalanceStart start = period::openBalance(s);
        const Outcome o = period::closeMonth(s, start.year, start.month, progress);
        if (!o.ok)
            throw std::runtime_error(o.message);
    }
};

// Every table of a period: its columns with their non-Null values, rows
// sorted, as text (a rebuilt table may order its columns differently).
inline std::string dumpPeriod(Session& s, const std::string& period) {
    std::string out;
    for (const std::string& suffix : period::copyOrder()) {
        const std::string table = periodTable(makeTaskPrefix(s.curTaskID, period), suffix);
        const Recordset rs = s.taskConn.query("Select * from " + table);
        std::vector<std::string> rows;
        for (std::size_t i = 0; i < rs.size(); ++i) {
            std::vector<std::string> cells;
            for (std::size_t c = 0; c < rs.fields().size(); ++c) {
                const Value& v = rs.row(i)[c];
                if (!v.isNull())
                    cells.push_back(rs.fields()[c] + "=" + (v.isText() ? "'" : "") + v.toString());
            }
            std::sort(cells.begin(), cells.end());
            std::string row;
            for (const std::string& c : cells)
                row += c + ";";
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        out += suffix + "\n";
        for (const std::string& r : rows)
            out += "  " + r + "\n";
    }
    return out;
}

// The period's grid as the screens show it, recalculated.
inline std::vector<std::string> recalculated(Session& s, const std::string& period) {
    const std::string kept = s.curPeriod;
    s.curPeriod = period;
    calc::WorkGrid grid = monthly::loadWorkGrid(s, {}, true).grid;
    SilentProgress progress;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);
    s.curPeriod = kept;
    std::vector<std::string> cells;
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            cells.push_back(grid.cell(r, c));
    return cells;
}

// The task's GZRecord as "period:state" in order.
inline std::string records(Session& s) {
    const Recordset rs = s.taskConn.query("Select F_Time,F_ZZ from GZRecord order by F_Time");
    std::string out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out += (i ? " " : "") + rs.row(i)[0].toString() + ":" + rs.row(i)[1].toString();
    return out;
}

inline std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// This process's staging folders in the system temp folder.
inline int stagingFolders() {
    const std::string mine = "KS770GZ_BAK." + std::to_string(getpid()) + ".";
    int n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ec))
        if (e.path().filename().string().rfind(mine, 0) == 0)
            ++n;
    return n;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// An archive with any entry names, made with libzip directly.
inline void rawArchive(const std::string& path,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
    int err = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za)
        throw std::runtime_error("zip_open");
    for (const auto& [name, bytes] : entries)
        if (zip_file_add(za, name.c_str(), zip_source_buffer(za, bytes.data(), bytes.size(), 0),
                         ZIP_FL_ENC_UTF_8) < 0)
            throw std::runtime_error("zip_file_add " + name);
    if (zip_close(za) != 0)
        throw std::runtime_error("zip_close");
}

// The bytes of the one database inside an archive.
inline std::string unpackedDatabase(const std::string& archive, const std::string& folder) {
    std::filesystem::create_directories(folder);
    const auto entries = exchange::unpackArchive(archive, folder);
    return readFile(entries.at(0).path);
}

// A database file holding one empty table of that name.
inline std::string databaseWithTable(const std::string& name) {
    TempHome dir;
    const std::string path = dir.path + "/x.db";
    createEmptyDatabase(path);
    Connection c;
    c.open(path);
    c.execute("Create Table " + name + "(F_EmpNo text)");
    c.close();
    return readFile(path);
}

} // namespace gzgl::test
