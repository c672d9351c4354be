// Loading a data-load file into a task (layout and design: dataload.h).
#include "exchange/dataload.h"
#include "exchange/import_support.h"

#include "base/departments.h"
#include "core/gbk.h"
#include "core/paths.h"
#include "core/schema.h"
#include "core/tasks.h"
#include "core/text.h"
#include "items/cumulative_tax.h"
#include "items/items.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

namespace fs = std::filesystem;

namespace gzgl::exchange {

namespace {

constexpr const char* kDataError = "数据发生错误！";
constexpr const char* kSchemeConflict = "部门编码与本任务不符！";
constexpr const char* kPeriodError = "数据文件时间错误！";

// A refusal inside the load: the transaction rolls back and the message
// is shown as it stands.
struct LoadRefused {
    std::string message;
};


// The item of a fixed name, whatever the task calls it.
std::string fixedItemCode(const std::string& name) {
    static const std::map<std::string, std::string> fixed = [] {
        std::map<std::string, std::string> m = {
            {"实发工资", "F000"}, {"上月扣零", "FFFF"}, {"本月补发", "FFFE"}, {"本月扣零", "FFFD"}};
        // The cumulative tax figures keep their reserved codes too.
        for (const items::ReservedItem& r : items::cumulativeItems())
            m.emplace(r.name, r.code);
        return m;
    }();
    const auto it = fixed.find(name);
    return it == fixed.end() ? std::string() : it->second;
}

bool isAccountItem(const std::string& code) { return !items::accountColumn(code).empty(); }

// How the values of one item column of the file are written.
struct ItemTarget {
    std::string code;  // empty: the column is read but not written
    std::string name;
    bool number = true;
    std::string employeeField; // an account item: the employee column it fills
};


class Loader {
public:
    Loader(Session& t, const DataLoadFile& f, DataLoadResult& r, Progress& progress)
        : t_(t), f_(f), r_(r), progress_(progress) {}

    // Writes everything inside the caller's transaction; answers the coding
    // scheme the task must store.
    base::CodingScheme run(const base::CodingScheme& stored) {
        const base::CodingScheme scheme = departments(stored);
        items();
        employees();
        return scheme;
    }

private:
    std::string table(const char* suffix) const { return periodTable(t_.taskPrefix(), suffix); }

    base::CodingScheme departments(const base::CodingScheme& stored) {
        struct Dep {
            std::string code, name;
        };
        std::map<std::string, Dep> all; // by upper-cased code, so in code order
        const Recordset rs = t_.taskConn.query("Select F_DepNo,F_DepName From " + table("Depart"));
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const std::string code = trim(rs.row(i)[0].toString());
            all[upperAscii(code)] = {code, trim(rs.row(i)[1].toString())};
        }
        Statement insert = t_.taskConn.prepareStatement(
            "Insert into " + table("Depart") +
            "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values(?,?,'',0,0)");
        for (const DataLoadFile::Department& d : f_.departments) {
            if (d.code.empty() || gbkLength(d.code) > 20)
                throw LoadRefused{std::string(kDataError) + "\n第" + std::to_string(d.line) + "行的部门编码“" +
                                  shownLine(d.code) + "”不正确（不能为空，也不能超过20个字节）。"};
            if (all.count(upperAscii(d.code)))
                continue;
            const std::string name = gbkLeft(d.name, 32);
            insert.run({d.code, name});
            all[upperAscii(d.code)] = {d.code, name};
            ++r_.departmentsAdded;
        }

        // The scheme from the code lengths: each distinct length ends a level.
        std::set<std::size_t> lengths;
        for (const auto& [key, d] : all)
            lengths.insert(charCount(d.code));
        if (lengths.size() > 5)
            throw LoadRefused{std::string(kDataError) + "\n部门编码的长度有" + std::to_string(lengths.size()) +
                              "种，超过了五级。"};
        base::CodingScheme derived;
        std::size_t before = 0, level = 0;
        for (const std::size_t len : lengths) {
            if (len - before > 9)
                throw LoadRefused{std::string(kDataError) + "\n部门编码的一级超过了9位。"};
            derived.lengths[level++] = static_cast<int>(len - before);
            before = len;
        }
        const int common = std::min(derived.defined(), stored.defined());
        for (int k = 0; k < common; ++k)
            if (derived.lengths[static_cast<std::size_t>(k)] != stored.lengths[static_cast<std::size_t>(k)])
                throw LoadRefused{kSchemeConflict};
        const base::CodingScheme scheme = derived.defined() >= stored.defined() ? derived : stored;

