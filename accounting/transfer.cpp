#include "accounting/transfer.h"

#include "core/text.h"

#include <algorithm>
#include <map>

namespace gzgl::accounting {

namespace {

Outcome refuse(const Session& s, const std::string& message) {
    return Outcome::refuse(message, s.productShortName, Icon::Exclamation);
}

// The accounting item of a line in a form that has one: "001:" and the
// line's department.
std::string accountingItem(const VoucherForm& form, const VoucherLine& l) {
    if (!form.accountingItem || l.department.empty())
        return {};
    return "001:" + l.department;
}

} // namespace

std::string voucherDateText(const VoucherForm& form, const VoucherDate& d) {
    const std::string sep = form.dottedDate ? "." : "";
    return zeroPad(d.year, 4) + sep + zeroPad(d.month, 2) + sep + zeroPad(d.day, 2);
}

bool monthTransferred(Session& s) {
    return s.sysConn.scalar("Select F_ZZ from GZSysInfo where F_ID=?", {s.curTaskID}).toInt() == 1;
}

Outcome writeVouchers(Session& s, AccountingStore& store, const std::vector<VoucherLine>& lines,
                      const VoucherDate& date) {
    std::int64_t debit = 0, credit = 0;
    bool any = false;
    for (const VoucherLine& l : lines) {
        (l.debit ? debit : credit) += l.fen;
        any = any || l.fen != 0;
    }
    if (debit != credit)
        return refuse(s, kUnbalanced);
    if (!any)
        return refuse(s, kAllZero);

    // The rules' numbers of the vouchers that get a line, in ascending
    // order: the n-th of them becomes highest + n.
    std::map<int, std::vector<const VoucherLine*>> vouchers;
    for (const VoucherLine& l : lines)
        if (l.fen != 0)
            vouchers[l.number].push_back(&l);

    const VoucherForm& form = store.form();
    const YearMonth month{date.year, date.month};
    const std::string dateText = voucherDateText(form, date);
    try {
        store.begin();
        int number = store.maxVoucherNumber(month);
        for (const auto& [ruleNumber, voucherLines] : vouchers) {
            ++number;
            const int page = std::max(1, store.maxPage(number, month));
            int line = store.maxLine(number, page, month);
            for (const VoucherLine* l : voucherLines) {
                VoucherLineRow row;
                row.number = number;
                row.summary = l->summary;
                row.account = l->account;
                row.mark = l->debit ? form.debitMark : form.creditMark;
                row.amount = static_cast<double>(l->fen) / 100.0;
                row.month = month;
                row.page = page;
                row.line = ++line;
                row.accountingItem = accountingItem(form, *l);
                store.insertLine(row);
            }
            store.insertHeader({number, dateText, month, s.curOperName});
        }
        store.commit();
    } catch (const std::exception& e) {
        store.rollback();
        return refuse(s, std::string("凭证写入失败，财务数据未作改动：") + e.what());
    }

    try {
        s.sysConn.execute("Update GZSysInfo set F_ZZ=1 where F_ID=?", {s.curTaskID});
    } catch (const std::exception& e) {
        return refuse(s, std::string("凭证已写入，但本月转账标志未能保存：") + e.what());
    }
    return Outcome{true, kTransferred, s.productShortName, Icon::Information, {}};
}

Outcome runTransfer(Session& s, AccountingStore& store, Prompt& p, const TransferRequest& request,
                    Progress& progress) {
    try {
        if (monthTransferred(s) && !p.askYesNo(kSecondTransfer, s.productShortName, Icon::Question))
            return Outcome::success();

        const std::optional<YearMonth> period = store.currentPeriod();
        if (!period || period->periodText() != s.curPeriod)
            return refuse(s, kPeriodMismatch);

        progress.begin(kCheckingStatus, 0);
        RuleCheck check;
        try {
            check = checkRules(s, store, request.rules, request.date);
        } catch (...) {
            progress.end();
            throw;
        }
        progress.end();
        if (!check.outcome.ok)
            return check.outcome;

        if (!store.isUser(s.curOperName))
            return refuse(s, kNoPermission);

        const VoucherDraft draft = computeVoucherLines(s, request.rules, request.unite, progress);
        if (!draft.outcome.ok)
            return draft.outcome;
        return writeVouchers(s, store, draft.lines, request.date);
    } catch (const std::exception& e) {
        return refuse(s, std::string("数据库错误：") + e.what());
    }
}

} // namespace gzgl::accounting
