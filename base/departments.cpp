#include "base/departments.h"

#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace gzgl::base {

namespace {

// F_DepName is varchar(32).
constexpr std::size_t kNameBytes = 32;

std::string departTable(const Session& s) { return periodTable(s.taskPrefix(), "Depart"); }
std::string employeeTable(const Session& s) { return periodTable(s.taskPrefix(), "Employee"); }
std::string depTypeTable(const Session& s) { return periodTable(s.taskPrefix(), "DepType"); }

Outcome refuse(const Session& s, const char* message, Icon icon, const char* focus = "") {
    return Outcome::refuse(message, s.productTitle, icon, focus);
}

// A name that cannot be stored as typed, refused on the name box.
std::optional<Outcome> nameRefused(const Session& s, const std::string& name) {
    std::string why = nameRefusal(name, "部门名称", kNameBytes);
    if (why.empty())
        return std::nullopt;
    return Outcome::refuse(std::move(why), s.productTitle, Icon::Exclamation, "txtName");
}

Outcome failure(const Session& s, const char* what, const std::exception& e) {
    return Outcome::refuse(std::string(what) + "\n" + e.what(), s.productTitle, Icon::Critical);
}

// A question answered No: nothing done, nothing to show.
Outcome declined() { return Outcome::refuse({}, {}, Icon::None); }



bool departmentExists(Session& s, const std::string& code) {
    return !s.taskConn.query("Select F_DepNo From " + departTable(s) + " Where F_DepNo=?", {code}).empty();
}

void writeScheme(Session& s, const CodingScheme& scheme) {
    s.sysConn.execute("Update GZSysInfo set F_BMJB=? where F_ID=?", {scheme.text(), s.curTaskID});
}

// The employee count per department code, read once: the columns compare
// without regard to case, so the codes are merged upper-cased.
std::unordered_map<std::string, std::int64_t> employeeCounts(Session& s) {
    std::unordered_map<std::string, std::int64_t> counts;
    const Recordset rs =
        s.taskConn.query("select F_DepNo, count(F_EmpNo) from " + employeeTable(s) + " group by F_DepNo");
    for (std::size_t i = 0; i < rs.size(); ++i)
        counts[upperAscii(rs.row(i)[0].toString())] += rs.row(i)[1].toInt();
    return counts;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && upperAscii(text.substr(0, prefix.size())) == upperAscii(prefix);
}

// The nodes of every department in code order. A department hangs under the
// latest department listed of the level above, which in code order is its
// parent; a department whose parent row has gone (a deleted department's
// sub-departments stay) hangs under the root instead of under a stranger.
std::vector<TreeNode> fullTree(Session& s, bool markRed) {
    std::vector<TreeNode> nodes{{kRootKey, kDepRootText, "", "", 0, false}};
    const Recordset rs =
        s.taskConn.query("Select F_DepNo,F_DepName,F_DepClass,F_End From " + departTable(s) + " Order By F_DepNo");
    if (rs.empty())
        return nodes;
    std::unordered_map<std::string, std::int64_t> counts;
    if (markRed)
        counts = employeeCounts(s);
    std::optional<CodingScheme> scheme;
    std::array<std::string, 6> latest;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        TreeNode n;
        n.code = trim(rs.row(i)[0].toString());
        int level = static_cast<int>(rs.row(i)[2].toInt());
        if (level < 1 || level > 5) {
            // A row without a usable level: its code length names it.
            if (!scheme)
                scheme = readScheme(s);
            level = std::max(1, scheme->levelEnding(static_cast<int>(charCount(n.code))));
        }
        n.level = level;
        n.key = nodeKey(level, n.code);
        n.text = n.code + " " + trim(rs.row(i)[1].toString());
        const std::string& above = latest[static_cast<std::size_t>(level - 1)];
        n.parentKey = level == 1 || above.empty() || !startsWithNoCase(n.code, above) ? std::string(kRootKey)
                                                                                       : nodeKey(level - 1, above);
        latest[static_cast<std::size_t>(level)] = n.code;
        if (markRed) {
            const auto c = counts.find(upperAscii(n.code));
            n.red = rs.row(i)[3].toInt() == 1 && (c == counts.end() || c->second < 1);
        }
        nodes.push_back(std::move(n));
    }
    return nodes;
}

