#include "accounting/rules.h"

#include "core/schema.h"
#include "core/text.h"

#include <set>

namespace gzgl::accounting {

namespace {

bool onlyChars(const std::string& text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

RuleCheck refuse(const Session& s, const std::string& message, int rule, RuleColumn column) {
    return {Outcome::refuse(message, s.productShortName, Icon::Exclamation, "msfForm"), rule, column};
}

int daysIn(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool validDate(const VoucherDate& d) {
    return d.year >= 1000 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysIn(d.year, d.month);
}

std::set<std::string> trimmedColumn(Connection& c, const std::string& sql) {
    std::set<std::string> out;
    const Recordset rs = c.query(sql);
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.insert(trim(rs.row(i)[0].toString()));
    return out;
}

} // namespace

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = text.find(',', pos);
        std::string piece =
            trim(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
        if (!piece.empty())
            out.push_back(std::move(piece));
        if (comma == std::string::npos)
            return out;
        pos = comma + 1;
    }
}

std::optional<VoucherDate> parseVoucherDate(const std::string& year, const std::string& month,
                                            const std::string& day) {
    const std::string y = trim(year), m = trim(month), d = trim(day);
    if (y.size() != 4 || !allDigits(y) || m.empty() || m.size() > 2 || !allDigits(m) || d.empty() ||
        d.size() > 2 || !allDigits(d))
        return std::nullopt;
    const VoucherDate out{std::stoi(y), std::stoi(m), std::stoi(d)};
    if (!validDate(out))
        return std::nullopt;
    return out;
}

std::vector<TransferRule> loadRules(Session& s) {
    const Recordset rs =
        s.taskConn.query("Select F_Dep,F_Item,F_Character,F_ZY,F_Subject,F_OppSubject,F_PZH from " +
                         periodTable(s.taskPrefix(), "ZZ") + " order by F_ID");
    std::vector<TransferRule> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& r = rs.row(i);
        out.push_back({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(), r[4].toString(),
                       r[5].toString(), r[6].isNull() ? std::string() : r[6].toString()});
    }
    return out;
}

TransferRule newRule(const Session& s) {
    TransferRule r;
    r.summary = "计提" + s.curPeriod.substr(0, 4) + "年" + s.curPeriod.substr(4, 2) + "月工资";
    return r;
}

RuleCheck checkRules(Session& s, AccountingStore& store, const std::vector<TransferRule>& rules,
                     const std::optional<VoucherDate>& date) {
    if (date) {
        if (!validDate(*date))
            return refuse(s, kBadDate, -1, RuleColumn::None);
        if (YearMonth{date->year, date->month}.periodText() < s.curPeriod)
            return refuse(s, kDateTooEarly, -1, RuleColumn::None);
    }
    if (rules.empty())
        return {};

    const std::string prefix = s.taskPrefix();
    const std::set<std::string> departments =
        trimmedColumn(s.taskConn, "Select F_DepNo from " + periodTable(prefix, "Depart"));
    std::set<std::string> items =
        trimmedColumn(s.taskConn, "Select F_Code from " + periodTable(prefix, "Item"));
    const std::set<std::string> reserved = {"FFFF", "FFFE", "FFFD"};
    items.insert(reserved.begin(), reserved.end());
    std::optional<YearMonth> period;

    for (int i = 0; i < static_cast<int>(rules.size()); ++i) {
        const TransferRule& r = rules[static_cast<std::size_t>(i)];

        const std::string deps = trim(r.departments);
        if (!onlyChars(deps, "0123456789,"))
            return refuse(s, "含有非法部门代码！", i, RuleColumn::Departments);
        const std::vector<std::string> codes = splitList(deps);
        if (codes.empty())
            return refuse(s, "含有非法部门代码！", i, RuleColumn::Departments);
        for (const std::string& c : codes)
            if (!departments.count(c))
                return refuse(s, "含有非法部门代码！", i, RuleColumn::Departments);
        for (std::size_t a = 0; a < codes.size(); ++a)
            for (std::size_t b = a + 1; b < codes.size(); ++b)
                if (codes[a] == codes[b])
                    return refuse(s, "部门编码有重复，请维护！", i, RuleColumn::Departments);
        // Both codes exist, so a shorter code that begins a longer one ends
        // at a level of the coding scheme: it is that department's parent
        // or an ancestor further up.
        for (const std::string& a : codes)
            for (const std::string& b : codes)
                if (a.size() < b.size() && b.starts_with(a))
                    return refuse(s, "含有上下级关系的部门编码！", i, RuleColumn::Departments);

        const std::string itemText = trim(r.items);
        const std::vector<std::string> itemCodes = splitList(itemText);
        if (itemCodes.empty())
            return refuse(s, "工资项目不能为空！", i, RuleColumn::Items);
        // Item codes are "F" and digits; the carry codes FFFE and FFFD are
        // accepted as they stand, although they hold other letters.
        for (const std::string& code : itemCodes)
            if (!reserved.count(code) && !onlyChars(code, "0123456789F"))
                return refuse(s, "公式含有非法字符！", i, RuleColumn::Items);
        for (const std::string& code : itemCodes)
            if (!items.count(code))
                return refuse(s, "公式中含有未设置的工资项目！", i, RuleColumn::Items);

        if (trim(r.summary).empty())
            return refuse(s, "摘要不能为空！", i, RuleColumn::Summary);
        if (trim(r.debit).empty())
            return refuse(s, "借方科目不能为空！", i, RuleColumn::Debit);
        if (trim(r.credit).empty())
            return refuse(s, "贷方科目不能为空！", i, RuleColumn::Credit);
        const std::string number = trim(r.number);
        if (number.empty())
            return refuse(s, "凭证号不能为空！", i, RuleColumn::Number);
        // Nine digits keep the number an integer on both sides.
        if (!allDigits(number) || number.size() > 9)
            return refuse(s, "公式含有非法字符！", i, RuleColumn::Number);

        if (!period) {
            period = store.currentPeriod();
            if (!period)
                return refuse(s, kWrongSetMessage, i, RuleColumn::Debit);
        }
        for (const auto& [code, column] :
             {std::pair{trim(r.debit), RuleColumn::Debit}, std::pair{trim(r.credit), RuleColumn::Credit}}) {
            const std::optional<Account> a = store.account(*period, code);
            if (!a)
                return refuse(s, "没有找到本科目！", i, column);
            if (!a->leaf)
                return refuse(s, "科目" + code + "不为最明细,请修改！", i, column);
        }
    }
    return {};
}

RuleCheck saveRules(Session& s, AccountingStore& store, const std::vector<TransferRule>& rules) {
    RuleCheck check = checkRules(s, store, rules, std::nullopt);
    if (!check.outcome.ok)
        return check;
    const std::string zz = periodTable(s.taskPrefix(), "ZZ");
    Transaction t(s.taskConn);
    s.taskConn.execute("Delete from " + zz);
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const TransferRule& r = rules[i];
        s.taskConn.execute("Insert Into " + zz +
                               "(F_ID,F_Dep,F_Item,F_Character,F_ZY,F_Subject,F_OppSubject,F_PZH) "
                               "values(?,?,?,?,?,?,?,?)",
                           {static_cast<int>(i + 1), trim(r.departments), trim(r.items), trim(r.attributes),
                            r.summary, trim(r.debit), trim(r.credit), std::stoi(trim(r.number))});
    }
    t.commit();
    return {Outcome{true, kRulesSaved, s.productShortName, Icon::Information, {}}, -1, RuleColumn::None};
}

} // namespace gzgl::accounting
