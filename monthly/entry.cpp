#include "monthly/entry.h"

#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "items/itemcode.h"
#include "monthly/refresh.h"
#include "monthly/trace.h"

#include <algorithm>

namespace gzgl::monthly {

namespace {

bool isRoundOffCode(const std::string& code) { return code == "FFFF" || code == "FFFE" || code == "FFFD"; }

// One number as the entry box takes it: an optional leading "-", digits
// with at most one ".", at least one digit ("5.", ".5" and "-0.5" are
// numbers; "1-2", "--", "1.2.3", "-" and "." are not).
bool isOneNumber(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-')
        ++i;
    bool digit = false, dot = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            digit = true;
        else if (t[i] == '.' && !dot)
            dot = true;
        else
            return false;
    }
    return digit;
}

// The "#0.00" text the unchanged-entry check compares: a number's
// formatted text, any other text as it stands.
std::string comparisonText(const std::string& text) {
    const std::string t = trim(text);
    return isOneNumber(t) ? formatNumber(readNumber(t), "#0.00") : text;
}

std::string lowestLevelDepartment(Session& s) {
    const Recordset rs = s.taskConn.query("Select F_DepNo from " + periodTable(s.taskPrefix(), "Depart") +
                                          " where F_End=1 order by F_DepNo");
    return rs.empty() ? std::string() : trim(rs.row(0)[0].toString());
}

} // namespace

std::string headcountText(long long n) { return "部门人数：" + std::to_string(n) + "人"; }

void SalaryEntry::open(Progress& progress, const items::SalarySettings* settings) {
    settings_.roundOffMode = s_.roundOffMode;
    settings_.exceptions = IsNotCalcOn(s_);
    RefreshMonthData(s_);
    GridFilter filter;
    if (settings) {
        filter = {settings->department, settings->empNo, settings->empName};
        readDepartment(settings->department, false);
    } else {
        filter.depNo = lowestLevelDepartment(s_);
        readDepartment(filter.depNo, !filter.depNo.empty());
    }
    lines_ = calc::loadFormulaLines(s_);
    ticked_.clear();
    if (settings) {
        for (const std::string& code : settings->codes)
            ticked_.insert(upperAscii(code));
        showCodes_ = settings->showCodes;
    } else {
        for (const ItemColumn& c : loadItemColumns(s_))
            if (c.show || c.code == "F001" || c.code == "F002")
                ticked_.insert(upperAscii(c.code));
    }
    reload(filter, progress);
}

void SalaryEntry::applySettings(const items::SalarySettings& settings, Progress& progress) {
    ticked_.clear();
    for (const std::string& code : settings.codes)
        ticked_.insert(upperAscii(code));
    ticked_.insert("F001");
    ticked_.insert("F002");
    showCodes_ = settings.showCodes;
    readDepartment(settings.department, false);
    lines_ = calc::loadFormulaLines(s_);
    reload({settings.department, settings.empNo, settings.empName}, progress);
}

items::SalarySettings SalaryEntry::settings() const {
    items::SalarySettings out;
    out.department = depNo_;
    out.empNo = filter_.empNo;
    out.empName = filter_.empName;
    out.showCodes = showCodes_;
    for (const ItemColumn& c : columns_)
        if (ticked_.count(upperAscii(c.code)))
            out.codes.push_back(c.code);
    return out;
}

void SalaryEntry::chooseDepartment(const std::string& depNo, Progress& progress) {
    const std::string dep = trim(depNo);
    readDepartment(dep, false);
    lines_ = calc::loadFormulaLines(s_);
    reload({.depNo = dep}, progress);
}

Outcome SalaryEntry::find(const std::string& empNo, const std::string& empName, Progress& progress) {
    const std::string no = trim(empNo), name = trim(empName);
    if (no.empty() && name.empty())
        return Outcome::refuse(kNoCondition, s_.productTitle, Icon::Exclamation, "txtQueryNo");
    const std::string prefix = s_.taskPrefix();
    std::string sql = "Select count(*) from " + periodTable(prefix, "Data") + " a," + periodTable(prefix, "Employee") +
                      " b where a.F_EmpNo=b.F_EmpNo";
    Params params;
    if (!no.empty()) {
        sql += " And a.F_EmpNo like ?";
        params.emplace_back(no + "%");
    }
    if (!name.empty()) {
        sql += " And b.F_EmpName like ?";
        params.emplace_back(name + "%");
    }
    if (s_.taskConn.scalar(sql, params).toInt() == 0)
        return Outcome::refuse(kNoSuchPerson, s_.productTitle, Icon::Exclamation, "txtQueryNo");
    lines_ = calc::loadFormulaLines(s_);
    reload({.empNo = no, .empName = name}, progress);
    return Outcome::success();
}