// Grid cells: Null as empty text, the integer columns as integer text.
std::string cellText(const Value& v, bool integer) {
    if (v.isNull())
        return {};
    return integer ? std::to_string(v.toInt()) : v.toString();
}

struct Column {
    const char* caption;
    const char* field;
    bool integer;
    int flag; // the frmSet flag of an optional column, -1 when always shown
};

// The employee columns shared by modes 1 and 2, up to the type.
const Column kEmployeeColumns[] = {
    {"员工编号", "F_EmpNo", false, -1},         {"员工姓名", "F_EmpName", false, -1},
    {"性别", "F_Sex", false, -1},               {"民族", "F_Nation", false, 0},
    {"身份证号", "F_CID", false, 1},            {"银行账号", "F_AccNo", false, -1},
    {"养老保险账号", "F_OldNo", false, 2},      {"住房公积金账号", "F_HouseNo", false, 3},
    {"其他账号1", "F_OtherNo1", false, 4},      {"其他账号2", "F_OtherNo2", false, 5},
    {"序号", "F_SortNo", true, 6},              {"转账属性", "F_Character", false, 6},
    {"员工类型", "F_EmpType", false, -1},
};

const Column kDepartmentColumns[] = {
    {"部门代码", "F_DepNo", false, -1}, {"部门名称", "F_DepName", false, -1}, {"部门类型号", "F_TypeNo", false, 0},
    {"级别", "F_DepClass", true, 1},    {"是否末级", "F_End", true, 2},       {"借方科目", "F_Subject", false, -1},
    {"贷方科目", "F_OppSubject", false, -1},
};

template <std::size_t N>
bool shown(const Column& c, bool all, const std::array<bool, N>& flags) {
    return c.flag < 0 || all || flags[static_cast<std::size_t>(c.flag)];
}

// Fills the grid's captions, flags and rows from a query whose fields are
// the columns in order.
void fill(RosterGrid& g, const std::vector<Column>& cols, const Recordset& rs) {
    g.rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string>& row = g.rows.emplace_back();
        row.reserve(cols.size());
        for (std::size_t c = 0; c < cols.size(); ++c)
            row.push_back(cellText(rs.row(i)[c], cols[c].integer));
    }
}

std::string fieldList(const std::vector<Column>& cols) {
    std::string out;
    for (const Column& c : cols)
        out += (out.empty() ? "" : ",") + std::string(c.field);
    return out;
}

} // namespace

CodingScheme CodingScheme::parse(std::string_view text) {
    CodingScheme c;
    for (std::size_t i = 0; i < c.lengths.size() && i < text.size(); ++i)
        if (text[i] >= '0' && text[i] <= '9')
            c.lengths[i] = text[i] - '0';
    return c;
}

std::string CodingScheme::text() const {
    std::string t;
    for (int l : lengths)
        t += static_cast<char>('0' + l);
    return t;
}

int CodingScheme::defined() const {
    int d = 0;
    while (d < 5 && lengths[static_cast<std::size_t>(d)] != 0)
        ++d;
    return d;
}

int CodingScheme::total() const { return parentLength(defined() + 1); }

int CodingScheme::levelEnding(int len) const {
    int sum = 0;
    for (int n = 1; n <= defined(); ++n) {
        sum += lengths[static_cast<std::size_t>(n - 1)];
        if (sum == len)
            return n;
    }
    return 0;
}

int CodingScheme::parentLength(int level) const {
    int sum = 0;
    for (int n = 1; n < level && n <= 5; ++n)
        sum += lengths[static_cast<std::size_t>(n - 1)];
    return sum;
}

CodingScheme readScheme(Session& s) {
    return CodingScheme::parse(
        s.sysConn.scalar("Select F_BMJB from GZSysInfo where F_ID=?", {s.curTaskID}).toString());
}

std::vector<TreeNode> departmentTree(Session& s) { return fullTree(s, true); }

std::vector<TreeNode> departmentPickerTree(Session& s) { return fullTree(s, false); }

std::vector<TreeNode> leafDepartmentTree(Session& s) {
    std::vector<TreeNode> nodes{{kRootKey, kDepRootText, "", "", 0, false}};
    const Recordset rs = s.taskConn.query("Select F_DepNo,F_DepName From " + departTable(s) +
                                          " Where F_End=1 Order By F_DepNo");
    if (rs.empty())
        return nodes;
    const auto counts = employeeCounts(s);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        TreeNode n;
        n.code = trim(rs.row(i)[0].toString());
        n.level = 1;
        n.key = nodeKey(1, n.code);
        n.text = n.code + " " + trim(rs.row(i)[1].toString());
        n.parentKey = kRootKey;
        const auto c = counts.find(upperAscii(n.code));
        n.red = c == counts.end() || c->second < 1;
        nodes.push_back(std::move(n));
    }
    return nodes;
}

