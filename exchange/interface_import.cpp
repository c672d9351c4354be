// The data-interface import (design: interface_import.h).
#include "exchange/interface_import.h"
#include "exchange/import_support.h"
#include "exchange/textfile.h"

#include "base/departments.h"
#include "core/gbk.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/text.h"
#include "items/items.h"

#include <algorithm>
#include <set>

namespace gzgl::exchange {

namespace {

struct Column {
    std::size_t index;
    std::string code, title;
    bool number;
};

// "新导入员工": found by name, or made as the next top-level code. A first
// level is defined for it when the task has none; *scheme then holds the
// scheme to store.
std::string importedDepartment(Session& s, std::string* scheme) {
    const std::string table = periodTable(s.taskPrefix(), "Depart");
    const Value found = s.taskConn.scalar("select F_DepNo from " + table + " where F_DepName=?", {kImportedDepartment});
    if (!found.isNull())
        return trim(found.toString());
    base::CodingScheme current = base::readScheme(s);
    int width = current.defined() > 0 ? current.lengths[0] : 3;
    long long next = 1;
    const Recordset top = s.taskConn.query("select F_DepNo from " + table + " where F_DepClass=1 order by F_DepNo desc");
    for (std::size_t i = 0; i < top.size(); ++i) {
        const std::string code = trim(top.row(i)[0].toString());
        if (allDigits(code) && !code.empty() && static_cast<int>(code.size()) == width) {
            next = std::stoll(code) + 1;
            break;
        }
    }
    const std::string code = zeroPad(next, width);
    if (static_cast<int>(code.size()) != width ||
        !s.taskConn.query("select F_DepNo from " + table + " where F_DepNo=?", {code}).empty())
        throw std::runtime_error("无法为“新导入员工”部门编排新的一级部门编码。");
    s.taskConn.execute("Insert into " + table + " (F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values(?,?,'',1,1)",
                       {code, kImportedDepartment});
    if (current.defined() == 0) {
        current.lengths[0] = width;
        *scheme = current.text();
    }
    return code;
}

} // namespace

InterfaceImportResult importInterfaceFile(Session& s, const std::string& path, Progress& progress) {
    InterfaceImportResult r;
    const std::optional<InterfaceFile> parsed =
        readParsedFile(path, kInterfaceTitle, parseInterfaceFile, r.outcome);
    if (!parsed)
        return r;
    const InterfaceFile& f = *parsed;
    if (!s.loggedIn() || f.taskID != s.curTaskID || f.taskName != s.curTaskName || f.period != s.curPeriod) {
        r.outcome = Outcome::refuse(kTaskMismatch, kInterfaceTitle, Icon::Exclamation);
        return r;
    }

    const std::string prefix = s.taskPrefix();
    std::string newScheme;
    try {
        Transaction tx(s.taskConn);
        // The columns that may be written, and the two that name the employee.
        const std::string itemTable = periodTable(prefix, "Item");
        const std::string dataTable = periodTable(prefix, "Data");
        std::set<std::string> formulaItems;
        const Recordset formulas = s.taskConn.query("select Distinct F_Code from " + periodTable(prefix, "Formula"));
        for (std::size_t i = 0; i < formulas.size(); ++i)
            formulaItems.insert(upperAscii(trim(formulas.row(i)[0].toString())));
        std::set<std::string> dataColumns;
        for (const std::string& c : s.taskConn.columns(dataTable))
            dataColumns.insert(upperAscii(c));
        int codeColumn = -1, nameColumn = -1;
        std::vector<Column> columns;
        std::set<std::string> taken;
        for (std::size_t c = 0; c < f.codes.size(); ++c) {
            const std::string& code = f.codes[c];
            if (!isItemCode(code))
                continue;
            const Value type = s.taskConn.scalar("select F_Type from " + itemTable + " where F_Code=? and F_Name=?",
                                                 {code, f.titles[c]});
            if (type.isNull())
                continue;
            if (code == "F001" || code == "F002") {
                int& which = code == "F001" ? codeColumn : nameColumn;
                if (which < 0)
                    which = static_cast<int>(c);
                continue;
            }
            const std::string t = trim(type.toString());
            if (t == items::kText || formulaItems.count(code) || !taken.insert(code).second)
                continue;
            // An item without a value column (the account items) takes nothing.
            if (!dataColumns.count(code)) {
                if (t != items::kNumber || !items::accountColumn(code).empty())
                    continue;
                s.taskConn.execute("Alter Table " + dataTable + " Add " + code + " float ");
                dataColumns.insert(code);
            }
            columns.push_back({c, code, f.titles[c], t == items::kNumber});
        }
        if (codeColumn < 0 || nameColumn < 0) {
            r.outcome = Outcome::refuse(std::string(kNotSalaryFile) + "\n文件中没有“工号”（F001）或“姓名”（F002）列。", kInterfaceTitle,
                                        Icon::Exclamation);
            return r;
        }

        MonthWriter writer(s);
        std::vector<std::string> codes;
        for (const Column& c : columns)
            codes.push_back(c.code);
        writer.setColumns(codes);
        r.columnsImported = static_cast<int>(columns.size());
        std::string newDepartment;
        std::vector<Value> values;
        auto skip = [&](const InterfaceFile::Row& row, const std::string& why) {
            r.skipped.push_back({row.line, shownLine(row.text), why});
        };
        progress.begin("  正在导入工资数据...", static_cast<int>(f.rows.size()));
        for (const InterfaceFile::Row& row : f.rows) {
            progress.step();
            if (row.cells.size() != f.codes.size()) {
                skip(row, "本行应有" + std::to_string(f.codes.size()) + "列，实有" +
                              std::to_string(fieldCount(row.text, f.separator)) + "列，不予导入。");
                continue;
            }
            const std::string code = row.cells[static_cast<std::size_t>(codeColumn)];
            const std::string name = gbkLeft(row.cells[static_cast<std::size_t>(nameColumn)], 32);
            if (code.empty() || gbkLength(code) > 20) {
                skip(row, "工号不能为空，也不能超过20个字节，不予导入。");
                continue;
            }
            values.clear();
            std::string bad;
            for (const Column& c : columns) {
                const std::string& v = row.cells[c.index];
                if (v.empty())
                    values.emplace_back();
                else if (!c.number)
                    values.emplace_back(gbkLeft(v, 16));
                else if (const auto amount = readAmount(v))
                    values.emplace_back(*amount);
                else {
                    bad = "“" + c.title + "”的值“" + shownLine(v) + "”不是数字，不予导入。";
                    break;
                }
            }
            if (!bad.empty()) {
                skip(row, bad);
                continue;
            }
            const MonthWriter::Employee* e = writer.find(code);
            if (e && trim(e->name) != name) {
                skip(row, "工号“" + code + "”已是员工“" + trim(e->name) + "”的工号，不予导入。");
                continue;
            }
            if (e) {
                writer.ensureDataRow(e->code);
                writer.writeValues(e->code, values);
                ++r.employeesUpdated;
            } else {
                if (newDepartment.empty())
                    newDepartment = importedDepartment(s, &newScheme);
                writer.addEmployee(code, newDepartment, name, {});
                writer.writeValues(code, values);
            }
        }
        r.employeesAdded = writer.added();
        writer.labelDateItem();
        tx.commit();
        progress.end();
    } catch (const std::exception& e) {
        progress.end();
        r = InterfaceImportResult{};
        r.outcome = Outcome::refuse(std::string("导入工资数据失败，数据没有改变。\n") + e.what(), kInterfaceTitle,
                                    Icon::Critical);
        return r;
    }
    std::string schemeFailure;
    if (!newScheme.empty()) {
        try {
            s.sysConn.execute("Update GZSysInfo set F_BMJB=? where F_ID=?", {newScheme, s.curTaskID});
        } catch (const DbError& e) {
            // The values are in; only the scheme's record failed.
            schemeFailure = std::string("\n但部门编码方案没有保存，请在职工名册管理中检查部门级次。\n") + e.what();
        }
    }
    mergeSkipped(r.skipped, f.skipped);
    std::string text = "导入工资数据完成。";
    if (!r.skipped.empty())
        text += "\n有" + std::to_string(r.skipped.size()) + "行没有导入。";
    r.outcome = {true, text + schemeFailure, kInterfaceTitle,
                 schemeFailure.empty() ? Icon::Information : Icon::Exclamation, {}};
    return r;
}

} // namespace gzgl::exchange
