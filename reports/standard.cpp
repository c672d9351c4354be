#include "reports/standard.h"

#include "base/departments.h"
#include "base/tree.h"
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/refresh.h"
#include "monthly/workgrid_load.h"
#include "print/projects.h"
#include "print/screen_jobs.h"
#include "reports/months.h"

#include <algorithm>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <thread>
#include <unordered_map>

namespace gzgl::reports {

namespace {

constexpr const char* kTitle = "提示";

struct Department {
    std::string name;
    bool leaf = true;
    std::string typeNo;
};

// The departments and department types of every month of the range, each
// named as the latest month names it.
struct Departments {
    std::map<std::string, Department> byCode;
    std::map<std::string, std::string> typeNames; // type number -> name
};

Departments readDepartments(Session& s, const std::vector<std::string>& months) {
    Departments out;
    for (const std::string& month : months) {
        PeriodScope scope(s, month);
        const Recordset deps = s.taskConn.query("Select F_DepNo,F_DepName,F_End,F_TypeNo from " +
                                                periodTable(s.taskPrefix(), "Depart"));
        for (std::size_t i = 0; i < deps.size(); ++i) {
            const auto& row = deps.row(i);
            const std::string code = trim(row[0].toString());
            if (!code.empty())
                out.byCode[code] = {trim(row[1].toString()), row[2].toInt() == 1, trim(row[3].toString())};
        }
        const Recordset types =
            s.taskConn.query("Select F_TypeNo,F_TypeName from " + periodTable(s.taskPrefix(), "DepType"));
        for (std::size_t i = 0; i < types.size(); ++i) {
            const std::string no = trim(types.row(i)[0].toString());
            if (!no.empty())
                out.typeNames[no] = trim(types.row(i)[1].toString());
        }
    }
    return out;
}

// The entries of a list field: split at ",", trimmed, empty ones dropped.
std::vector<std::string> entries(const std::string& field) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= field.size()) {
        const std::size_t comma = std::min(field.find(',', from), field.size());
        std::string e = trim(std::string_view(field).substr(from, comma - from));
        if (!e.empty())
            out.push_back(std::move(e));
        from = comma + 1;
    }
    return out;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The departments the summary lists under the chosen ones (all when none).
std::vector<HeadingRow> listDepartments(const Departments& d, const base::CodingScheme& scheme,
                                        const std::vector<std::string>& chosen, int level, bool lowest) {
    auto under = [&](const std::string& code) {
        return chosen.empty() || std::any_of(chosen.begin(), chosen.end(),
                                             [&](const std::string& c) { return startsWith(code, c); });
    };
    std::vector<HeadingRow> out;
    std::set<std::string> taken;
    auto take = [&](const std::string& code, const Department& dep) {
        if (taken.insert(code).second)
            out.push_back({code, dep.name});
    };
    if (level > 0) {
        std::size_t length = 0;
        for (int i = 0; i < level; ++i)
            length += static_cast<std::size_t>(scheme.lengths[static_cast<std::size_t>(i)]);
        for (const auto& [code, dep] : d.byCode)
            if (code.size() == length && under(code))
                take(code, dep);
    } else if (lowest) {
        for (const auto& [code, dep] : d.byCode)
            if (dep.leaf && under(code))
                take(code, dep);
    } else if (chosen.empty()) {
        for (const auto& [code, dep] : d.byCode)
            if (scheme.levelEnding(static_cast<int>(code.size())) == 1)
                take(code, dep);
    } else {
        // One level below each chosen department; a chosen department
        // without sub-departments stands for itself.
        for (const std::string& c : chosen) {
            const int n = scheme.levelEnding(static_cast<int>(c.size()));
            bool any = false;
            for (auto it = d.byCode.lower_bound(c); it != d.byCode.end() && startsWith(it->first, c); ++it)
                if (n > 0 && scheme.levelEnding(static_cast<int>(it->first.size())) == n + 1) {
                    take(it->first, it->second);
                    any = true;
                }
            if (!any)
                take(c, d.byCode.at(c));
        }
    }
    return out;
}

// One month's items as the report prints them.
struct MonthItem {
    int gridCol = 0;
    std::string code;
    std::string name;
    bool number = false;
    int decimals = 0;
    double widthMm = 0;
};

std::vector<MonthItem> printedItems(Session& s, const std::vector<monthly::ItemColumn>& columns) {
    std::set<std::string> notPrinted;
    const Recordset rs =
        s.taskConn.query("Select F_Code,F_Print from " + periodTable(s.taskPrefix(), "Item"));
    for (std::size_t i = 0; i < rs.size(); ++i)
        if (rs.row(i)[1].toInt() == 0)
            notPrinted.insert(upperAscii(trim(rs.row(i)[0].toString())));
    std::vector<MonthItem> out;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const monthly::ItemColumn& item = columns[c];
        const std::string code = upperAscii(item.code);
        if (notPrinted.count(code))
            continue;
        out.push_back({static_cast<int>(c), code, item.name, item.type == "数字", item.prec,
                       static_cast<double>(std::max(item.width, 8))});
    }
    return out;
}

