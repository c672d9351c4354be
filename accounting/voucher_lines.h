// The voucher lines a transfer writes, worked out from the month's data.
//
// Design note. Every rule gives two lines of the same amount: a debit line
// on its debit account and a credit line on its credit account, both with
// the rule's summary and voucher number. The amount is the sum of the
// rule's items over the employees who take part: those with a data row in
// a lowest-level department under one of the rule's codes and, when the
// rule names transfer attributes, with one of them. The month is loaded and
// recalculated once for all rules, as the salary screens show it; each
// employee's item value is rounded to the cent and the amounts are summed
// in whole fen, so the debit and credit totals of a transfer are exact
// integers and balance without any tolerance. Uniting ("同科目合并") makes
// one line of the lines of a voucher that share account and side.
#pragma once

#include "accounting/rules.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gzgl::accounting {

struct VoucherLine {
    int number = 0; // the rules' voucher number
    std::string summary;
    std::string account;
    bool debit = true;
    std::int64_t fen = 0;
    // The rule's department when it names only one (the network form's
    // accounting item), else empty.
    std::string department;
    bool operator==(const VoucherLine&) const = default;
};

struct VoucherDraft {
    Outcome outcome; // a refusal while working out the lines
    std::vector<VoucherLine> lines;
};

inline constexpr const char* kArrangingStatus = "  正在整理凭证，请稍候...";
inline constexpr const char* kNoRules = "请先进行公式设置！";
inline constexpr const char* kNoSuchAttribute = "不存在此种转账属性的员工！";

// Works out the lines of checked rules from the open task's current period
// (recalculated, nothing written), united when unite is set. Refuses with
// "请先进行公式设置！" when there is no rule and "不存在此种转账属性的员工！"
// when a rule names an attribute no employee has. Throws DbError when the
// task database fails.
VoucherDraft computeVoucherLines(Session& s, const std::vector<TransferRule>& rules, bool unite,
                                 Progress& progress);

// The lines with those of one voucher, account and side made one line (the
// first one's summary, the amounts summed, the department kept only when
// they share it), in the order of their first line.
std::vector<VoucherLine> uniteLines(const std::vector<VoucherLine>& lines);

} // namespace gzgl::accounting
