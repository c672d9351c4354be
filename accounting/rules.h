// The transfer rules of a task ("本月工资转账公式设置") and their checks.
//
// Design note. The rules live in the current period's _ZZ table, one row
// per rule, F_ID its position from 1: F_Dep department codes ("," between
// them, each standing for the department and everything below it), F_Item
// the items whose sum is the rule's amount, F_Character the transfer
// attributes of the employees who take part (empty = all), F_ZY the
// summary, F_Subject / F_OppSubject the debit and credit accounts, F_PZH
// the voucher number within one transfer (rules with the same number make
// one voucher). Saving replaces the whole table in one transaction, so the
// rules are never half saved. The rules are checked before they are saved
// and again before a transfer, in a fixed order whose first failure is the
// one message the user sees; the accounts are looked up in the linked
// set's chart of its current period.
#pragma once

#include "accounting/store.h"
#include "core/prompt.h"
#include "core/session.h"

#include <optional>
#include <string>
#include <vector>

namespace gzgl::accounting {

struct TransferRule {
    std::string departments; // 部门
    std::string items;       // 工资项目
    std::string attributes;  // 转账属性
    std::string summary;     // 摘要
    std::string debit;       // 借方科目
    std::string credit;      // 贷方科目
    std::string number;      // 凭证号
    bool operator==(const TransferRule&) const = default;
};

// The grid's columns, for the field a refusal points at.
enum class RuleColumn { None, Departments, Items, Attributes, Summary, Debit, Credit, Number };
inline constexpr const char* kRuleHeadings = "部门|工资项目|转账属性|摘要|借方科目|贷方科目|凭证号";

struct RuleCheck {
    Outcome outcome;
    int rule = -1; // index of the refused rule, -1 for the date
    RuleColumn column = RuleColumn::None;
};

struct VoucherDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const VoucherDate&) const = default;
};

inline constexpr const char* kCheckingStatus = "  正在检查公式，请稍候...";
inline constexpr const char* kRulesSaved = "公式存贮完毕！";
inline constexpr const char* kBadDate = "转账日期不正确！";
inline constexpr const char* kDateTooEarly = "转账日期应大于当前工资日期！";

// The pieces of a ","-separated list, trimmed, empty pieces left out.
std::vector<std::string> splitList(const std::string& text);

// The date typed in the year, month and day fields: digits only, a
// four-digit year, a month from 1 to 12 and a day that exists in that
// month; nullopt otherwise.
std::optional<VoucherDate> parseVoucherDate(const std::string& year, const std::string& month,
                                            const std::string& day);

// The rules of the open task's current period in F_ID order.
std::vector<TransferRule> loadRules(Session& s);

// A new rule as "增加" appends it: empty but for the summary "计提" + year
// + "年" + month + "月工资" of the current period.
TransferRule newRule(const Session& s);

// Checks the rules in order and answers the first refusal: with a date,
// first the date (it must exist and must not lie before the current salary
// period); then rule by rule its department codes (digits and "," only,
// existing, none twice, none above another), its items (not empty, digits,
// "F" and "," only, each defined or one of FFFF, FFFE, FFFD), its summary,
// accounts and voucher number (not empty, the number digits only), and its
// two accounts (in the set's chart of its current period, and leaf
// accounts there). Reads only; throws DbError when a database fails.
RuleCheck checkRules(Session& s, AccountingStore& store, const std::vector<TransferRule>& rules,
                     const std::optional<VoucherDate>& date);

// "存盘": checks the rules without a date and, when they pass, replaces the
// period's _ZZ table with them in one transaction; "公式存贮完毕！".
RuleCheck saveRules(Session& s, AccountingStore& store, const std::vector<TransferRule>& rules);

} // namespace gzgl::accounting