        // Level and leaf flag of every department; in code order a
        // department has sub-departments exactly when the next code starts
        // with its own.
        const Recordset staffed =
            t_.taskConn.query("Select Distinct F_DepNo From " + table("Employee"));
        std::set<std::string> withEmployees;
        for (std::size_t i = 0; i < staffed.size(); ++i)
            withEmployees.insert(upperAscii(trim(staffed.row(i)[0].toString())));
        Statement update = t_.taskConn.prepareStatement("Update " + table("Depart") +
                                                        " set F_DepClass=?,F_End=? where F_DepNo=?");
        for (auto it = all.begin(); it != all.end(); ++it) {
            const auto next = std::next(it);
            const bool leaf = next == all.end() || !next->first.starts_with(it->first);
            if (!leaf && withEmployees.count(it->first))
                throw LoadRefused{std::string(kDataError) + "\n部门“" + it->second.code + " " + it->second.name +
                                  "”下已有员工，不能再设下级部门。"};
            const int lvl = scheme.levelEnding(static_cast<int>(charCount(it->second.code)));
            update.run({lvl, leaf ? 1 : 0, it->second.code});
            leaves_[it->first] = leaf;
            codes_[it->first] = it->second.code;
            if (!byName_.count(it->second.name))
                byName_[it->second.name] = it->second.code;
        }
        return scheme;
    }

    void items() {
        const std::string itemTable = table("Item");
        const std::string dataTable = table("Data");
        std::unordered_map<std::string, std::string> codeOfName, typeOfCode;
        const Recordset rs = t_.taskConn.query("Select F_Code,F_Name,F_Type From " + itemTable);
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const std::string code = trim(rs.row(i)[0].toString());
            codeOfName.emplace(trim(rs.row(i)[1].toString()), code);
            typeOfCode[code] = trim(rs.row(i)[2].toString());
        }
        std::set<std::string> columns;
        for (const std::string& c : t_.taskConn.columns(dataTable))
            columns.insert(upperAscii(c));
        int position = static_cast<int>(t_.taskConn.scalar("Select Max(F_ID) From " + itemTable).toInt());
        // Items worked out by formulas keep no stored values: their columns
        // in the file are read but not written.
        std::set<std::string> formulaItems;
        const Recordset formulas = t_.taskConn.query("Select Distinct F_Code From " + table("Formula"));
        for (std::size_t i = 0; i < formulas.size(); ++i)
            formulaItems.insert(upperAscii(trim(formulas.row(i)[0].toString())));
        std::vector<std::string> fields;