// The month's employees: department and its type, by employee code.
struct EmployeePlace {
    std::string depNo;
    std::string depName;
    std::string typeNo;
};

std::unordered_map<std::string, EmployeePlace> employeePlaces(Session& s) {
    const std::string prefix = s.taskPrefix();
    const Recordset rs = s.taskConn.query("Select e.F_EmpNo,e.F_DepNo,d.F_DepName,d.F_TypeNo from " +
                                          periodTable(prefix, "Employee") + " e left join " +
                                          periodTable(prefix, "Depart") + " d on d.F_DepNo=e.F_DepNo");
    std::unordered_map<std::string, EmployeePlace> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& row = rs.row(i);
        out[row[0].toString()] = {trim(row[1].toString()), trim(row[2].toString()), trim(row[3].toString())};
    }
    return out;
}

double cellValue(const std::string& text) {
    return text.empty() ? 0.0 : readNumber(text);
}

// A summary month: the listed rows, each employee's values added into the
// row he counts for.
ReportGrid summaryMonth(int type, const std::vector<HeadingRow>& heading, const calc::WorkGrid& grid,
                        const std::vector<MonthItem>& items,
                        const std::unordered_map<std::string, EmployeePlace>& places) {
    ReportGrid g;
    if (type == kTypeSummary)
        g.columns = {
            {"部门类型编码", "", true, 0, 0}, {"部门类型", "", true, 0, 0}, {"人 数", "", false, 0, 0}};
    else
        g.columns = {{"部门编码", "", true, 0, 0}, {"部门名称", "", true, 0, 0}, {"人 数", "", false, 0, 0}};
    std::vector<const MonthItem*> numbers;
    for (const MonthItem& item : items)
        if (item.number) {
            g.columns.push_back({item.name, item.code, false, item.decimals, item.widthMm});
            numbers.push_back(&item);
        }
    std::unordered_map<std::string, int> rowOfCode;
    for (const HeadingRow& h : heading) {
        const int r = g.addRow();
        g.rows[static_cast<std::size_t>(r)].texts[0] = h.code;
        g.rows[static_cast<std::size_t>(r)].texts[1] = h.name;
        rowOfCode.emplace(h.code, r);
    }
    // The row of a department (or type) code, found once per code: the
    // longest listed prefix for departments, the type itself for types.
    std::unordered_map<std::string, int> rowOfPlace;
    auto rowFor = [&](const EmployeePlace& p) {
        const std::string& key = type == kTypeSummary ? p.typeNo : p.depNo;
        const auto hit = rowOfPlace.find(key);
        if (hit != rowOfPlace.end())
            return hit->second;
        int row = -1;
        if (type == kTypeSummary) {
            if (const auto t = rowOfCode.find(key); t != rowOfCode.end())
                row = t->second;
        } else {
            for (std::size_t len = key.size(); len > 0 && row < 0; --len)
                if (const auto d = rowOfCode.find(key.substr(0, len)); d != rowOfCode.end())
                    row = d->second;
        }
        rowOfPlace.emplace(key, row);
        return row;
    };
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        const auto place = places.find(grid.cell(r, 0));
        if (place == places.end())
            continue;
        const int row = rowFor(place->second);
        if (row < 0)
            continue;
        g.add(row, 2, 1);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            g.add(row, static_cast<int>(i) + 3, cellValue(grid.cell(r, numbers[i]->gridCol)));
    }
    return g;
}

// A pay sheet month: one row per employee.
ReportGrid paySheetMonth(const calc::WorkGrid& grid, const std::vector<monthly::ItemColumn>& columns,
                         const std::vector<MonthItem>& items,
                         const std::unordered_map<std::string, EmployeePlace>& places) {
    ReportGrid g;
    auto caption = [&](std::size_t col, const char* fallback) {
        return col < columns.size() && !columns[col].name.empty() ? columns[col].name : std::string(fallback);
    };
    g.columns = {{caption(0, "工号"), "F001", true, 0, 0},
                 {caption(1, "姓名"), "F002", true, 0, 0},
                 {"部门", "", true, 0, 0}};
    std::vector<const MonthItem*> rest;
    for (const MonthItem& item : items)
        if (item.gridCol >= calc::kFirstItemColumn) {
            g.columns.push_back({item.name, item.code, !item.number, item.decimals, item.widthMm});
            rest.push_back(&item);
        }
    g.rows.reserve(static_cast<std::size_t>(grid.employeeCount()));
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        const int row = g.addRow();
        ReportRow& out = g.rows[static_cast<std::size_t>(row)];
        out.texts[0] = grid.cell(r, 0);
        out.texts[1] = grid.cell(r, 1);
        if (const auto place = places.find(grid.cell(r, 0)); place != places.end())
            out.texts[2] = place->second.depName.empty() ? place->second.depNo : place->second.depName;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const std::string& text = grid.cell(r, rest[i]->gridCol);
            // A cell read from its text has no more decimals than its
            // column: it is set as it stands.
            if (rest[i]->number)
                out.values[i + 3] = cellValue(text);
            else
                out.texts[i + 3] = text;
        }
    }
    return g;
}

