// The month's bank file: the data gathered for it, the file written, and
// the copy to the disk folder.
#include "exchange/bank.h"
#include "exchange/fieldformat.h"
#include "exchange/textfile.h"

#include "base/tree.h"
#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/paths.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"

#include <filesystem>
#include <unordered_map>

namespace gzgl::exchange {

namespace {

constexpr const char* kTitle = "提示";
constexpr const char* kEmployeeFields = "F_CID,F_AccNo,F_HouseNo,F_OldNo,F_OtherNo1,F_OtherNo2";

// Where a template row's value comes from.
struct Source {
    enum class Kind { Corporation, Employee, Column, None } kind = Kind::None;
    int index = 0; // the employee field (0..5 in kEmployeeFields order) or grid column
};

Source sourceOf(const std::string& typed, const calc::WorkGrid& grid) {
    const std::string src = trim(typed);
    if (src == kFixedFields[0])
        return {Source::Kind::Corporation, 0};
    for (int i = 1; i < static_cast<int>(std::size(kFixedFields)); ++i)
        if (src == kFixedFields[i]) {
            // 身份证号, 银行账号, 住房公积金账号, 养老保险账号, 其他账号1, 2.
            return {Source::Kind::Employee, i - 1};
        }
    const std::string code = upperAscii(src);
    if (code == "F001")
        return {Source::Kind::Column, 0};
    if (code == "F002")
        return {Source::Kind::Column, 1}; // the grid's name column is F_EmpName
    const int col = grid.columnOf(code);
    return col >= 0 ? Source{Source::Kind::Column, col} : Source{};
}

// A template row as the writer uses it.
struct FieldPlan {
    std::string name;
    bool number = false;
    int align = 0;
    int width = 0;
    bool noPoint = false;
    int digits = 0;
};

int smallNumber(const std::string& text) {
    const std::string t = trim(text);
    int v = 0;
    for (const char c : t) {
        if (c < '0' || c > '9')
            return v;
        v = std::min(v * 10 + (c - '0'), 1000000);
    }
    return v;
}

FieldPlan planOf(const BankField& f) {
    FieldPlan p;
    p.name = trim(f.name).empty() ? trim(f.source) : trim(f.name);
    p.number = trim(f.type) == kTypeNumber;
    const std::string align = trim(f.align);
    p.align = !align.empty() && (align[0] == '1' || align[0] == '2') ? align[0] - '0' : 0;
    p.width = smallNumber(f.width);
    p.noPoint = trim(f.point).empty();
    p.digits = smallNumber(f.digits);
    return p;
}

// Line breaks inside a cell would break the record in two.
std::string withoutLineBreaks(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (const char c : v)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

std::string gbkRefusal(const std::string& what, const std::string& text) {
    return what + "里有GBK字符集以外的字符“" + firstUnencodable(text) + "”，银行报盘文件没有生成。";
}

Outcome refuse(const std::string& text, Icon icon = Icon::Exclamation) {
    return Outcome::refuse(text, kTitle, icon);
}

} // namespace

std::string bankFileName(const std::string& typed, const std::string& period) {
    const std::string name = trim(typed);
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos)
        return name + period + ".TXT";
    return name.substr(0, dot) + period + name.substr(dot);
}

BankData collectBankData(Session& s, const BankTemplate& tpl, const BankOptions& opt, Progress& progress) {
    monthly::GridFilter filter;
    for (const std::string& entry : tpl.departments)
        filter.depCodes.push_back(base::textBeforeBlank(trim(entry)));
    filter.depInclude = opt.include;
    filter.order =
        opt.byAccount ? monthly::GridFilter::Order::Account : monthly::GridFilter::Order::EmployeeNo;
    monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, filter, false);
    calc::WorkGrid& grid = loaded.grid;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);

    std::vector<Source> sources;
    bool needEmployees = false;
    for (const BankField& f : tpl.rows) {
        sources.push_back(sourceOf(f.source, grid));
        needEmployees = needEmployees || sources.back().kind == Source::Kind::Employee;
    }
    std::string corporation;
    for (const Source& src : sources)
        if (src.kind == Source::Kind::Corporation) {
            corporation =
                s.sysConn.scalar("Select F_QYDM from GZSysInfo where F_ID=?", {s.curTaskID}).toString();
            break;
        }
    std::unordered_map<std::string, std::vector<std::string>> accounts;
    if (needEmployees) {
        const Recordset rs = s.taskConn.query(std::string("Select F_EmpNo,") + kEmployeeFields + " from " +
                                              periodTable(s.taskPrefix(), "Employee"));
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const auto& row = rs.row(i);
            std::vector<std::string> fields;
            for (std::size_t k = 1; k < row.size(); ++k)
                fields.push_back(row[k].toString());
            accounts[row[0].toString()] = std::move(fields);
        }
    }

    BankData out;
    out.rows.reserve(static_cast<std::size_t>(grid.employeeCount()));
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r) {
        const std::string& empNo = grid.cell(r, 0);
        out.empNos.push_back(empNo);
        out.empNames.push_back(grid.cell(r, 1));
        const std::vector<std::string>* acc = nullptr;
        if (needEmployees)
            if (auto hit = accounts.find(empNo); hit != accounts.end())
                acc = &hit->second;
        std::vector<std::string> cells;
        cells.reserve(sources.size());
        for (const Source& src : sources) {
            switch (src.kind) {
            case Source::Kind::Corporation:
                cells.push_back(corporation);
                break;
            case Source::Kind::Employee:
                cells.push_back(acc ? (*acc)[static_cast<std::size_t>(src.index)] : std::string());
                break;
            case Source::Kind::Column:
                cells.push_back(grid.cell(r, src.index));
                break;
            case Source::Kind::None:
                cells.emplace_back();
                break;
            }
        }
        out.rows.push_back(std::move(cells));
    }
    return out;
}

