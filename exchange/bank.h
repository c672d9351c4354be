// The bank submission file: the per-task template that fixes its layout,
// the month's data gathered for it, the file itself, its control list and
// the copy to a removable disk.
//
// Template file layout (BankForm + task id + ".frm" in the data home; GBK,
// every line ended by CR LF), in this order:
//   "标1" + header text
//   per template row r = 1, 2, ...: "行" (2 bytes), r as two digits, the
//     field name (20 bytes, left, blank-padded), "0" for 数字 / "1" else,
//     the width (2 digits), the first character of the alignment, the data
//     source (20 bytes), "0" without point / "1" with, the fixed digit
//     count (2 digits, "00" when empty)
//   "尾1" + trailer text
//   per department list entry: "部" + the entry
// The 20-byte fields are padded and cut by FormatField (left aligned).
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "print/gridprint.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::exchange {

// The shared field formatter: value padded or cut to width GBK bytes.
// isNumber formats the value as an amount ("#0.00", |v| < 0.0005 as 0);
// noPoint writes it in fen, "#0" or, with zeroPad, "#" followed by digits
// zeros (so zero with no digits is empty). align 0 pads on the right, any
// other value on the left. A cut never splits a double-byte character: the
// longest leading part that fits is kept and then padded.
std::string FormatField(std::string_view value, int align, int width, bool isNumber, bool noPoint, bool zeroPad,
                        int digits);

// The captions and fixed values of the template grid.
inline constexpr const char* kTypeNumber = "数字";
inline constexpr const char* kTypeText = "字符";
inline constexpr const char* kAlignLeft = "0:左对齐";
inline constexpr const char* kAlignCentre = "1:中对齐";
inline constexpr const char* kAlignRight = "2:右对齐";
inline constexpr const char* kPointShown = "显示";
inline constexpr const char* kFixedWidthMode = "默认格式";
inline constexpr const char* kExcludeMode = "不需报送银行的部门：";
inline constexpr const char* kIncludeMode = "需报送银行的部门：";
// Row 0 of the template grid.
inline constexpr const char* kTemplateHeadings[] = {"项 　　目", "类型", "字符宽度", "对齐方式",
                                                    "对应数据", "小数点", "固定宽度"};
// The fixed fields of the item picker, in its order.
inline constexpr const char* kFixedFields[] = {"企业代码", "身份证号", "银行账号", "住房公积金账号",
                                               "养老保险账号", "其他账号1", "其他账号2"};

// One field of the output line (one template grid row), as the grid shows
// its seven cells.
struct BankField {
    std::string name;    // 项目
    std::string type;    // 数字 or 字符
    std::string width;   // digits
    std::string align;   // 0:左对齐, 1:中对齐, 2:右对齐
    std::string source;  // an item code or a fixed field's name
    std::string point;   // 显示 or empty
    std::string digits;  // fixed digit count, digits or empty
    bool operator==(const BankField&) const = default;
};

struct BankTemplate {
    std::vector<BankField> rows;
    std::string head;                     // 增加文件首行
    std::string tail;                     // 增加文件尾行
    std::vector<std::string> departments; // "code name" entries
    bool operator==(const BankTemplate&) const = default;
};

// The double-click cycles of the template grid. Column 1 toggles the type
// (to 字符 clears point and digits; to 数字 sets 显示 and "7"); column 3
// cycles the alignment; column 5 toggles the point on number rows only.
// Other columns are left alone. Answers whether the row changed.
bool cycleCell(BankField& row, int column);

// The path of the task's template file in the data home (an existing file
// is found whatever the case of its name).
std::string bankTemplatePath(const Session& s);

// The file layout holds row numbers, widths and digit counts in two digits.
inline constexpr int kMaxTemplateRows = 99;
inline constexpr int kMaxFieldWidth = 99;

// A template read from its file: the rows it could read, and one message
// per line it could not ("第 N 行无法读取：..."). A missing file gives an
// empty template and no problems.
struct TemplateLoad {
    BankTemplate tpl;
    std::vector<std::string> problems;
};
TemplateLoad loadBankTemplate(const std::string& path);

// The same reading from the file's bytes. Whatever the bytes, it returns:
// a line it cannot read (shorter than the row layout, bytes that are no
// GBK, a flag outside its values, an unknown line) is left out and
// reported; a missing "标1" or "尾1" line (a truncated file) is reported.
TemplateLoad parseBankTemplate(std::string_view bytes);

// The file's bytes for a checked template (GBK, CR LF). Names and sources
// are cut to 20 bytes without splitting a character. nullopt, with the
// refusal in *refusal, when a text GBK cannot hold.
std::optional<std::string> bankTemplateBytes(const BankTemplate& tpl, std::string* refusal);

