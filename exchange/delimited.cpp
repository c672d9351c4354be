#include "exchange/delimited.h"
#include "exchange/bank.h"
#include "exchange/fieldformat.h"
#include "exchange/textfile.h"

#include "core/schema.h"
#include "core/text.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace gzgl::exchange {

namespace {

constexpr const char* kTitle = "提示";
constexpr int kCellBytes = 12;

// A cell padded to 12 bytes. A longer one is kept whole rather than cut:
// the reader splits lines at the separator, and a cut would silently
// shorten an account or identity number.
std::string padCell(const std::string& gbk) {
    return fitGbk(gbk, 0, std::max(kCellBytes, static_cast<int>(gbk.size())));
}

} // namespace

std::string delimitedPath(const std::string& folder, const std::string& typedName,
                          const std::string& period) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir + bankFileName(typedName, period);
}

Outcome writeDelimited(Session& s, const DelimitedExport& e, Prompt& prompt, Progress& progress,
                       std::string* written) {
    const std::string typed = trim(e.name);
    if (typed.empty())
        return Outcome::refuse("文件名不能为空！", kTitle, Icon::Exclamation, "txtName");
    if (!plainFileName(typed))
        return Outcome::refuse("文件名“" + typed + "”不能包含 / 或 \\ 等字符！", kTitle, Icon::Exclamation,
                               "txtName");
    std::error_code ec;
    if (e.folder.empty() || !std::filesystem::is_directory(e.folder, ec))
        return Outcome::refuse("文件夹“" + e.folder + "”不存在！", kTitle, Icon::Exclamation, "Dir1");
    const std::string path = delimitedPath(e.folder, typed, s.curPeriod);
    if (std::filesystem::exists(path, ec) &&
        !prompt.askYesNo(path + "文件已存在，是否覆盖？", "询问窗", Icon::Question))
        return Outcome{false, {}, {}, Icon::None, {}};

    auto refuse = [](const std::string& what, const std::string& text) {
        return Outcome::refuse(what + "里有GBK字符集以外的字符“" + firstUnencodable(text) +
                                   "”，文件没有生成。",
                               kTitle, Icon::Exclamation);
    };
    const auto sep = gbkStrict(e.separator);
    if (!sep)
        return refuse("分隔符号", e.separator);
    const std::string header = "****\r\n任务名称 " + s.curTaskID + " " + s.curTaskName + "\r\n工资期数 " +
                               s.curPeriod + "\r\n分隔符号 " + e.separator + "\r\n导出日期 " + e.today +
                               "\r\n****\r\n";
    const auto head = gbkStrict(header);
    if (!head)
        return refuse("任务名称", s.curTaskName);

    // One cell: trimmed and converted once.
    auto cell = [&](const std::string& text) { return gbkStrict(trim(text)); };
    std::string out = *head;
    std::string codes, titles;
    const std::string itemSql =
        "Select F_Code from " + periodTable(s.taskPrefix(), "Item") + " where F_Name=?";
    for (std::size_t c = 0; c < e.titles.size(); ++c) {
        const std::string title = trim(e.titles[c]);
        const std::string code =
            title.empty() ? std::string() : trim(s.taskConn.scalar(itemSql, {title}).toString());
        const auto t = cell(title);
        if (!t)
            return refuse("第" + std::to_string(c + 1) + "列的标题", title);
        if (c > 0) {
            codes += *sep;
            titles += *sep;
        }
        codes += padCell(gbkStrict(code).value_or(""));
        titles += padCell(*t);
    }
    out += codes + "\r\n" + titles + "\r\n";
    progress.begin("  正在生成报盘文件...", static_cast<int>(e.rows.size()));
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        const auto& row = e.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            const auto v = cell(row[c]);
            if (!v) {
                progress.end();
                const std::string title = c < e.titles.size() ? trim(e.titles[c]) : std::to_string(c + 1);
                return refuse("第" + std::to_string(r + 1) + "行（" + trim(row[0]) + "）的“" + title + "”",
                              row[c]);
            }
            if (c > 0)
                out += *sep;
            out += padCell(*v);
        }
        out += "\r\n";
        progress.step();
    }
    try {
        writeFileReplacing(path, out);
    } catch (const FileWriteError& err) {
        progress.end();
        return Outcome::refuse(err.what(), kTitle, Icon::Critical);
    }
    progress.end();
    if (written)
        *written = path;
    return {true, "文件生成完毕！", kTitle, Icon::Information, {}};
}

} // namespace gzgl::exchange
