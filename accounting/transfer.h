// The voucher transfer ("转账"): the month's salary costs written as
// finished vouchers into the linked accounting set.
//
// Design note. The steps run in a fixed order and every refusal comes
// before anything is written: the second-transfer question (F_ZZ), the
// accounting set's current period against the salary period, the rules and
// the date, the operator's permission in the set, the lines, the balance
// and the zero check. The new vouchers are numbered after the highest
// number of the transfer date's accounting month, the rules' numbers kept
// in their order (the smallest becomes highest + 1, the next highest + 2);
// a voucher whose lines all come to zero writes nothing and takes no
// number. Pages and lines continue a voucher's existing numbering. Every
// line and header of one transfer is written in ONE transaction of the
// accounting set: a failure at any point rolls all of it back, so the set
// is exactly as before and F_ZZ unchanged. F_ZZ = 1 is written only after
// the accounting side has committed.
#pragma once

#include "accounting/rules.h"
#include "accounting/store.h"
#include "accounting/voucher_lines.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <vector>

namespace gzgl::accounting {

inline constexpr const char* kSecondTransfer = "本月工资已经转过账，是否进行第二次转账？";
inline constexpr const char* kPeriodMismatch = "财务系统的当前日期与工资系统的当前日期不一致，不能转账。";
inline constexpr const char* kNoPermission = "本操作员没有转账的权限！";
inline constexpr const char* kUnbalanced = "借贷不平！";
inline constexpr const char* kAllZero = "借贷数据为零，没有转账！";
inline constexpr const char* kTransferred = "转账成功！";

struct TransferRequest {
    VoucherDate date;
    std::vector<TransferRule> rules;
    bool unite = false;
};

// The voucher date as the form writes it (PZRQ): "yyyy.mm.dd", or
// "yyyymmdd" for a form without separators.
std::string voucherDateText(const VoucherForm& form, const VoucherDate& date);

// Whether the open task's current month is marked transferred (F_ZZ = 1).
bool monthTransferred(Session& s);

// The whole transfer, each step as the design note orders it; answers the
// refusal, or "转账成功！" once the vouchers are committed and F_ZZ is set.
// A No to the second-transfer question answers a success without message
// and writes nothing.
Outcome runTransfer(Session& s, AccountingStore& store, Prompt& p, const TransferRequest& request,
                    Progress& progress);

// The writing steps alone, for lines already worked out: the balance check
// ("借贷不平！"), the zero check ("借贷数据为零，没有转账！"), the numbering
// and the writes in one transaction, then F_ZZ = 1. A failed write rolls the
// transaction back and answers a refusal naming the error.
Outcome writeVouchers(Session& s, AccountingStore& store, const std::vector<VoucherLine>& lines,
                      const VoucherDate& date);

} // namespace gzgl::accounting