// The checks of 确　　定 in their order, on every row: an empty source
// ("对应数据不能为空！"), a width or digit count with a character other than
// 0-9 ("含有非法字符！"), a width above kMaxFieldWidth ("字符宽度不能大于
// 99！": the file keeps it in two digits); a digit count above the width
// is set to the width (in tpl; an empty width counts 0). More than
// kMaxTemplateRows rows, or a line break in the header, trailer or a
// department entry (it would end the file's line) are refused too. A
// refusal's focus is "row,col" of the offending cell (rows from 1, as the
// grid counts them below its heading row), or the text box's name.
Outcome checkBankTemplate(BankTemplate& tpl);

// Checks tpl and writes it to the task's template file (under a temporary
// name, renamed when complete): "银行报盘文件格式存贮完毕！" on success. A
// refusal writes nothing and leaves the old file as it was; a text GBK
// cannot hold is refused naming the field and the character. The outcome's
// message is the caller's to show (as for every function below).
Outcome saveBankTemplate(const Session& s, BankTemplate tpl);

// The item picker's entries: the seven fixed fields, then every salary item
// of the task in F_ID order.
struct PickerEntry {
    std::string name;
    std::string code; // empty for a fixed field
    std::string type; // the item's F_Type; empty for a fixed field
};
std::vector<PickerEntry> bankPickerEntries(Session& s);
// The template row the picker appends for an entry: fixed fields and items
// other than numbers as 字符, 15, left; numeric items as 数字, 15, right,
// 显示, 7.
BankField fieldForPick(const PickerEntry& e);

// The options of the screen that are not stored; each opening starts here.
struct BankOptions {
    std::string fileName = "NJGZ.TXT";
    std::string separator = kFixedWidthMode; // anything else: the separator
    bool sequence = false;                   // 序号
    bool total = false;                      // 总计
    bool byAccount = false;                  // 按银行账号排序
    bool include = false;                    // 需报送银行的部门 (else exclude)
};

// The file name with the period put in before its first "." (or name +
// period + ".TXT" without one): NJGZ.TXT -> NJGZ200405.TXT.
std::string bankFileName(const std::string& typed, const std::string& period);

// The month's data for the file and the control list: one row per
// employee, one cell per template row (the fixed field, the item's value
// after recalculation, or the employee's name for F002).
struct BankData {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> empNos;
    std::vector<std::string> empNames;
};

// Gathers the data as "File" and "Print" do: the department list of the
// template in the mode of the options, ordered by account or by employee,
// recalculated (with the per-employee exceptions when the task's switch is
// on). Writes nothing. The month-data refresh is the caller's (the screen
// runs it when it opens).
BankData collectBankData(Session& s, const BankTemplate& tpl, const BankOptions& opt, Progress& progress);

// Writes the month's bank file into the data home: include mode with an
// empty list is refused ("请选择需报送银行的部门！"), so is a template that
// fails checkBankTemplate (the grid as typed, maybe not saved; digit counts
// clamped to the width as saving would), an empty file name or one holding
// "/" or "\"; an existing file asks "本月银行报盘文件
// 已经存在，是否覆盖？" through prompt (No: not ok, no message, nothing
// written); a text GBK cannot hold refuses the whole file with a message
// naming the employee (number and name), the field and the character. The
// file is written under a temporary name and renamed when complete, so no
// half file ever stands under its name. Line breaks inside a cell are left
// out (any CR or LF, not only CR LF pairs: a lone one would split the
// record). Progress: the recalculation's, then one step per employee.
// Success: "文件生成完毕！", and *written (when given) holds the path.
Outcome writeBankFile(Session& s, const BankTemplate& tpl, const BankOptions& opt, Prompt& prompt, Progress& progress,
                      std::string* written = nullptr);

// The control list (form 1119): "请选择预览项目！" without template rows,
// "没有数据可供预览！" without data rows; otherwise the job is returned.
struct ControlList {
    Outcome refusal;
    std::optional<print::clsGridPrint> job;
};
ControlList bankControlList(Session& s, const BankTemplate& tpl, const BankData& data);

// "Disk": copies the month's file (the name with the period, from the data
// home) to folder/typedName (under a temporary name, renamed when
// complete), asking "磁盘中已有报盘文件，是否覆盖？" before an existing copy
// is replaced (No: not ok, no message). Success: "文件复制完毕！". A missing
// month's file, a missing folder and an empty or path-like name are
// refused. (The original's "请在A：中插入磁盘" is the screen's to show
// before it asks for the folder.)
Outcome copyBankFile(const Session& s, const std::string& typedName, const std::string& folder, Prompt& prompt);

} // namespace gzgl::exchange