RosterGrid rosterGrid(Session& s, RosterMode mode, const std::string& code, bool sortBySortNo) {
    RosterGrid g;
    const RosterColumns& rc = s.rosterColumns;
    if (mode == RosterMode::Departments) {
        const std::vector<Column> cols(std::begin(kDepartmentColumns), std::end(kDepartmentColumns));
        for (const Column& c : cols) {
            g.captions.push_back(c.caption);
            g.visible.push_back(shown(c, rc.depAll, rc.dep));
        }
        fill(g, cols,
             s.taskConn.query("Select " + fieldList(cols) + " From " + departTable(s) +
                                  " Where F_DepNo Like ? Escape '\\' Order By F_DepNo",
                              {likeEscaped(code) + "_%"}));
        return g;
    }

    std::vector<Column> cols(std::begin(kEmployeeColumns), std::end(kEmployeeColumns));
    // Ties keep a fixed order by code, so the same data always shows alike.
    const std::string order = sortBySortNo ? " Order By F_DepNo,F_SortNo,F_EmpNo" : " Order By F_DepNo,F_EmpNo";
    if (mode == RosterMode::Employees) {
        cols.push_back({"入职时间", "F_LashMonth", false, -1});
        if (IsNotCalcOn(s))
            cols.push_back({"不计算", "F_NotCalc", false, -1});
        for (const Column& c : cols) {
            g.captions.push_back(c.caption);
            g.visible.push_back(shown(c, rc.empAll, rc.emp));
        }
        fill(g, cols,
             s.taskConn.query("Select " + fieldList(cols) + " From " + employeeTable(s) + " Where F_DepNo=?" + order,
                              {code}));
        return g;
    }

    // Every employee with its department's name: the names are read once
    // into a map (the first row of a code wins) instead of one lookup per
    // employee.
    g.captions = {"部门编号", "部门名称"};
    g.visible = {true, true};
    for (const Column& c : cols) {
        g.captions.push_back(c.caption);
        g.visible.push_back(shown(c, rc.empAll, rc.emp));
    }
    std::unordered_map<std::string, std::string> names;
    const Recordset deps = s.taskConn.query("Select F_DepNo,F_DepName From " + departTable(s) + " Order By rowid");
    for (std::size_t i = 0; i < deps.size(); ++i)
        names.emplace(upperAscii(deps.row(i)[0].toString()), deps.row(i)[1].toString());
    const Recordset rs = s.taskConn.query("Select F_DepNo," + fieldList(cols) + " From " + employeeTable(s) +
                                          (sortBySortNo ? order : std::string(" Order By F_EmpNo")));
    g.rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string>& row = g.rows.emplace_back();
        row.reserve(cols.size() + 2);
        const Value& dep = rs.row(i)[0];
        row.push_back(cellText(dep, false));
        const auto n = dep.isNull() ? names.end() : names.find(upperAscii(dep.toString()));
        row.push_back(n == names.end() ? std::string() : n->second);
        for (std::size_t c = 0; c < cols.size(); ++c)
            row.push_back(cellText(rs.row(i)[c + 1], cols[c].integer));
    }
    return g;
}

std::vector<std::string> departmentTypeNames(Session& s) {
    std::vector<std::string> out;
    const Recordset rs = s.taskConn.query("Select F_TypeNo,F_TypeName from " + depTypeTable(s) + " Order By rowid");
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(rs.row(i)[1].toString());
    return out;
}