// A reader of the open task for the months of a range on another thread:
// its own connection to the task database and the settings the month
// loading and recalculation read, so that the session itself (which the
// screen may read meanwhile) is neither used nor moved to another month
// off its thread. Null when no connection can be opened (the months are
// then read one after the other on the session).
std::unique_ptr<Session> monthReader(const Session& s) {
    if (std::thread::hardware_concurrency() < 2 || s.taskConn.path().empty())
        return nullptr;
    auto r = std::make_unique<Session>();
    r->curTaskID = s.curTaskID;
    r->curPeriod = s.curPeriod;
    r->roundOffMode = s.roundOffMode;
    r->empNoMask = s.empNoMask;
    r->curOperName = s.curOperName;
    try {
        r->taskConn.open(s.taskConn.path());
    } catch (const DbError&) {
        return nullptr;
    }
    return r;
}

Outcome refuse(const std::string& message, const std::string& focus = {}) {
    return Outcome::refuse(message, kTitle, Icon::Exclamation, focus);
}

} // namespace

const std::vector<std::string>& reportNames() {
    static const std::vector<std::string> names = {"职工工资部门汇总表", "职工工资部门类型汇总表",
                                                   "职工工资发放表", "职工工资单"};
    return names;
}

long reportForm(int type) {
    switch (type) {
    case kPaySheet:
        return 118;
    case kPayslips:
        return 128;
    default:
        return 108;
    }
}

ReportScreenStart openReportScreen(Session& s) {
    monthly::RefreshMonthData(s);
    print::resetTransientColumns(s);
    return {reportNames(), s.curPeriod.substr(0, 4), s.curPeriod.size() >= 6 ? s.curPeriod.substr(4, 2) : ""};
}

std::string reportDateLine(int type, const std::string& first, const std::string& last) {
    if (first == last)
        return print::dateLine(first);
    const std::string range = "日期:" + first.substr(0, 4) + "年" + first.substr(4, 2) + "月--" +
                              last.substr(0, 4) + "年" + last.substr(4, 2) + "月";
    return type == kTypeSummary ? std::string(17, ' ') + range : range;
}