Outcome writeBankFile(Session& s, const BankTemplate& typedTpl, const BankOptions& opt, Prompt& prompt,
                      Progress& progress, std::string* written) {
    if (opt.include && typedTpl.departments.empty())
        return refuse("请选择需报送银行的部门！");
    // The grid may not have been saved: a width that is no number, or one
    // too wide to be stored, would give a layout the template cannot hold.
    BankTemplate tpl = typedTpl;
    if (Outcome o = checkBankTemplate(tpl); !o.ok)
        return o;
    const std::string typed = trim(opt.fileName);
    if (typed.empty())
        return refuse("文件名不能为空！");
    if (!plainFileName(typed))
        return refuse("文件名“" + typed + "”不能包含 / 或 \\ 等字符！");
    const std::string name = bankFileName(typed, s.curPeriod);
    const std::string path = findFileNoCase(s.appPath, name);
    std::error_code ec;
    if (std::filesystem::exists(path, ec) &&
        !prompt.askYesNo("本月银行报盘文件已经存在，是否覆盖？", "询问窗", Icon::Question))
        return Outcome{false, {}, {}, Icon::None, {}};

    const bool fixed = opt.separator == kFixedWidthMode;
    std::string separator;
    if (!fixed) {
        auto sep = gbkStrict(opt.separator);
        if (!sep)
            return refuse(gbkRefusal("文件分隔形式", opt.separator));
        separator = std::move(*sep);
    }
    std::string head, tail;
    if (!trim(tpl.head).empty()) {
        auto h = gbkStrict(withoutLineBreaks(tpl.head));
        if (!h)
            return refuse(gbkRefusal("增加文件首行", tpl.head));
        head = std::move(*h);
    }
    if (!trim(tpl.tail).empty()) {
        auto t = gbkStrict(withoutLineBreaks(tpl.tail));
        if (!t)
            return refuse(gbkRefusal("增加文件尾行", tpl.tail));
        tail = std::move(*t);
    }

    const BankData data = collectBankData(s, tpl, opt, progress);
    std::vector<FieldPlan> plans;
    for (const BankField& f : tpl.rows)
        plans.push_back(planOf(f));

    std::string out;
    out.reserve(data.rows.size() * 128 + 256);
    if (!head.empty())
        out += head + "\r\n";
    std::vector<double> sums(plans.size(), 0.0);
    progress.begin("  正在生成报盘文件...", static_cast<int>(data.rows.size()));
    for (std::size_t i = 0; i < data.rows.size(); ++i) {
        const auto& cells = data.rows[i];
        if (opt.sequence) {
            out += std::to_string(i + 1);
            if (fixed)
                out += '\t';
        }
        for (std::size_t j = 0; j < plans.size(); ++j) {
            const FieldPlan& p = plans[j];
            const std::string v = withoutLineBreaks(j < cells.size() ? cells[j] : std::string());
            std::optional<std::string> gbk;
            if (p.number) {
                sums[j] += readNumber(v);
                gbk = amountText(v, p.noPoint, true, p.digits);
            } else {
                gbk = gbkStrict(v);
                if (!gbk) {
                    progress.end();
                    return refuse(gbkRefusal(
                        "职工 " + data.empNos[i] + " " + data.empNames[i] + " 的“" + p.name + "”", v));
                }
            }
            if (fixed) {
                out += fitGbk(*gbk, p.align, p.width);
            } else {
                if (opt.sequence || j > 0)
                    out += separator;
                out += *gbk;
            }
        }
        out += "\r\n";
        progress.step();
    }
    if (opt.total) {
        out += *gbkStrict("总计");
        for (std::size_t j = 0; j < plans.size(); ++j) {
            out += fixed ? std::string("\t") : separator;
            out += plans[j].number ? decimalText(sums[j]) : std::string(" ");
        }
        out += "\r\n";
    }
    if (!tail.empty())
        out += tail + "\r\n";
    try {
        writeFileReplacing(path, out);
    } catch (const FileWriteError& e) {
        progress.end();
        return refuse(e.what(), Icon::Critical);
    }
    progress.end();
    if (written)
        *written = path;
    return {true, "文件生成完毕！", kTitle, Icon::Information, {}};
}

Outcome copyBankFile(const Session& s, const std::string& typedName, const std::string& folder,
                     Prompt& prompt) {
    const std::string typed = trim(typedName);
    if (typed.empty())
        return refuse("文件名不能为空！");
    if (!plainFileName(typed))
        return refuse("文件名“" + typed + "”不能包含 / 或 \\ 等字符！");
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec))
        return refuse("文件夹“" + folder + "”不存在！");
    const std::string month = bankFileName(typed, s.curPeriod);
    const std::string source = findFileNoCase(s.appPath, month);
    if (!std::filesystem::is_regular_file(source, ec))
        return refuse("本月银行报盘文件" + month + "还没有生成，请先生成报盘文件！");
    const std::string target = findFileNoCase(folder, typed);
    if (std::filesystem::exists(target, ec) &&
        !prompt.askYesNo("磁盘中已有报盘文件，是否覆盖？", "询问窗", Icon::Question))
        return Outcome{false, {}, {}, Icon::None, {}};
    const auto bytes = readWholeFile(source);
    if (!bytes)
        return refuse("无法读取文件 " + source, Icon::Critical);
    try {
        writeFileReplacing(target, *bytes);
    } catch (const FileWriteError& e) {
        return refuse(e.what(), Icon::Critical);
    }
    return {true, "文件复制完毕！", kTitle, Icon::Information, {}};
}

} // namespace gzgl::exchange