void SalaryEntry::readDepartment(const std::string& depNo, bool exact) {
    const std::string prefix = s_.taskPrefix();
    depNo_ = depNo;
    if (depNo.empty()) {
        depName_ = GetDepName(s_, "", 0);
    } else {
        const Recordset rs = s_.taskConn.query(
            "Select F_DepName From " + periodTable(prefix, "Depart") + " Where F_DepNo like ? order by F_DepNo",
            {depNo + "%"});
        depName_ = rs.empty() ? std::string() : trim(rs.row(0)[0].toString());
    }
    const std::string count = "Select count(*) from " + periodTable(prefix, "Employee");
    const Value n = depNo.empty() ? s_.taskConn.scalar(count)
                    : exact       ? s_.taskConn.scalar(count + " where F_DepNo=?", {depNo})
                                  : s_.taskConn.scalar(count + " where F_DepNo like ?", {depNo + "%"});
    headcount_ = headcountText(n.toInt());
}

void SalaryEntry::reload(const GridFilter& filter, Progress& progress) {
    filter_ = filter;
    LoadedGrid loaded = loadWorkGrid(s_, filter, false);
    columns_ = std::move(loaded.columns);
    grid_ = std::move(loaded.grid);
    dataColumns_.clear();
    for (const std::string& c : s_.taskConn.columns(periodTable(s_.taskPrefix(), "Data")))
        dataColumns_.insert(upperAscii(c));
    formulaCodes_.clear();
    for (const calc::FormulaLine& line : lines_)
        if (!line.code.empty())
            formulaCodes_.insert(upperAscii(line.code));
    std::set<int> computed;
    for (const calc::FormulaLine& line : lines_) {
        computed.insert(grid_.columnOf(line.code));
        if (line.code == "F000") {
            computed.insert(grid_.columnOf("FFFE"));
            computed.insert(grid_.columnOf("FFFD"));
        }
    }
    computed.erase(-1);
    computedCols_.assign(computed.begin(), computed.end());
    loadedComputed_.clear();
    loadedComputed_.reserve(static_cast<std::size_t>(grid_.employeeCount()) * computedCols_.size());
    for (int r = calc::kFirstEmployeeRow; r < grid_.rows(); ++r)
        for (int c : computedCols_)
            loadedComputed_.push_back(grid_.cell(r, c));

    progress.begin("  正在准备数据，请稍候...", static_cast<int>(lines_.size()));
    struct End {
        Progress& p;
        ~End() { p.end(); }
    } end{progress};
    calc::Exceptions exceptions(s_);
    calc::RecalculateLines(lines_, grid_, -1, settings_, settings_.exceptions ? &exceptions : nullptr, &progress);
}

bool SalaryEntry::columnVisible(int c) const {
    if (c < 0 || c >= grid_.cols())
        return false;
    const std::string code = upperAscii(column(c).code);
    if (settings_.roundOffMode == 0 && isRoundOffCode(code))
        return false;
    return ticked_.count(code) > 0;
}

int SalaryEntry::columnTwips(int c) const { return columnVisible(c) ? column(c).width * 55 : 0; }

bool SalaryEntry::hasFormula(const std::string& code) const {
    const std::string c = upperAscii(trim(code));
    return !isRoundOffCode(c) && formulaCodes_.count(c) > 0;
}

bool SalaryEntry::editable(int r, int c) const {
    if (r < calc::kFirstEmployeeRow || r >= grid_.rows() || c < 3 || c >= grid_.cols())
        return false;
    const std::string code = upperAscii(column(c).code);
    if (!isItemCode(code) || items::isAccountCode(code) || hasFormula(code))
        return false;
    return code == "F000" || dataColumns_.count(code) > 0;
}

bool SalaryEntry::inputEditable(int r, int c) const {
    if (editable(r, c))
        return true;
    if (!settings_.exceptions || r < calc::kFirstEmployeeRow || r >= grid_.rows() || c < 3 || c >= grid_.cols())
        return false;
    const ItemColumn& item = column(c);
    const std::string code = upperAscii(item.code);
    return isItemCode(code) && hasFormula(code) && item.type == "数字";
}

std::pair<int, int> SalaryEntry::nextCell(int r, int c) const {
    for (int cc = c + 1; cc < grid_.cols(); ++cc)
        if (columnVisible(cc) && editable(r, cc))
            return {r, cc};
    if (r + 1 < grid_.rows())
        for (int cc = 0; cc < grid_.cols(); ++cc)
            if (columnVisible(cc) && editable(r + 1, cc))
                return {r + 1, cc};
    return {r, c};
}

int SalaryEntry::rowAbove(int r) const { return std::max(calc::kFirstEmployeeRow, r - 1); }

int SalaryEntry::rowBelow(int r) const { return r + 1 < grid_.rows() ? r + 1 : r; }

EditResult SalaryEntry::endEdit(int r, int c, const std::string& start, const std::string& entry) {
    if (!editable(r, c))
        return {false, start, Outcome::success()};
    return write(r, c, start, entry, Box::Grid);
}

EditResult SalaryEntry::endInputEdit(int r, int c, const std::string& start, const std::string& entry) {
    if (!inputEditable(r, c))
        return {false, start, Outcome::success()};
    return write(r, c, start, entry, Box::Input);
}

