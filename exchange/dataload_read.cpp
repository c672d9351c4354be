// Reading a data-load file into its parts, without any database.
#include "exchange/dataload.h"
#include "exchange/import_support.h"
#include "exchange/textfile.h"

#include "core/text.h"

namespace gzgl::exchange {

namespace {

constexpr const char* kBadFormat = "文件格式错误!";

// More items than codes exist ("F" + three digits) cannot be a real file.
constexpr std::size_t kMaxItems = 1000;

std::string formatError(const std::string& detail) { return std::string(kBadFormat) + "\n" + detail; }

std::string lineError(std::size_t index, const std::string& what) {
    return formatError("第" + std::to_string(index + 1) + "行" + what);
}

} // namespace

ParsedDataLoad parseDataLoad(std::string_view bytes) {
    ParsedDataLoad r;
    const std::vector<std::string_view> lines = textLines(bytes);
    if (lines.empty() || trim(lines[0]) != kDataLoadMark) {
        r.error = kBadFormat;
        return r;
    }
    // The header lines must be readable text: they decide where everything goes.
    auto header = [&](std::size_t i) -> std::optional<std::string> {
        if (i >= lines.size() || lines[i].size() > kMaxLineBytes)
            return std::nullopt;
        std::optional<std::string> text = utf8Strict(lines[i]);
        if (text && hasControlChar(*text))
            return std::nullopt;
        return text;
    };

    DataLoadFile f;
    const std::optional<std::string> taskLine = header(1);
    if (!taskLine) {
        r.error = lineError(1, "（任务名称,操作人员,任务年月）无法读取（不是GBK文本、含有控制字符或过长）。");
        return r;
    }
    // A task name may hold a ",": the operator and the period are the last two fields.
    const std::size_t lastComma = taskLine->rfind(',');
    const std::size_t midComma = lastComma == std::string::npos || lastComma == 0
                                     ? std::string::npos
                                     : taskLine->rfind(',', lastComma - 1);
    if (midComma == std::string::npos) {
        r.error = lineError(1, "应为“任务名称,操作人员,任务年月”。");
        return r;
    }
    f.taskName = trim(std::string_view(*taskLine).substr(0, midComma));
    f.operatorName = trim(std::string_view(*taskLine).substr(midComma + 1, lastComma - midComma - 1));
    f.period = trim(std::string_view(*taskLine).substr(lastComma + 1));
    if (f.taskName.empty() || f.operatorName.empty() || !isPeriodText(f.period)) {
        r.error = lineError(1, "的任务名称、操作人员或任务年月不正确。");
        return r;
    }
    if (trim(lines.size() > 2 ? lines[2] : std::string_view()) != "*Dep*") {
        r.error = lineError(2, "应为“*Dep*”。");
        return r;
    }

    std::size_t i = 3;
    for (; i < lines.size() && trim(lines[i]) != "*Item*"; ++i) {
        const std::optional<std::string> text = header(i);
        if (!text) {
            r.error = lineError(i, "（部门）无法读取（不是GBK文本、含有控制字符或过长）。");
            return r;
        }
        if (trim(*text).empty())
            continue;
        // Code, blanks, name: split at the first blank.
        const std::string t = trim(*text);
        const std::size_t blank = t.find(' ');
        DataLoadFile::Department d;
        d.line = static_cast<int>(i + 1);
        d.code = t.substr(0, blank);
        d.name = blank == std::string::npos ? std::string() : trim(std::string_view(t).substr(blank + 1));
        f.departments.push_back(std::move(d));
    }
    if (i >= lines.size()) {
        r.error = formatError("文件缺少“*Item*”一节。");
        return r;
    }
    const std::size_t itemLine = i + 1;
    const std::optional<std::string> items = header(itemLine);
    if (!items) {
        r.error = lineError(itemLine, "（工资项目名称）无法读取（不是GBK文本、含有控制字符或过长）。");
        return r;
    }
    if (fieldCount(*items, ",") > kMaxItems) {
        r.error = lineError(itemLine, "的工资项目超过" + std::to_string(kMaxItems) + "个。");
        return r;
    }
    if (!trim(*items).empty())
        for (std::string& name : splitFields(*items, ","))
            f.items.push_back(trim(name));
    if (itemLine + 1 >= lines.size() || trim(lines[itemLine + 1]) != "*Data*") {
        r.error = lineError(itemLine + 1, "应为“*Data*”。");
        return r;
    }

    const std::size_t expected = f.items.size() + 4;
    for (std::size_t k = itemLine + 2; k < lines.size(); ++k) {
        if (trim(lines[k]).empty())
            continue;
        DataLoadFile::Row row;
        row.line = static_cast<int>(k + 1);
        if (lines[k].size() > kMaxLineBytes) {
            f.skipped.push_back({row.line, shownLine(fromGbk(lines[k].substr(0, 400))),
                                 std::string(kRecordRejected) + "（本行过长）"});
            continue;
        }
        const std::optional<std::string> text = utf8Strict(lines[k]);
        if (!text || hasControlChar(*text)) {
            f.skipped.push_back({row.line, shownLine(text ? *text : fromGbk(lines[k].substr(0, 400))),
                                 std::string(kRecordRejected) + "（不是GBK文本或含有控制字符）"});
            continue;
        }
        row.text = *text;
        // A line with the wrong field count is judged by the load; it is not
        // split, so that a line of a million commas costs nothing.
        if (fieldCount(row.text, ",") == expected)
            row.fields = splitFields(row.text, ",");
        f.rows.push_back(std::move(row));
    }
    r.file = std::move(f);
    return r;
}

std::string dataLoadLayoutHelp() {
    return "数据文件格式（文本文件，每行以回车换行结束）：\n"
           "第1行：KS770_GZGL（文件标志）\n"
           "第2行：<任务名称>,<操作人员>,<任务年月>\n"
           "第3行：*Dep*\n"
           "以下每个部门一行：<部门1编码>   <部门1名称>\n"
           "……\n"
           "*Item*\n"
           "<项目名称1>,<项目名称2>,......,<项目名称N>\n"
           "*Data*\n"
           "以下每个员工一行：<员工所在部门或编码>,<员工代码>,<性别>,<员工姓名>,<工资项目1>,<工资项目2>......\n"
           "工资项目的值为数字或文字，“*”表示无值。";
}

} // namespace gzgl::exchange