namespace {

// The checks of a code whose parent is its first parentLen characters:
// no such department yet, and a parent that exists and has no employees,
// or no parent where none is needed (a level-1 code, or the first code of
// all).
Outcome validateCode(Session& s, const CodingScheme& scheme, const std::string& code, int parentLen) {
    if (departmentExists(s, code))
        return refuse(s, "该部门编码已存在！", Icon::Exclamation, "txtCode");
    const std::string parent = leftChars(code, static_cast<std::size_t>(parentLen));
    if (parentLen > 0 && departmentExists(s, parent)) {
        if (!s.taskConn.query("Select F_EmpNo from " + employeeTable(s) + " where F_DepNo=?", {parent}).empty())
            return refuse(s, "上级部门有员工，请先删除！", Icon::Exclamation, "txtCode");
        return Outcome::success();
    }
    const bool unset = scheme.lengths == std::array<int, 5>{};
    if (static_cast<int>(charCount(code)) == scheme.lengths[0] || unset)
        return Outcome::success();
    return refuse(s, "输入的编码有误！", Icon::Exclamation, "txtCode");
}

void insertDepartment(Session& s, const std::string& code, const std::string& name, const std::string& typeName,
                      int level, int parentLen) {
    const std::string parent = leftChars(code, static_cast<std::size_t>(parentLen));
    Transaction t(s.taskConn);
    if (parentLen > 0 && departmentExists(s, parent))
        s.taskConn.execute("Update " + departTable(s) + " set F_End=0 where F_DepNo=?", {parent});
    std::string type;
    if (!trim(typeName).empty())
        type = s.taskConn.scalar("Select F_TypeNo from " + depTypeTable(s) + " where F_TypeName=?", {trim(typeName)})
                   .toString();
    s.taskConn.execute("Insert into " + departTable(s) +
                           "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) values(?,?,?,?,1)",
                       {code, name, type, level});
    t.commit();
}

} // namespace

AddDepartmentResult addDepartment(Session& s, Prompt& p, const std::string& code, const std::string& name,
                                  const std::string& typeName) {
    AddDepartmentResult r;
    r.code = trim(code);
    const std::string depName = trim(name);
    CodingScheme scheme;
    try {
        scheme = readScheme(s);
    } catch (const DbError& e) {
        r.outcome = failure(s, "增加部门失败！", e);
        return r;
    }
    const int len = static_cast<int>(charCount(r.code));
    const int d = scheme.defined();
    const int t = scheme.total();

    auto attempt = [&]() -> Outcome {
        if (std::optional<Outcome> o = nameRefused(s, depName))
            return *o;
        int level = scheme.levelEnding(len);
        int parentLen = 0;
        // Other screens read a department's code up to the first blank, so a
        // code with a blank could never be chosen again.
        if (len == 0 || r.code.find(' ') != std::string::npos || (len <= t && level == 0))
            return refuse(s, "输入的编码信息出错！", Icon::Critical, "txtCode");
        if (level > 0) {
            parentLen = scheme.parentLength(level);
            if (Outcome v = validateCode(s, scheme, r.code, parentLen); !v.ok)
                return v;
        } else {
            if (d == 5)
                return refuse(s, "设定的编码长度超出规定范围！", Icon::Critical, "txtCode");
            parentLen = t;
            if (Outcome v = validateCode(s, scheme, r.code, parentLen); !v.ok)
                return v;
            if (len - t > 5)
                return refuse(s, "本编码超出规定范围！", Icon::Exclamation, "txtCode");
            const std::string ask =
                "是否确定第" + std::to_string(d + 1) + "级的长度为" + std::to_string(len - t) + "位？";
            if (!p.askYesNo(ask, s.productTitle, Icon::Question))
                return declined();
            level = d + 1;
        }
        insertDepartment(s, r.code, depName, typeName, level, parentLen);
        if (level == d + 1)
            scheme.lengths[static_cast<std::size_t>(d)] = len - t;
        r.added = true;
        r.level = level;
        return Outcome::success();
    };

    try {
        r.outcome = attempt();
    } catch (const DbError& e) {
        r.outcome = failure(s, "增加部门失败！", e);
    }
    // Written in every case: unchanged unless a new level was defined.
    try {
        writeScheme(s, scheme);
    } catch (const DbError& e) {
        if (r.outcome.ok)
            r.outcome = failure(s, "保存部门编码方案失败！", e);
    }
    r.scheme = scheme.text();
    return r;
}

std::optional<DepartmentRecord> loadDepartment(Session& s, const std::string& code) {
    const Recordset rs = s.taskConn.query(
        "Select F_DepNo,F_DepName,F_TypeNo,F_Subject,F_OppSubject from " + departTable(s) + " where F_DepNo=?",
        {code});
    if (rs.empty())
        return std::nullopt;
    return DepartmentRecord{rs.row(0)[0].toString(), rs.row(0)[1].toString(), rs.row(0)[2].toString(),
                            rs.row(0)[3].toString(), rs.row(0)[4].toString()};
}

