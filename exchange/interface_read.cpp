// Reading a data-interface file into its parts, without any database.
#include "exchange/interface_import.h"
#include "exchange/import_support.h"
#include "exchange/textfile.h"

#include "core/text.h"

namespace gzgl::exchange {

namespace {

// More columns than a task has items cannot be a real file.
constexpr std::size_t kMaxColumns = 2000;

std::string notSalaryFile(const std::string& detail) {
    return detail.empty() ? kNotSalaryFile : std::string(kNotSalaryFile) + "\n" + detail;
}

// The text after the first blank of a header line that starts with label.
std::optional<std::string> headerValue(const std::string& line, const std::string& label) {
    if (!line.starts_with(label + " "))
        return std::nullopt;
    return line.substr(label.size() + 1);
}

std::vector<std::string> trimmedCells(const std::string& text, const std::string& separator) {
    std::vector<std::string> cells = splitFields(text, separator);
    for (std::string& c : cells)
        c = trim(c);
    return cells;
}

} // namespace

ParsedInterface parseInterfaceFile(std::string_view bytes) {
    ParsedInterface r;
    const std::vector<std::string_view> lines = textLines(bytes);
    if (lines.empty() || trim(lines[0]) != "****") {
        r.error = kNotSalaryFile;
        return r;
    }
    auto text = [&](std::size_t i) -> std::optional<std::string> {
        if (i >= lines.size() || lines[i].size() > kMaxLineBytes)
            return std::nullopt;
        std::optional<std::string> t = utf8Strict(lines[i]);
        // A tab may be the separator; other control characters are no text.
        if (t)
            for (const char c : *t)
                if (c != '\t' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F))
                    return std::nullopt;
        return t;
    };

    InterfaceFile f;
    bool haveTask = false, havePeriod = false, haveSeparator = false;
    std::size_t i = 1;
    for (; i < lines.size() && trim(lines[i]) != "****"; ++i) {
        const std::optional<std::string> line = text(i);
        if (!line) {
            r.error = notSalaryFile("第" + std::to_string(i + 1) + "行无法读取。");
            return r;
        }
        if (const auto task = headerValue(*line, "任务名称")) {
            const std::string t = trim(*task);
            const std::size_t blank = t.find(' ');
            f.taskID = t.substr(0, blank);
            f.taskName = blank == std::string::npos ? std::string() : trim(std::string_view(t).substr(blank + 1));
            haveTask = true;
        } else if (const auto period = headerValue(*line, "工资期数")) {
            f.period = trim(*period);
            havePeriod = true;
        } else if (const auto sep = headerValue(*line, "分隔符号")) {
            f.separator = *sep;
            haveSeparator = true;
        }
    }
    if (i >= lines.size() || !haveTask || !havePeriod || !haveSeparator) {
        r.error = notSalaryFile("文件头缺少任务名称、工资期数或分隔符号。");
        return r;
    }
    // Cells are padded with blanks, so a blank separator cannot be told from
    // the padding.
    if (trim(f.separator).empty() && f.separator.find('\t') == std::string::npos) {
        r.error = notSalaryFile("分隔符号为空或为空格，无法分开各列。");
        return r;
    }
    const std::optional<std::string> codes = text(i + 1);
    const std::optional<std::string> titles = text(i + 2);
    if (!codes || !titles) {
        r.error = notSalaryFile("缺少项目编码行或标题行。");
        return r;
    }
    if (fieldCount(*codes, f.separator) > kMaxColumns) {
        r.error = notSalaryFile("列数超过" + std::to_string(kMaxColumns) + "。");
        return r;
    }
    f.codes = trimmedCells(*codes, f.separator);
    f.titles = trimmedCells(*titles, f.separator);
    if (f.codes.size() != f.titles.size()) {
        r.error = notSalaryFile("项目编码行与标题行的列数不同。");
        return r;
    }
    for (std::size_t k = i + 3; k < lines.size(); ++k) {
        if (trim(lines[k]).empty())
            continue;
        InterfaceFile::Row row;
        row.line = static_cast<int>(k + 1);
        const std::optional<std::string> t = text(k);
        if (!t) {
            f.skipped.push_back({row.line, shownLine(fromGbk(lines[k].substr(0, 400))),
                                 lines[k].size() > kMaxLineBytes ? "本行过长，不予导入。"
                                                                 : "本行不是GBK文本或含有控制字符，不予导入。"});
            continue;
        }
        row.text = *t;
        if (fieldCount(row.text, f.separator) == f.codes.size())
            row.cells = trimmedCells(row.text, f.separator);
        f.rows.push_back(std::move(row));
    }
    r.file = std::move(f);
    return r;
}

} // namespace gzgl::exchange
