// Salary items: the rows of the period's _Item table and, for items that
// hold input values, the matching columns of _Data.
//
// Design note. An item is (F_ID position, F_Code, F_Name, F_Type, F_Prec,
// F_Show, F_Width, F_Print, F_Change, F_ChgValue). Seven items come with
// every task (F001 工号, F002 姓名, F000 实发工资, F003 应发工资, FFFF, FFFE,
// FFFD); user items get F004, F005, ... (the highest numeric code + 1, so a
// code is reused only when no higher one exists); the account items get
// their fixed codes FFFG..FFFL and never a column. Every change that touches
// both tables (insert + add column + fills, delete + drop column) runs in one
// transaction, so a failure leaves neither half behind. Nothing is written
// before every check has passed; each refusal is an Outcome with the exact
// message, titled "提示窗".
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace gzgl::items {

inline constexpr const char* kTitle = "提示窗";
// What the type box shows before a type is chosen.
inline constexpr const char* kTypePrompt = "请选择数据类型！";
inline constexpr const char* kNumber = "数字";
inline constexpr const char* kText = "文字";
inline constexpr const char* kDate = "日期";

// "数字", "文字", "日期": the type list of the dialogs, in that order.
const std::vector<std::string>& itemTypes();

struct Item {
    int id = 0;
    std::string code;
    std::string name;
    std::string type;
    int prec = 0;
    bool show = true;
    int width = 15;
    bool print = true;
    bool change = false;
    double chgValue = 0;
    bool operator==(const Item&) const = default;
};

// An item as the pickers and lists show it.
struct ItemChoice {
    std::string code;
    std::string name;
    bool operator==(const ItemChoice&) const = default;
};

// The items of the open period in F_ID order.
std::vector<Item> loadItems(Session& s);
std::optional<Item> findItem(Session& s, const std::string& code);

// The item list fgdList: per item F_ID, F_Code, F_Name, F_Type, F_Prec,
// "☆" when shown, "☆" when printed, F_Width, "☆" when fixed, F_ChgValue.
std::vector<std::vector<std::string>> itemListRows(Session& s);
// The column captions of fgdList.
const std::vector<std::string>& itemListCaptions();

// The fields of the add and change dialogs, as typed.
struct ItemFields {
    std::string name;      // txtSubject
    std::string type;      // cmbKind
    std::string prec;      // txtPrec
    bool show = true;      // 输入时显示
    int width = 15;        // 打印宽度 (mm)
    bool print = true;     // 是否打印
    bool change = false;   // 自定项
    std::string chgValue;  // 自定项的值
    bool operator==(const ItemFields&) const = default;
};

ItemFields fieldsOf(const Item& item);

// The account names of the add dialog's pick list (引入), in its order.
const std::vector<std::string>& accountNames();
bool isAccountName(const std::string& name);
// FFFG..FFFL for the six account names that have a fixed code; empty for
// any other name (企业代码 included).
std::string accountCode(const std::string& name);
// The account items' codes with the employee column their values live in,
// in code order: FFFG F_CID, FFFH F_AccNo, FFFI F_OldNo, FFFJ F_HouseNo,
// FFFK F_OtherNo1, FFFL F_OtherNo2.
const std::vector<std::pair<std::string, std::string>>& accountColumns();
// The employee column of an account item; empty for any other code.
std::string accountColumn(const std::string& code);

// The name rules of the add dialog on the trimmed name: the first
// character must not be a digit or an ASCII symbol, no space anywhere
// (control characters and the ideographic space count as spaces), no ASCII
// symbol after the first place.
Outcome checkItemName(const std::string& name);

// The code the next item of that name gets: the account code for an account
// name, else "F" + (highest numeric code + 1) as three digits. Empty when
// the three digits are used up.
std::string nextItemCode(Session& s, const std::string& name);

struct AddItemResult {
    Outcome outcome;
    std::string code;    // the new item's code
    ItemFields cleaned;  // the values as stored (trimmed name, account settings)
};

// 确定 on frmAddOption: checks in order (empty name, name rules, a name
// outside GBK or longer than F_Name's 32 bytes, empty type, duplicate name,
// type not chosen, precision), then inserts the item and,
// except for FFFG..FFFL, adds its _Data column (" float " or
// " VARCHAR(16) "), fills a date column with the period (2006年02月) and a
// fixed item's column with its value (empty value: "0.0"), all in one
// transaction. An account name forces 文字, not shown, printed, not fixed;
// a date item is never shown in the entry screens.
AddItemResult addItem(Session& s, const ItemFields& fields);

// An account name (trimmed, passing the name rules) fixes the item's other
// settings: not shown in the entry screens, printed, not fixed, 文字.
// Answers whether f holds such a name.
bool applyAccountDefaults(ItemFields& f);

// Which fields the change dialog locks for an item: name, type, precision
// and 输入时显示 for F000, F003, FFFF, FFFE, FFFD, the cumulative tax items
// FFF1..FFF3, date items and FFFG..FFFL; additionally 自定项 and its value
// for FFFF, FFFE, FFFD and FFF1..FFF3. The
// type of F001 and F002 is locked as well (they are always text).
struct ItemLocks {
    bool name = false;
    bool type = false;
    bool prec = false;
    bool show = false;
    bool change = false;
};
ItemLocks itemLocks(const Item& item);

// 确定 on frmAlterOption: locked fields keep their stored values; checks
// empty name, a changed name as addItem does, empty or unknown type, precision, a name already used by
// another item, the fixed value; then updates the row, keeps the column in
// step with a changed type (number <-> text, values copied), and runs the
// date and fixed-value fills, in one transaction. Refuses an unknown code.
Outcome changeItem(Session& s, const std::string& code, const ItemFields& fields);

// 删除 on the item page: refuses no selection, the built-ins; asks; refuses
// an item that a formula line targets or that a formula text references;
// then drops its column (when it has one) and deletes the row.
Outcome deleteItem(Session& s, Prompt& p, const std::string& code);

// The up and down buttons: swaps the item's F_ID with its neighbour's.
// F001 and F002 keep the first two places: up is refused for list rows 1 to
// 3, down for rows 1, 2 and the last row. No code does nothing (not ok, no
// message); a code of no item is refused with "不存在此项目！".
Outcome moveItem(Session& s, const std::string& code, bool up);

// The period yyyymm as yyyy年mm月, the value of a new date column.
std::string periodDateText(const std::string& period);

} // namespace gzgl::items