BuiltReport buildReport(Session& s, ReportRequest& rq, Progress& progress) {
    BuiltReport out;
    out.type = rq.type;
    if (rq.type < kDepartmentSummary || rq.type > kPayslips) {
        out.outcome = refuse("请选择报表类型！", "cmbType");
        return out;
    }
    for (std::string* f : {&rq.year, &rq.month, &rq.year1, &rq.month1})
        *f = trim(*f);
    const auto first = periodOf(rq.year, rq.month);
    const auto last = periodOf(rq.year1, rq.month1);
    if (!first || !last) {
        out.outcome = refuse("请输入所需打印报表日期！", !first ? "txtYear" : "txtYear1");
        return out;
    }
    out.first = *first;
    out.last = *last;
    out.outcome = checkMonthRange(s, out.first, out.last, kReportRange);
    if (out.first != *first) {
        // The screen shows the swapped range.
        std::swap(rq.year, rq.year1);
        std::swap(rq.month, rq.month1);
    }
    if (!out.outcome.ok)
        return out;
    const std::vector<std::string> months = monthsBetween(out.first, out.last);

    const Departments deps = readDepartments(s, months);
    std::vector<std::string> chosen;
    std::string chosenNames;
    for (const std::string& e : entries(rq.departments)) {
        const std::string code = base::textBeforeBlank(e);
        const auto d = deps.byCode.find(code);
        if (d == deps.byCode.end()) {
            out.outcome = refuse("不存在此部门：" + code, "txtDep");
            return out;
        }
        if (std::find(chosen.begin(), chosen.end(), code) == chosen.end()) {
            chosen.push_back(code);
            chosenNames += (chosenNames.empty() ? "" : ",") + d->second.name;
        }
    }
    std::vector<HeadingRow> types;
    std::string typeNames;
    if (rq.type == kTypeSummary) {
        for (const std::string& e : entries(rq.depTypes)) {
            // By name as the picker writes it, else by number ("NN" or "NN name").
            auto t = std::find_if(deps.typeNames.begin(), deps.typeNames.end(),
                                  [&](const auto& kv) { return kv.second == e; });
            if (t == deps.typeNames.end())
                t = deps.typeNames.find(base::textBeforeBlank(e));
            if (t == deps.typeNames.end()) {
                out.outcome = refuse("不存在此部门类型：" + e, "txtDepType");
                return out;
            }
            if (std::none_of(types.begin(), types.end(),
                             [&](const HeadingRow& h) { return h.code == t->first; })) {
                types.push_back({t->first, t->second});
                typeNames += (typeNames.empty() ? "" : ",") + t->second;
            }
        }
    }
    int level = 0;
    const base::CodingScheme scheme = base::readScheme(s);
    if (rq.type == kDepartmentSummary) {
        const std::string lv = trim(rq.level);
        if (!lv.empty() && (!allDigits(lv) || lv.size() > 2 || std::stoi(lv) > scheme.defined())) {
            out.outcome = refuse("输入的部门级数不存在！", "txtGrade");
            return out;
        }
        level = lv.empty() ? 0 : std::stoi(lv);
    }

    if (rq.type == kTypeSummary && !typeNames.empty())
        out.depLine = "部门类别:" + typeNames;
    else if (!chosen.empty())
        out.depLine = "部门:" + chosenNames;
    else
        out.depLine = "部门：";

    const bool summary = rq.type == kDepartmentSummary || rq.type == kTypeSummary;
    if (rq.type == kDepartmentSummary)
        out.heading = listDepartments(deps, scheme, chosen, level, rq.lowest);
    else if (rq.type == kTypeSummary) {
        out.heading = types;
        if (types.empty())
            for (const auto& [no, name] : deps.typeNames)
                out.heading.push_back({no, name});
    }

    monthly::GridFilter filter;
    filter.depCodes = chosen;
    filter.depInclude = true;
    const bool exceptions = IsNotCalcOn(s);
    const std::vector<HeadingRow>& heading = out.heading;
    // One month read, recalculated and laid out on a session of its own;
    // nothing here touches another month's state.
    auto buildMonth = [&](Session& on, const std::string& month) {
        PeriodScope scope(on, month);
        monthly::LoadedGrid loaded = monthly::loadWorkGrid(on, filter, false);
        SilentProgress quiet;
        calc::RecalculateGrid(on, loaded.grid, {on.roundOffMode, exceptions}, quiet);
        const std::vector<MonthItem> items = printedItems(on, loaded.columns);
        const auto places = employeePlaces(on);
        return summary ? summaryMonth(rq.type, heading, loaded.grid, items, places)
                       : paySheetMonth(loaded.grid, loaded.columns, items, places);
    };
    auto mergeNext = [&](const ReportGrid& g) {
        if (out.grid.columns.empty())
            out.grid = g;
        else
            mergeMonth(out.grid, g);
        progress.step();
    };

    progress.begin("  正在准备数据，请稍候...", static_cast<int>(months.size()));
    std::unique_ptr<Session> readers[2];
    if (months.size() > 1)
        for (auto& r : readers)
            r = monthReader(s);
    if (!readers[0] || !readers[1]) {
        for (const std::string& month : months)
            mergeNext(buildMonth(s, month));
    } else {
        // Two months at a time, each reader on its own connection; the
        // months are merged in order as they come in, so at most two month
        // grids are held beside the report.
        std::deque<std::future<ReportGrid>> running;
        for (std::size_t i = 0; i < months.size(); ++i) {
            if (running.size() == 2) {
                mergeNext(running.front().get());
                running.pop_front();
            }
            Session* reader = readers[i % 2].get();
            running.push_back(std::async(std::launch::async, [&buildMonth, reader, &month = months[i]] {
                return buildMonth(*reader, month);
            }));
        }
        for (; !running.empty(); running.pop_front())
            mergeNext(running.front().get());
    }
    progress.end();

    bool anyone = false;
    if (summary) {
        for (const ReportRow& r : out.grid.rows)
            anyone = anyone || (r.values.size() > 2 && r.values[2] > 0);
    } else {
        anyone = out.grid.dataRows() > 0;
    }
    if (!anyone) {
        out.outcome = refuse("没有找到符合条件的员工！", "txtDep");
        out.grid = ReportGrid{};
        return out;
    }
    if (rq.type != kPayslips)
        out.grid.addTotalRow();
    return out;
}

} // namespace gzgl::reports