        std::set<std::string> seen;
        std::vector<std::string> written;
        for (std::size_t k = 0; k < f_.items.size(); ++k) {
            const std::string& name = f_.items[k];
            if (name.empty() || !seen.insert(name).second)
                throw LoadRefused{std::string("文件格式错误!\n工资项目“") + name + "”" +
                                  (name.empty() ? "为空。" : "出现了两次。")};
            ItemTarget target{fixedItemCode(name), name, true, {}};
            if (target.code.empty()) {
                const auto found = codeOfName.find(name);
                if (found != codeOfName.end())
                    target.code = found->second;
            }
            if (target.code.empty()) {
                // A name the task lacks becomes a new item.
                const Outcome ok = items::checkItemName(name);
                if (!ok.ok)
                    throw LoadRefused{"工资项目“" + name + "”不能作为项目名称：" + ok.message};
                if (const std::string why = nameRefusal(name, "工资项目名称", 32); !why.empty())
                    throw LoadRefused{why};
                target.code = items::nextItemCode(t_, name);
                if (target.code.empty())
                    throw LoadRefused{"工资项目编码已经用完，不能增加工资项目“" + name + "”。"};
                const bool account = isAccountItem(target.code);
                const bool text = account || !numbersOnly(k);
                // A column left behind under the new code is not the new item's.
                if (!account && columns.count(upperAscii(target.code))) {
                    t_.taskConn.execute("Alter Table " + dataTable + " Drop Column " + target.code);
                    columns.erase(upperAscii(target.code));
                }
                t_.taskConn.execute("Insert into " + itemTable +
                                        "(F_ID,F_Code,F_Name,F_Type,F_Prec,F_Show,F_Width,F_Print,F_Change,"
                                        "F_ChgValue) values(?,?,?,?,?,?,12,1,0,0)",
                                    {++position, target.code, name, text ? items::kText : items::kNumber,
                                     text ? 0 : 2, account ? 0 : 1});
                typeOfCode[target.code] = text ? items::kText : items::kNumber;
                codeOfName.emplace(name, target.code);
                ++r_.itemsAdded;
            } else if (!typeOfCode.count(target.code)) {
                // A fixed item the task has lost (上月扣零 first of all).
                t_.taskConn.execute("Insert into " + itemTable +
                                        "(F_ID,F_Code,F_Name,F_Type,F_Prec,F_Show,F_Width,F_Print,F_Change,"
                                        "F_ChgValue) values(?,?,?,?,2,1,12,1,0,0)",
                                    {++position, target.code, name, items::kNumber});
                typeOfCode[target.code] = items::kNumber;
                ++r_.itemsAdded;
            }
            target.number = typeOfCode[target.code] == items::kNumber;
            // The code and name travel in their own fields; account items
            // fill the employee's account columns.
            if (isAccountItem(target.code)) {
                fields.push_back(items::accountColumn(target.code));
                targets_.push_back({{}, name, false, fields.back()});
                continue;
            }
            if (target.code == "F001" || target.code == "F002" || formulaItems.count(target.code)) {
                targets_.push_back({{}, name, target.number, {}});
                continue;
            }
            if (!isItemCode(target.code))
                throw LoadRefused{std::string(kDataError) + "\n工资项目“" + name + "”的编码不正确。"};
            if (!columns.count(upperAscii(target.code))) {
                t_.taskConn.execute("Alter Table " + dataTable + " Add " + target.code +
                                    (target.number ? " float " : " VARCHAR(16) "));
                columns.insert(upperAscii(target.code));
            }
            written.push_back(target.code);
            targets_.push_back(target);
        }
        // Every task keeps a column for last month's rounding remainder.
        if (!columns.count("FFFF"))
            t_.taskConn.execute("Alter Table " + dataTable + " Add FFFF float ");
        writer_ = std::make_unique<MonthWriter>(t_);
        writer_->setColumns(written);
        writer_->setEmployeeFields(fields);
    }

    // Whether every value of item column k in the file is a number or no
    // value: a new item whose values are texts is made a text item, so that
    // they are kept.
    bool numbersOnly(std::size_t k) const {
        for (const DataLoadFile::Row& row : f_.rows) {
            if (row.fields.size() <= k + 4)
                continue;
            const std::string v = trim(row.fields[k + 4]);
            if (!v.empty() && v != "*" && !readAmount(v))
                return false;
        }
        return true;
    }

    void skip(const DataLoadFile::Row& row, const std::string& why) {
        r_.skipped.push_back({row.line, shownLine(row.text), std::string(kRecordRejected) + "（" + why + "）"});
    }

    void employees() {
        progress_.begin("  正在加载工资数据...", static_cast<int>(f_.rows.size()));
        const std::size_t expected = f_.items.size() + 4;
        std::vector<Value> values, accounts;
        for (const DataLoadFile::Row& row : f_.rows) {
            progress_.step();
            if (row.fields.size() != expected) {
                skip(row, "应有" + std::to_string(expected) + "项，实有" +
                              std::to_string(fieldCount(row.text, ",")) + "项");
                continue;
            }
            const std::string depText = trim(row.fields[0]);
            std::string dep;
            if (const auto named = byName_.find(depText); named != byName_.end())
                dep = named->second;
            else if (const auto coded = codes_.find(upperAscii(depText)); coded != codes_.end())
                dep = coded->second;
            if (dep.empty()) {
                skip(row, "部门“" + depText + "”不存在");
                continue;
            }
            if (!leaves_[upperAscii(dep)]) {
                skip(row, "部门“" + depText + "”不是末级部门");
                continue;
            }
            const std::string code = trim(row.fields[1]);
            if (code.empty() || gbkLength(code) > 20) {
                skip(row, "员工代码不能为空，也不能超过20个字节");
                continue;
            }
            values.clear();
            accounts.clear();
            bool good = true;
            for (std::size_t k = 0; k < targets_.size() && good; ++k) {
                const std::string v = trim(row.fields[k + 4]);
                if (!targets_[k].employeeField.empty()) {
                    if (v.empty() || v == "*")
                        accounts.emplace_back();
                    else
                        accounts.emplace_back(gbkLeft(v, 32));
                    continue;
                }
                if (targets_[k].code.empty())
                    continue;
                if (v.empty() || v == "*")
                    values.emplace_back();
                else if (!targets_[k].number)
                    values.emplace_back(gbkLeft(v, 16));
                else if (const auto amount = readAmount(v))
                    values.emplace_back(*amount);
                else {
                    skip(row, "“" + targets_[k].name + "”的值“" + shownLine(v) + "”不是数字");
                    good = false;
                }
            }
            if (!good)
                continue;
            const std::string sex = gbkLeft(trim(row.fields[2]), 2);
            const std::string name = gbkLeft(trim(row.fields[3]), 32);
            if (const MonthWriter::Employee* e = writer_->find(code)) {
                const std::string stored = e->code; // the code as the task spells it
                writer_->updateEmployee(stored, dep, name, sex);
                writer_->writeValues(stored, values);
                writer_->writeEmployeeFields(stored, accounts);
                ++r_.employeesUpdated;
            } else {
                writer_->addEmployee(code, dep, name, sex);
                writer_->writeValues(code, values);
                writer_->writeEmployeeFields(code, accounts);
            }
        }
        r_.employeesAdded = writer_->added();
        writer_->labelDateItem();
        progress_.end();
    }

