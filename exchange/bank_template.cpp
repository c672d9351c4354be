// The bank template as the screen edits it: the grid's double-click
// cycles, the item picker, the checks of 确　　定 and the template file.
#include "exchange/bank.h"
#include "exchange/textfile.h"

#include "core/paths.h"
#include "core/schema.h"
#include "core/text.h"

#include <filesystem>

namespace gzgl::exchange {

namespace {

constexpr const char* kTitle = "提示";

bool digitsOnly(std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// A digits-only text as a number, saturating far above any width.
long long digitsValue(std::string_view s) {
    long long v = 0;
    for (const char c : s)
        v = std::min(v * 10 + (c - '0'), 1000000LL);
    return v;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

bool cycleCell(BankField& row, int column) {
    const BankField before = row;
    switch (column) {
    case 1:
        if (row.type == kTypeNumber) {
            row.type = kTypeText;
            row.point.clear();
            row.digits.clear();
        } else {
            row.type = kTypeNumber;
            row.point = kPointShown;
            row.digits = "7";
        }
        break;
    case 3: {
        const char first = row.align.empty() ? '2' : row.align[0];
        row.align = first == '0' ? kAlignCentre : first == '1' ? kAlignRight : kAlignLeft;
        break;
    }
    case 5:
        if (row.type == kTypeNumber)
            row.point = row.point == kPointShown ? "" : kPointShown;
        break;
    default:
        break;
    }
    return !(row == before);
}

std::string bankTemplatePath(const Session& s) {
    return findFileNoCase(s.appPath, "BankForm" + s.curTaskID + ".frm");
}

TemplateLoad loadBankTemplate(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return {};
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        TemplateLoad out;
        out.problems.push_back("无法读取文件 " + path);
        return out;
    }
    return parseBankTemplate(*bytes);
}

Outcome checkBankTemplate(BankTemplate& tpl) {
    if (tpl.rows.size() > static_cast<std::size_t>(kMaxTemplateRows))
        return Outcome::refuse("银行报盘文件格式最多只能有" + std::to_string(kMaxTemplateRows) + "行！",
                               kTitle, Icon::Exclamation, std::to_string(kMaxTemplateRows + 1) + ",0");
    for (std::size_t i = 0; i < tpl.rows.size(); ++i) {
        BankField& f = tpl.rows[i];
        const std::string row = std::to_string(i + 1);
        if (trim(f.source).empty())
            return Outcome::refuse("对应数据不能为空！", kTitle, Icon::Exclamation, row + ",4");
        if (!digitsOnly(f.width))
            return Outcome::refuse("含有非法字符！", kTitle, Icon::Exclamation, row + ",2");
        if (!digitsOnly(f.digits))
            return Outcome::refuse("含有非法字符！", kTitle, Icon::Exclamation, row + ",6");
        // The file holds a width in two digits: a wider field cannot be
        // stored, and cutting it silently would change the bank's layout.
        if (digitsValue(f.width) > kMaxFieldWidth)
            return Outcome::refuse("字符宽度不能大于" + std::to_string(kMaxFieldWidth) + "！", kTitle,
                                   Icon::Exclamation, row + ",2");
        // An empty width counts 0, as the screen's Val reads it.
        if (digitsValue(f.digits) > digitsValue(f.width))
            f.digits = f.width;
    }
    // A line break would end the file's line and spoil the layout.
    if (hasLineBreak(tpl.head))
        return Outcome::refuse("增加文件首行不能包含换行符！", kTitle, Icon::Exclamation, "txtHead");
    if (hasLineBreak(tpl.tail))
        return Outcome::refuse("增加文件尾行不能包含换行符！", kTitle, Icon::Exclamation, "txtTail");
    for (const std::string& d : tpl.departments)
        if (hasLineBreak(d))
            return Outcome::refuse("部门列表不能包含换行符！", kTitle, Icon::Exclamation, "txtDep");
    return Outcome::success();
}

Outcome saveBankTemplate(const Session& s, BankTemplate tpl) {
    if (Outcome o = checkBankTemplate(tpl); !o.ok)
        return o;
    std::string refusal;
    const auto bytes = bankTemplateBytes(tpl, &refusal);
    if (!bytes)
        return Outcome::refuse(refusal, kTitle, Icon::Exclamation);
    try {
        writeFileReplacing(bankTemplatePath(s), *bytes);
    } catch (const FileWriteError& e) {
        return Outcome::refuse(e.what(), kTitle, Icon::Critical);
    }
    return {true, "银行报盘文件格式存贮完毕！", kTitle, Icon::Information, {}};
}

std::vector<PickerEntry> bankPickerEntries(Session& s) {
    std::vector<PickerEntry> out;
    for (const char* f : kFixedFields)
        out.push_back({f, {}, {}});
    const Recordset rs = s.taskConn.query("Select F_Code,F_Name,F_Type from " +
                                          periodTable(s.taskPrefix(), "Item") + " Order By F_ID");
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(
            {trim(rs.row(i)[1].toString()), trim(rs.row(i)[0].toString()), trim(rs.row(i)[2].toString())});
    return out;
}

BankField fieldForPick(const PickerEntry& e) {
    if (!e.code.empty() && e.type == kTypeNumber)
        return {e.name, kTypeNumber, "15", kAlignRight, e.code, kPointShown, "7"};
    return {e.name, kTypeText, "15", kAlignLeft, e.code.empty() ? e.name : e.code, "", ""};
}

} // namespace gzgl::exchange
