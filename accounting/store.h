// The accounting side of the voucher transfer, seen through one interface.
//
// Design note. The accounting system is a separate program; this one only
// reads its sets, current period, users and chart of accounts, and writes
// finished vouchers into a set. It comes in two storage forms: the
// single-user form (a system database KS770WIN.MDB listing the sets in ZTGL,
// one database KS + last four characters of the set id + .MDB per set) and
// the network form (one catalog reached through ODBC). Every table of a set
// is named set id + "_" + name (ID0001_YE, ID0001_PZGL_D), the set id being
// "ID" + the set's number. The transfer rules and the transfer talk only to
// AccountingStore, so the second form is one more implementation of it:
// every value crosses the interface as a plain value and is bound by the
// implementation, and the interface holds no SQL of either form.
//
// A store is bound to one set. Its reads never change the set; the writes
// of one transfer run between begin() and commit(), and rollback() leaves
// the set exactly as it was before begin().
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace gzgl::accounting {

// A refusal while reaching the accounting side (no folder, not a database,
// a set without its tables): what() is the message for the user.
class AccountingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kSystemDbName = "KS770WIN.MDB";
inline constexpr const char* kNoLinkMessage = "工资系统帐套路径未设置。";
inline constexpr const char* kWrongSetMessage = "请选择正确的核算单位！";

struct AccountingSet {
    std::string id;   // ZTID, "ID" + number
    std::string name; // ZTMC
    bool operator==(const AccountingSet&) const = default;
};

struct YearMonth {
    int year = 0;
    int month = 0;
    bool operator==(const YearMonth&) const = default;
    // yyyymm, as the salary periods are written.
    std::string periodText() const;
};

struct Account {
    std::string code;  // KMDM
    std::string name;  // KMMC
    int level = 0;     // KMJB, 1 for a top-level account
    bool leaf = false; // SFMJ
    bool operator==(const Account&) const = default;
};

// How vouchers are marked in one form of the accounting system.
struct VoucherForm {
    std::string debitMark = "J"; // JDBZ of a debit line
    std::string creditMark = "D";
    bool dottedDate = true;      // PZRQ "yyyy.mm.dd", else "yyyymmdd"
    bool accountingItem = false; // lines carry HSXM
};

// One voucher line as written (_PZGL_D). The columns the salary side has
// nothing for (opposite account, quantity, price, foreign amount, rate)
// are written empty or zero by the store.
struct VoucherLineRow {
    int number = 0; // PZH
    std::string summary;
    std::string account;
    std::string mark;           // JDBZ
    double amount = 0;          // JE, whole fen / 100
    YearMonth month;            // KJN, KJY
    int page = 1;               // PZFYH
    int line = 1;               // PZFYXH
    std::string accountingItem; // HSXM, only where the form has it
};

// One voucher header as written (_PZGL_M): no attachments, status "0".
struct VoucherHeaderRow {
    int number = 0;
    std::string date; // PZRQ
    YearMonth month;
    std::string maker; // ZZR
};

class AccountingStore {
public:
    virtual ~AccountingStore() = default;

    virtual const VoucherForm& form() const = 0;
    virtual std::string setID() const = 0;

    // The sets of the accounting system (name and id).
    virtual std::vector<AccountingSet> sets() = 0;
    // The set's current accounting period; nullopt when the system does not
    // list the set.
    virtual std::optional<YearMonth> currentPeriod() = 0;
    // The chart of accounts of a period, ordered by code.
    virtual std::vector<Account> chart(const YearMonth& period) = 0;
    // The account of that code in the period's chart; nullopt when none.
    virtual std::optional<Account> account(const YearMonth& period, const std::string& code) = 0;
    // Whether name is a user of the set (may make vouchers).
    virtual bool isUser(const std::string& name) = 0;
    // The highest voucher number of the month; 0 when it has none.
    virtual int maxVoucherNumber(const YearMonth& month) = 0;
    // The highest page of voucher number in the month; 0 when none.
    virtual int maxPage(int number, const YearMonth& month) = 0;
    // The highest line on that page of voucher number; 0 when none.
    virtual int maxLine(int number, int page, const YearMonth& month) = 0;

    // The writes of one transfer. Any write may throw; the caller then
    // calls rollback(), which undoes every write since begin().
    virtual void begin() = 0;
    virtual void insertLine(const VoucherLineRow& row) = 0;
    virtual void insertHeader(const VoucherHeaderRow& row) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

// A node of the account picker's tree: the root "Dm0" / "科目列表", then
// every account under its parent (the nearest account before it, in code
// order, one level up whose code begins its own), keyed "Dm" + level + "_"
// + code. An account whose parent is missing hangs under the root.
struct AccountNode {
    std::string key;
    std::string parentKey; // empty for the root
    std::string text;      // code + " " + name
    std::string code;
    bool leaf = false;
    bool operator==(const AccountNode&) const = default;
};
inline constexpr const char* kAccountRootText = "科目列表";
std::vector<AccountNode> accountTree(const std::vector<Account>& chart);

} // namespace gzgl::accounting