    Session& t_;
    const DataLoadFile& f_;
    DataLoadResult& r_;
    Progress& progress_;
    std::vector<ItemTarget> targets_;
    std::unique_ptr<MonthWriter> writer_;
    std::unordered_map<std::string, std::string> byName_; // department name -> code
    std::unordered_map<std::string, std::string> codes_;  // upper-cased code -> code
    std::unordered_map<std::string, bool> leaves_;        // upper-cased code -> leaf
};

// The employee-code length a new task gets: the longest code of the file.
int codeLengthOf(const DataLoadFile& f) {
    std::size_t longest = 0;
    for (const DataLoadFile::Row& row : f.rows)
        if (row.fields.size() > 1)
            longest = std::max(longest, charCount(trim(row.fields[1])));
    return static_cast<int>(std::clamp<std::size_t>(longest, 1, 20));
}

// A second view of the data home on the task the file names, so that the
// session's own task stays as it is.
void openTarget(Session& s, Session& t, const std::string& id, const std::string& period,
                const std::string& taskFile) {
    t.appPath = s.appPath;
    t.sysDbPath = s.sysDbPath;
    t.sysConn.open(s.sysDbPath);
    t.taskConn.open(taskFile);
    t.curTaskID = id;
    t.curPeriod = period;
}

Outcome finished(const DataLoadResult& r) {
    std::string text = "数据导入完毕！";
    if (!r.skipped.empty())
        text += "\n有" + std::to_string(r.skipped.size()) + "行记录不正确，没有导入。";
    return {true, text, kDataLoadTitle, Icon::Information, {}};
}

void loadIntoExisting(Session& s, const DataLoadFile& f, const Recordset& task, const std::string& password,
                      Progress& progress, DataLoadResult& r) {
    const std::string id = trim(task.at(0, "F_ID").toString());
    const std::string current = trim(task.at(0, "F_DQRQ").toString());
    r.taskID = id;
    if (task.at(0, "F_RYKL").toString() != password) {
        r.outcome = Outcome::refuse("口令不正确，不能向工资任务“" + f.taskName + "”加载数据！", kDataLoadTitle,
                                    Icon::Exclamation, "txtPassword");
        return;
    }
    // Closed months, and months the task never had, take no load.
    if (f.period != current) {
        r.outcome = Outcome::refuse(kPeriodError, kDataLoadTitle, Icon::Exclamation);
        return;
    }
    Session t;
    openTarget(s, t, id, current, s.taskDbPath(id));
    if (!t.taskConn.hasTable(periodTable(t.taskPrefix(), "Data"))) {
        r.outcome = Outcome::refuse(kPeriodError, kDataLoadTitle, Icon::Exclamation);
        return;
    }
    const base::CodingScheme stored =
        base::CodingScheme::parse(trim(task.at(0, "F_BMJB").toString()));
    base::CodingScheme scheme;
    {
        Transaction tx(t.taskConn);
        scheme = Loader(t, f, r, progress).run(stored);
        tx.commit();
    }
    if (scheme.text() != stored.text()) {
        try {
            t.sysConn.execute("Update GZSysInfo set F_BMJB=? where F_ID=?", {scheme.text(), id});
        } catch (const DbError& e) {
            // The month is in; only the scheme's record failed.
            r.outcome = Outcome{true,
                                std::string("数据导入完毕！\n但部门编码方案没有保存，请在职工名册管理中检查部门级次。\n") +
                                    e.what(),
                                kDataLoadTitle, Icon::Exclamation, {}};
        }
    }
}

