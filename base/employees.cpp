#include "base/employees.h"

#include "base/tree.h"
#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "items/pickers.h"

#include <cmath>
#include <limits>

namespace gzgl::base {

namespace {

std::string employeeTable(const Session& s) { return periodTable(s.taskPrefix(), "Employee"); }
std::string dataTable(const Session& s) { return periodTable(s.taskPrefix(), "Data"); }
std::string departTable(const Session& s) { return periodTable(s.taskPrefix(), "Depart"); }
std::string empTypeTable(const Session& s) { return periodTable(s.taskPrefix(), "EmpType"); }
std::string itemTable(const Session& s) { return periodTable(s.taskPrefix(), "Item"); }
std::string formulaTable(const Session& s) { return periodTable(s.taskPrefix(), "Formula"); }

Outcome refuse(const Session& s, const char* message, Icon icon, const char* focus) {
    return Outcome::refuse(message, s.productTitle, icon, focus);
}

Outcome failure(const Session& s, const char* what, const std::exception& e) {
    return Outcome::refuse(std::string(what) + "\n" + e.what(), s.productTitle, Icon::Critical);
}

// The joining-date check's refusal as the save shows it, under the title.
Outcome joiningDateRefusal(const Session& s, const std::string& date) {
    Outcome o = checkJoiningDate(date);
    o.title = s.productTitle;
    return o;
}

// F_EmpName is varchar(32).
constexpr std::size_t kNameBytes = 32;

// A name that cannot be stored as typed, refused on the name box.
Outcome nameRefused(const Session& s, const std::string& name) {
    std::string why = nameRefusal(name, "员工姓名", kNameBytes);
    if (why.empty())
        return Outcome::success();
    return Outcome::refuse(std::move(why), s.productTitle, Icon::Exclamation, "txtEmpName");
}

// Not done and nothing to show: an empty code, a question answered No.
Outcome quietly() { return Outcome::refuse({}, {}, Icon::None); }


// A plain decimal number: digits with at most one '.', at least one digit,
// no sign or exponent, few enough significant digits for a double to hold
// exactly, so that formatting never alters a typed code.
bool isPlainNumber(std::string_view t) {
    std::size_t digits = 0;
    std::size_t significant = 0;
    bool dot = false;
    for (char c : t) {
        if (c == '.') {
            if (dot)
                return false;
            dot = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            if (significant > 0 || c != '0')
                ++significant;
        } else {
            return false;
        }
    }
    return digits > 0 && significant <= 15;
}

// Accounts and the lists of the entry form: empty as one blank.
std::string blankIfEmpty(const std::string& v) { return trim(v).empty() ? std::string(" ") : v; }

// The sort number box holds a number; an empty box stores Null.
Value sortNoValue(const std::string& text) {
    const std::string t = trim(text);
    if (t.empty())
        return {};
    const double v = readNumber(t);
    if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return {};
    return Value(static_cast<std::int64_t>(std::llround(v)));
}

std::string cellText(const Value& v, bool integer) {
    if (v.isNull())
        return {};
    return integer ? std::to_string(v.toInt()) : v.toString();
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool isLeafDepartment(Session& s, const std::string& code) {
    return !s.taskConn.query("Select F_DepNo From " + departTable(s) + " Where F_DepNo=? and F_End=1", {code}).empty();
}

std::int64_t rowsWithCode(Session& s, const std::string& code) {
    return s.taskConn.scalar("Select count(*) From " + employeeTable(s) + " Where F_EmpNo=?", {code}).toInt();
}

// The first date item of the period gets the period's label in every data
// row, so a new employee's row carries it as the others do.
void labelDateItem(Session& s) {
    const Recordset rs =
        s.taskConn.query("Select F_Code From " + itemTable(s) + " Where F_Type=? Order By F_ID", {"日期"});
    if (rs.empty())
        return;
    const std::string code = trim(rs.row(0)[0].toString());
    if (!isItemCode(code) || !s.taskConn.hasColumn(dataTable(s), code))
        return;
    s.taskConn.execute("Update " + dataTable(s) + " Set " + code + "=?", {items::periodDateText(s.curPeriod)});
}

} // namespace

std::string formatEmployeeCode(Session& s, const std::string& typed) {
    const std::string t = trim(typed);
    if (s.empNoMask.empty() || !isPlainNumber(t))
        return t;
    return formatNumber(readNumber(t), s.empNoMask);
}

std::string nextEmployeeCode(Session& s) {
    const Value max = s.taskConn.scalar("Select Max(F_EmpNo) From " + employeeTable(s));
    double next = 1;
    if (!max.isNull())
        next = readNumber(leftChars(max.toString(), s.empNoMask.size())) + 1;
    if (s.empNoMask.empty())
        return decimalText(next);
    return formatNumber(next, s.empNoMask);
}

int nextSortNo(Session& s, const std::string& depNo) {
    const Value max = s.taskConn.scalar("Select Max(F_SortNo) From " + employeeTable(s) + " Where F_DepNo=?",
                                        {textBeforeBlank(depNo)});
    return max.isNull() ? 1 : static_cast<int>(max.toInt()) + 1;
}

std::vector<std::string> leafDepartmentEntries(Session& s) {
    std::vector<std::string> out;
    const Recordset rs =
        s.taskConn.query("Select F_DepNo,F_DepName From " + departTable(s) + " Where F_End=1 Order By F_DepNo");
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(trim(rs.row(i)[0].toString()) + "  " + trim(rs.row(i)[1].toString()));
    return out;
}

std::vector<std::string> employeeTypeEntries(Session& s) {
    std::vector<std::string> out;
    const Recordset rs =
        s.taskConn.query("Select F_TypeNo,F_TypeName From " + empTypeTable(s) + " Order By F_TypeNo");
    out.reserve(rs.size() + 1);
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(trim(rs.row(i)[0].toString()) + "   " + trim(rs.row(i)[1].toString()));
    out.emplace_back();
    return out;
}

const std::vector<std::string>& sexChoices() {
    static const std::vector<std::string> choices = {"", "男", "女"};
    return choices;
}

const std::vector<std::string>& nationChoices() {
    static const std::vector<std::string> choices = {"", "汉", "回", "满"};
    return choices;
}

bool isJoiningDate(const std::string& text) {
    const std::string t = trim(text);
    if (t.empty())
        return true;
    if (t.size() != 10 || t[4] != '.' || t[7] != '.')
        return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (i != 4 && i != 7 && (t[i] < '0' || t[i] > '9'))
            return false;
    const int y = std::stoi(t.substr(0, 4));
    const int m = std::stoi(t.substr(5, 2));
    const int d = std::stoi(t.substr(8, 2));
    if (y < 100 || m < 1 || m > 12 || d < 1)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = m == 2 && isLeapYear(y) ? 29 : days[m - 1];
    return d <= last;
}

Outcome checkJoiningDate(const std::string& text) {
    if (isJoiningDate(text))
        return Outcome::success();
    return Outcome::refuse("错误的日期", {}, Icon::Information, "txtRq1");
}

SaveEmployeeResult addEmployee(Session& s, const EmployeeFields& f) {
    SaveEmployeeResult r;
    r.code = trim(f.empNo);
    const std::string character = trim(f.character);
    if (!allDigits(character)) {
        r.outcome = refuse(s, "含有非法字符！", Icon::Exclamation, "txtCharacter");
        return r;
    }
    const std::string dep = textBeforeBlank(f.depNo);
    if (r.code.empty()) {
        r.outcome = refuse(s, "员工编码不能为空！", Icon::Critical, "txtEmpNo");
        return r;
    }
    r.code = formatEmployeeCode(s, r.code);
    if (dep.empty()) {
        r.outcome = refuse(s, "所属部门不能为空！", Icon::Critical, "cmbDep");
        return r;
    }
    const std::string name = trim(f.name);
    if (name.empty()) {
        r.outcome = refuse(s, "员工姓名不能为空！", Icon::Critical, "txtEmpName");
        return r;
    }
    if (Outcome o = nameRefused(s, name); !o.ok) {
        r.outcome = std::move(o);
        return r;
    }
    try {
        // Employees belong to leaf departments only.
        if (!isLeafDepartment(s, dep)) {
            r.outcome = refuse(s, "不存在此部门！", Icon::Exclamation, "cmbDep");
            return r;
        }
        if (!isJoiningDate(f.lashMonth)) {
            r.outcome = joiningDateRefusal(s, f.lashMonth);
            return r;
        }
        if (rowsWithCode(s, r.code) > 0) {
            r.outcome = refuse(s, "该员工编码已存在，请输入其他号码！", Icon::Exclamation, "txtEmpNo");
            return r;
        }
        const std::string type = textBeforeBlank(f.empType);
        const std::string date = trim(f.lashMonth);
        Transaction t(s.taskConn);
        s.taskConn.execute("Insert Into " + employeeTable(s) +
                               " (F_EmpNo,F_DepNo,F_EmpName,F_Sex,F_Nation,F_CID,F_AccNo,F_OldNo,F_HouseNo,"
                               "F_OtherNo1,F_OtherNo2,F_SortNo,F_Character,F_EmpType,F_NotCalc,F_LashMonth)"
                               " Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                           {r.code, dep, name, trim(f.sex), trim(f.nation), blankIfEmpty(f.cid), blankIfEmpty(f.accNo),
                            blankIfEmpty(f.oldNo), blankIfEmpty(f.houseNo), blankIfEmpty(f.otherNo1),
                            blankIfEmpty(f.otherNo2), sortNoValue(f.sortNo), character, type,
                            blankIfEmpty(f.notCalc), date.empty() ? std::string(" ") : date});
        s.taskConn.execute("Insert Into " + dataTable(s) + "(F_EmpNo) Values(?)", {r.code});
        labelDateItem(s);
        t.commit();
    } catch (const std::exception& e) {
        r.outcome = failure(s, "增加员工失败！", e);
        return r;
    }
    r.outcome = Outcome::success();
    return r;
}

std::optional<EmployeeFields> loadEmployee(Session& s, const std::string& code) {
    const std::string key = formatEmployeeCode(s, code);
    if (key.empty())
        return std::nullopt;
    const Recordset rs = s.taskConn.query(
        "Select F_EmpNo,F_DepNo,F_EmpName,F_Sex,F_Nation,F_CID,F_AccNo,F_OldNo,F_HouseNo,F_OtherNo1,F_OtherNo2,"
        "F_SortNo,F_Character,F_EmpType,F_NotCalc,F_LashMonth From " +
            employeeTable(s) + " Where F_EmpNo=? Order By rowid",
        {key});
    if (rs.empty())
        return std::nullopt;
    const std::vector<Value>& v = rs.row(0);
    EmployeeFields f;
    f.empNo = cellText(v[0], false);
    f.depNo = cellText(v[1], false);
    f.name = cellText(v[2], false);
    f.sex = cellText(v[3], false);
    f.nation = cellText(v[4], false);
    f.cid = cellText(v[5], false);
    f.accNo = cellText(v[6], false);
    f.oldNo = cellText(v[7], false);
    f.houseNo = cellText(v[8], false);
    f.otherNo1 = cellText(v[9], false);
    f.otherNo2 = cellText(v[10], false);
    f.sortNo = cellText(v[11], true);
    f.character = cellText(v[12], false);
    f.empType = cellText(v[13], false);
    if (IsNotCalcOn(s))
        f.notCalc = cellText(v[14], false);
    f.lashMonth = cellText(v[15], false);
    const std::string type = trim(f.empType);
    if (!type.empty()) {
        const Recordset t = s.taskConn.query(
            "Select F_TypeNo,F_TypeName From " + empTypeTable(s) + " Where F_TypeNo=? Order By rowid", {type});
        if (!t.empty())
            f.empType = trim(t.row(0)[0].toString()) + "   " + trim(t.row(0)[1].toString());
    }
    return f;
}

SaveEmployeeResult modifyEmployee(Session& s, const EmployeeFields& f) {
    SaveEmployeeResult r;
    r.code = formatEmployeeCode(s, f.empNo);
    if (r.code.empty()) {
        r.outcome = quietly();
        return r;
    }
    const std::string dep = textBeforeBlank(f.depNo);
    const std::string name = trim(f.name);
    const std::string sex = trim(f.sex);
    const std::string character = trim(f.character);
    try {
        const std::int64_t rows = rowsWithCode(s, r.code);
        if (rows >= 2) {
            r.outcome = refuse(s, "该员工编码已存在！", Icon::Exclamation, "txtEmpNo");
            return r;
        }
        if (dep.empty()) {
            r.outcome = refuse(s, "所属部门不能为空！", Icon::Critical, "cmbDep");
            return r;
        }
        if (!allDigits(character)) {
            r.outcome = refuse(s, "含有非法字符！", Icon::Exclamation, "txtCharacter");
            return r;
        }
        if (!isLeafDepartment(s, dep)) {
            r.outcome = refuse(s, "不存在此部门！", Icon::Exclamation, "cmbDep");
            return r;
        }
        if (name.empty()) {
            r.outcome = refuse(s, "员工姓名不能为空！", Icon::Critical, "txtEmpName");
            return r;
        }
        if (Outcome o = nameRefused(s, name); !o.ok) {
            r.outcome = std::move(o);
            return r;
        }
        if (!sex.empty() && sex != "男" && sex != "女") {
            r.outcome = refuse(s, "请将性别填写准确！", Icon::Exclamation, "cmbSex");
            return r;
        }
        if (!isJoiningDate(f.lashMonth)) {
            r.outcome = joiningDateRefusal(s, f.lashMonth);
            return r;
        }
        if (rows == 0) {
            r.outcome = refuse(s, "查无此人!", Icon::Exclamation, "txtEmpNo");
            return r;
        }
        Params params = {name,
                         dep,
                         sex,
                         trim(f.nation),
                         blankIfEmpty(f.cid),
                         blankIfEmpty(f.accNo),
                         blankIfEmpty(f.oldNo),
                         blankIfEmpty(f.houseNo),
                         blankIfEmpty(f.otherNo1),
                         blankIfEmpty(f.otherNo2),
                         sortNoValue(f.sortNo),
                         character,
                         textBeforeBlank(f.empType),
                         trim(f.lashMonth)};
        // The list is hidden while the exceptions are off: what is stored stays.
        params.reserve(params.size() + 2);
        std::string notCalc;
        if (IsNotCalcOn(s)) {
            notCalc = ",F_NotCalc=?";
            params.emplace_back(trim(f.notCalc));
        }
        params.emplace_back(r.code);
        s.taskConn.execute("Update " + employeeTable(s) +
                               " Set F_EmpName=?,F_DepNo=?,F_Sex=?,F_Nation=?,F_CID=?,F_AccNo=?,F_OldNo=?,"
                               "F_HouseNo=?,F_OtherNo1=?,F_OtherNo2=?,F_SortNo=?,F_Character=?,F_EmpType=?,"
                               "F_LashMonth=?" +
                               notCalc + " Where F_EmpNo=?",
                           params);
    } catch (const std::exception& e) {
        r.outcome = failure(s, "修改员工失败！", e);
        return r;
    }
    r.outcome = Outcome::success();
    return r;
}

Outcome deleteEmployee(Session& s, Prompt& p, const std::string& code) {
    const std::string key = trim(code);
    if (key.empty())
        return quietly();
    try {
        if (rowsWithCode(s, key) == 0)
            return refuse(s, "查无此人!", Icon::Exclamation, "");
        if (!p.askYesNo("您确定要删除本员工吗？", s.productTitle, Icon::Question))
            return quietly();
        Transaction t(s.taskConn);
        s.taskConn.execute("Delete From " + employeeTable(s) + " Where F_EmpNo=?", {key});
        s.taskConn.execute("Delete From " + dataTable(s) + " Where F_EmpNo=?", {key});
        t.commit();
    } catch (const std::exception& e) {
        return failure(s, "删除员工失败！", e);
    }
    return Outcome::success();
}

std::vector<items::ItemChoice> formulaItemChoices(Session& s) {
    std::vector<items::ItemChoice> out;
    const Recordset rs = s.taskConn.query(
        "Select f.F_Code,(Select i.F_Name From " + itemTable(s) +
        " i Where i.F_Code=f.F_Code Order By i.F_ID Limit 1) From (Select Distinct F_Code From " + formulaTable(s) +
        " Where F_Code Is Not Null) f Order By f.F_Code");
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::string code = trim(rs.row(i)[0].toString());
        if (!code.empty())
            out.push_back({std::move(code), trim(rs.row(i)[1].toString())});
    }
    return out;
}