std::optional<TypeSubjects> departmentTypeSubjects(Session& s, const std::string& typeNo) {
    const Recordset rs = s.taskConn.query(
        "Select F_Subject,F_OppSubject from " + depTypeTable(s) + " where F_TypeNo=?", {trim(typeNo)});
    if (rs.empty())
        return std::nullopt;
    return TypeSubjects{rs.row(0)[0].toString(), rs.row(0)[1].toString()};
}

Outcome modifyDepartment(Session& s, const std::string& code, const std::string& name, const std::string& typeNo) {
    const std::string type = trim(typeNo);
    const std::string depName = trim(name);
    try {
        if (!departmentExists(s, code))
            return refuse(s, "不存在此部门！", Icon::Exclamation);
        if (!type.empty() &&
            s.taskConn.query("Select F_TypeNo from " + depTypeTable(s) + " where F_TypeNo=?", {type}).empty())
            return refuse(s, "不存在此部门类型！", Icon::Exclamation, "txtType");
        if (std::optional<Outcome> o = nameRefused(s, depName))
            return *o;
        // A cleared type is stored as a single blank, telling it apart from
        // a department that never had one.
        s.taskConn.execute("Update " + departTable(s) + " set F_DepName=?,F_TypeNo=? where F_DepNo=?",
                           {depName, type.empty() ? std::string(" ") : type, code});
    } catch (const DbError& e) {
        return failure(s, "修改部门失败！", e);
    }
    return Outcome::success();
}

Outcome deleteDepartment(Session& s, Prompt& p, const std::string& code) {
    if (code.empty())
        return declined();
    CodingScheme scheme;
    try {
        if (!departmentExists(s, code))
            return refuse(s, "不存在此部门！", Icon::Exclamation);
        const auto employees = s.taskConn
                                   .scalar("Select Count(*) From " + employeeTable(s) +
                                               " Where F_DepNo Like ? Escape '\\'",
                                           {likeEscaped(code) + "%"})
                                   .toInt();
        if (employees != 0)
            return refuse(s, "本部门有员工，不能删除！", Icon::Exclamation);
        scheme = readScheme(s);
    } catch (const DbError& e) {
        return failure(s, "删除部门失败！", e);
    }
    if (!p.askYesNo("您确定要删除本部门吗？", s.productTitle, Icon::Question))
        return declined();

    const int len = static_cast<int>(charCount(code));
    int level = scheme.levelEnding(len);
    CodingScheme after = scheme;
    try {
        Transaction t(s.taskConn);
        if (level == 0)
            level = static_cast<int>(
                s.taskConn.scalar("Select F_DepClass From " + departTable(s) + " Where F_DepNo=?", {code}).toInt());
        s.taskConn.execute("Delete From " + departTable(s) + " Where F_DepNo=?", {code});
        const int parentLen = level > 1 ? scheme.parentLength(level) : 0;
        if (parentLen > 0) {
            const std::string parent = leftChars(code, static_cast<std::size_t>(parentLen));
            const auto subs = s.taskConn
                                  .scalar("Select Count(*) From " + departTable(s) +
                                              " Where F_DepNo Like ? Escape '\\'",
                                          {likeEscaped(parent) + "_%"})
                                  .toInt();
            if (subs == 0)
                s.taskConn.execute("Update " + departTable(s) + " Set F_End=1 Where F_DepNo=?", {parent});
        }
        if (s.taskConn.scalar("Select Count(*) From " + departTable(s)).toInt() == 0) {
            after = CodingScheme{};
        } else if (len == scheme.total() && level == scheme.defined() && level > 1 &&
                   s.taskConn.scalar("Select Count(*) From " + departTable(s) + " Where length(F_DepNo)=?", {len})
                           .toInt() == 0) {
            // The deepest level has gone: the next department entered at that
            // depth defines its length anew.
            for (int n = level; n <= 5; ++n)
                after.lengths[static_cast<std::size_t>(n - 1)] = 0;
        }
        t.commit();
    } catch (const DbError& e) {
        return failure(s, "删除部门失败！", e);
    }
    if (after.text() != scheme.text()) {
        try {
            writeScheme(s, after);
        } catch (const DbError& e) {
            return failure(s, "保存部门编码方案失败！", e);
        }
    }
    return Outcome::success();
}

} // namespace gzgl::base