void loadIntoNewTask(Session& s, const DataLoadFile& f, const std::string& password, Progress& progress,
                     DataLoadResult& r) {
    if (std::optional<Outcome> bad = checkHeaderTexts({}, f.taskName, f.operatorName, kDataLoadTitle)) {
        r.outcome = *bad;
        r.outcome.focus.clear();
        return;
    }
    if (std::optional<Outcome> bad = checkPasswordLength(password, kDataLoadTitle, "txtPassword")) {
        r.outcome = *bad;
        return;
    }
    if (taskNameTaken(s, f.taskName)) {
        r.outcome = Outcome::refuse("工资任务“" + f.taskName + "”已经存在，但操作人员不是“" + f.operatorName +
                                        "”，不能加载。",
                                    kDataLoadTitle, Icon::Exclamation);
        return;
    }
    const std::string id = nextFreeTaskID(s);
    const std::string finalPath = s.moneyFolder() + "/GZ" + id + ".MDB";

    // Built under a temporary name beside the task files, renamed when complete.
    std::string pattern = s.moneyFolder() + "/.GZ" + id + ".load-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw DbError("不能在“" + s.moneyFolder() + "”建立临时文件");
    ::close(fd);
    FileGuard temp(pattern);
    std::error_code ec;
    fs::copy_file(findFileNoCase(s.moneyFolder(), "GZNULL.MDB"), pattern, fs::copy_options::overwrite_existing,
                  ec);
    if (ec)
        throw DbError("不能建立工资任务文件：" + ec.message());

    base::CodingScheme scheme;
    {
        Session t;
        openTarget(s, t, id, f.period, pattern);
        Transaction tx(t.taskConn);
        layOutTaskDatabase(t.taskConn, id, f.period);
        scheme = Loader(t, f, r, progress).run(base::CodingScheme::parse("00000"));
        tx.commit();
    }
    // link() never replaces: a task file that appeared meanwhile stays.
    if (::link(pattern.c_str(), finalPath.c_str()) != 0)
        throw DbError("不能建立工资任务文件 " + finalPath);
    FileGuard placed(finalPath);
    s.sysConn.execute("Insert Into GZSysInfo(F_ID,F_GZMC,F_QYDM,F_RYXM,F_RYKL,F_QYRQ,F_DQRQ,F_BMJB,"
                      "F_RYBMCD,F_ZZ,F_KWFS) Values(?,?,'',?,?,?,?,?,?,0,0)",
                      {id, f.taskName, f.operatorName, password, f.period, f.period, scheme.text(),
                       static_cast<double>(codeLengthOf(f))});
    placed.path.clear();
    r.taskID = id;
    r.taskCreated = true;
}

} // namespace

DataLoadResult loadDataFile(Session& s, const std::string& path, const std::string& password,
                            Progress& progress) {
    DataLoadResult r;
    const std::optional<DataLoadFile> parsed = readParsedFile(path, kDataLoadTitle, parseDataLoad, r.outcome);
    if (!parsed)
        return r;
    const DataLoadFile& f = *parsed;
    try {
        const Recordset task = s.sysConn.query(
            "Select F_ID,F_QYRQ,F_DQRQ,F_RYKL,F_BMJB from GZSysInfo where F_GZMC=? and F_RYXM=?",
            {f.taskName, f.operatorName});
        if (task.empty())
            loadIntoNewTask(s, f, password, progress, r);
        else
            loadIntoExisting(s, f, task, password, progress, r);
    } catch (const LoadRefused& e) {
        progress.end();
        r = DataLoadResult{};
        r.outcome = Outcome::refuse(e.message, kDataLoadTitle, Icon::Exclamation);
        return r;
    } catch (const std::exception& e) {
        progress.end();
        r = DataLoadResult{};
        r.outcome = Outcome::refuse(std::string(kDataError) + "\n" + e.what(), kDataLoadTitle, Icon::Critical);
        return r;
    }
    if (!r.outcome.ok)
        return r;
    mergeSkipped(r.skipped, f.skipped);
    if (r.outcome.message.empty())
        r.outcome = finished(r);
    return r;
}

} // namespace gzgl::exchange