EditResult SalaryEntry::write(int r, int c, const std::string& start, const std::string& entry, Box box) {
    const ItemColumn& item = column(c);
    const std::string code = upperAscii(item.code);
    const std::string empNo = trim(grid_.cell(r, 0));
    const std::string data = periodTable(s_.taskPrefix(), "Data");
    const std::string update = "Update " + data + " Set " + items::checkedCode(code) + "=? Where F_EmpNo=?";
    const bool number = item.type == "数字";

    // A text item compares as typed: "01" over "1" is a change there.
    if (number ? comparisonText(entry) == comparisonText(start) : entry == start)
        return {false, start, Outcome::success()};

    if (!number) {
        const std::string text = entry.empty() ? std::string(" ") : entry;
        s_.taskConn.execute(update, {text, empNo});
        grid_.cell(r, c) = text;
        return {true, text, Outcome::success()};
    }

    auto refuse = [&](const char* message) {
        return EditResult{false, start, Outcome::refuse(message, s_.productTitle, Icon::Exclamation)};
    };
    // A "." far to the right is refused before the characters are looked
    // at; without one the same bound holds once the text is one number.
    if (entry.find('.') != std::string::npos && !amountTextFits(entry))
        return refuse(kTooRich);
    const char* illegal = box == Box::Input ? kIllegalInBox : kIllegal;
    if (entry.find_first_not_of("0123456789.-") != std::string::npos)
        return refuse(illegal);
    if (!entry.empty() && !isOneNumber(entry))
        return refuse(illegal);
    if (!amountTextFits(entry))
        return refuse(kTooRich);

    // An emptied formula item's cell gives the employee his formula back.
    const bool perEmployee = hasFormula(code);
    std::string shown;
    Value stored;
    if (perEmployee && entry.empty()) {
        stored = Value(-9999.0);
    } else {
        shown = formatNumber(entry.empty() ? 0.0 : readNumber(entry), item.precisionFormat());
        // 99999999.999 rounds up across the bound.
        if (!amountTextFits(shown))
            return refuse(kTooRich);
        stored = Value(readNumber(shown));
    }
    {
        Transaction t(s_.taskConn);
        if (!dataColumns_.count(code)) {
            if (code == "F000")
                s_.taskConn.execute("Alter Table " + data + " Add F000 Double");
            else
                items::addDataColumn(s_, code, " float ");
        }
        s_.taskConn.execute(update, {stored, empNo});
        t.commit();
    }
    dataColumns_.insert(code);
    grid_.cell(r, c) = shown;
    // A per-employee value of a formula item is what a fresh load shows.
    if (const auto k = std::find(computedCols_.begin(), computedCols_.end(), c); k != computedCols_.end())
        loadedComputed_[static_cast<std::size_t>(r - calc::kFirstEmployeeRow) * computedCols_.size() +
                        static_cast<std::size_t>(k - computedCols_.begin())] = shown;
    s_.curEmpNo = empNo;
    recalculateRow(r);
    return {true, grid_.cell(r, c), Outcome::success()};
}

void SalaryEntry::recalculateRow(int r) {
    if (r < calc::kFirstEmployeeRow || r >= grid_.rows())
        return;
    const std::size_t at = static_cast<std::size_t>(r - calc::kFirstEmployeeRow) * computedCols_.size();
    for (std::size_t k = 0; k < computedCols_.size(); ++k)
        grid_.cell(r, computedCols_[k]) = loadedComputed_[at + k];
    if (settings_.exceptions) {
        calc::Exceptions exceptions(s_, trim(grid_.cell(r, 0)));
        calc::RecalculateLines(lines_, grid_, r, settings_, &exceptions, nullptr);
    } else {
        calc::RecalculateLines(lines_, grid_, r, settings_, nullptr, nullptr);
    }
}

calc::EmployeeTrace SalaryEntry::traceRow(int r) {
    if (r < calc::kFirstEmployeeRow || r >= grid_.rows())
        return {};
    // The row with its computed cells as loaded, as recalculateRow starts.
    calc::WorkGrid copy = calc::rowCopy(grid_, r);
    const std::size_t at = static_cast<std::size_t>(r - calc::kFirstEmployeeRow) * computedCols_.size();
    for (std::size_t k = 0; k < computedCols_.size(); ++k)
        copy.cell(calc::kFirstEmployeeRow, computedCols_[k]) = loadedComputed_[at + k];
    if (settings_.exceptions) {
        calc::Exceptions exceptions(s_, trim(copy.cell(calc::kFirstEmployeeRow, 0)));
        return calc::traceRow(lines_, std::move(copy), settings_, &exceptions);
    }
    return calc::traceRow(lines_, std::move(copy), settings_, nullptr);
}

std::string SalaryEntry::traceText(int r) {
    const calc::EmployeeTrace t = traceRow(r);
    return calc::traceText(t, itemNames(s_), traceHeading(s_, t, settings_.exceptions));
}

} // namespace gzgl::monthly