std::string appendItemCode(const std::string& list, const std::string& code) {
    const std::string c = textBeforeBlank(code);
    if (c.empty())
        return list;
    for (const std::string& held : items::splitCodes(list))
        if (upperAscii(held) == upperAscii(c))
            return list;
    return appendChoice(list, c);
}

std::vector<std::string> employeeRosterRow(Session& s, const std::string& code) {
    std::string fields = "F_EmpNo,F_EmpName,F_Sex,F_Nation,F_CID,F_AccNo,F_OldNo,F_HouseNo,F_OtherNo1,F_OtherNo2,"
                         "F_SortNo,F_Character,F_EmpType,F_LashMonth";
    if (IsNotCalcOn(s))
        fields += ",F_NotCalc";
    const Recordset rs = s.taskConn.query(
        "Select " + fields + " From " + employeeTable(s) + " Where F_EmpNo=? Order By rowid", {trim(code)});
    std::vector<std::string> row;
    if (rs.empty())
        return row;
    constexpr std::size_t kSortNoColumn = 10;
    row.reserve(rs.row(0).size());
    for (std::size_t c = 0; c < rs.row(0).size(); ++c)
        row.push_back(cellText(rs.row(0)[c], c == kSortNoColumn));
    return row;
}

} // namespace gzgl::base
