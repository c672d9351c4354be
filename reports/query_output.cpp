// The salary query's outputs: the print job and the Excel workbook.
#include "reports/query.h"

#include "core/gbk.h"
#include "core/schema.h"
#include "exchange/delimited.h"
#include "print/screen_jobs.h"
#include "reports/months.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace gzgl::reports {

namespace {

// Columns whose digits are identifiers, never amounts.
bool identityColumn(const QueryColumn& c) {
    return c.caption == "身份证号" || c.caption == "银行账号" || !c.totalled();
}

// Width of a leading column: its widest text at 2 mm a GBK byte, within
// reason, since those columns have no stored width.
double leadWidthMm(const QueryResult& r, std::size_t col) {
    std::size_t bytes = gbkLength(r.columns[col].caption);
    for (const auto& row : r.rows)
        bytes = std::max(bytes, gbkLength(row[col]));
    return std::clamp(static_cast<double>(bytes) * 2.0 + 4.0, 12.0, 60.0);
}

std::string footerDate(const QueryResult& r) {
    if (r.first == r.last)
        return print::dateLine(r.last);
    return print::dateLine(r.first) + "--" + print::dateLine(r.last).substr(std::string("日期:").size());
}

} // namespace

print::PrintGrid queryPrintGrid(const QueryResult& r) {
    print::PrintGrid g;
    g.fixedRows = 1;
    std::vector<std::string> heading;
    for (std::size_t c = 0; c < r.columns.size(); ++c) {
        const QueryColumn& col = r.columns[c];
        heading.push_back(col.caption);
        const bool printed = col.show && col.print;
        const double width = c < 3 ? leadWidthMm(r, c) : std::max(col.width, 8);
        g.colWidthMm.push_back(printed ? width : 0.0);
        g.colAlign.push_back(col.totalled() ? 2 : 0);
        g.colCode.push_back(col.code);
        g.colText.push_back(!col.totalled());
    }
    g.cells.push_back(std::move(heading));
    for (const auto& row : r.rows)
        g.cells.push_back(row);
    if (!r.rows.empty())
        g.cells.push_back(r.total);
    return g;
}

print::clsGridPrint queryJob(Session& s, const QueryResult& r, bool preview) {
    print::clsGridPrint job;
    {
        // The page setup kept with the queried month's tables.
        PeriodScope scope(s, r.last);
        job = print::newJob(s, queryPrintGrid(r), kFormQuery);
    }
    print::addHeadLine(job, kQueryTitle, 0, 10.0);
    print::addHeadLine(job, print::kPageLine, 2);
    print::addFootLine(job, footerDate(r), 0);
    print::addFootLine(job, "制表:" + s.curOperName, 2);
    print::applySettings(job, preview ? 0 : 3, false);
    return job;
}

exchange::SheetTable querySheet(const QueryResult& r) {
    exchange::SheetTable t;
    std::vector<std::size_t> shown;
    for (std::size_t c = 0; c < r.columns.size(); ++c) {
        const QueryColumn& col = r.columns[c];
        if (!col.show)
            continue;
        shown.push_back(c);
        t.captions.push_back(col.caption);
        t.kinds.push_back(identityColumn(col) ? exchange::CellKind::Text : exchange::CellKind::Number);
        // Stored widths are millimetres, about two to a character.
        t.widths.push_back(c < 3 ? leadWidthMm(r, c) / 2.0 : col.width / 2.0);
    }
    auto add = [&](const std::vector<std::string>& row) {
        std::vector<std::string> out;
        out.reserve(shown.size());
        for (std::size_t c : shown)
            out.push_back(row[c]);
        t.rows.push_back(std::move(out));
    };
    t.rows.reserve(r.rows.size() + 1);
    for (const auto& row : r.rows)
        add(row);
    add(r.total);
    return t;
}

bool exportQueryXlsx(Session& s, Prompt& p, const std::string& path, const QueryResult& r) {
    namespace fs = std::filesystem;
    const std::string& title = s.productTitle;
    std::error_code ec;
    if (fs::exists(fs::path(path), ec) &&
        !p.askYesNo(path + "磁盘中已有Excel文件,是否要覆盖", title, Icon::Question))
        return false;
    // A unique name in the target folder, so that the rename below replaces
    // the file in one step and never crosses file systems.
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    auto cannotWrite = [&] {
        p.message("无法写入Excel文件：" + path + "\n请检查文件夹是否存在、是否可写。", title, Icon::Critical);
        return false;
    };
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return cannotWrite();
    ::close(fd);
    try {
        exchange::writeXlsx(temp, querySheet(r));
        // mkstemp makes the file private; an export is an ordinary file.
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::others_read);
        fs::rename(temp, target);
    } catch (const std::exception&) {
        fs::remove(temp, ec);
        return cannotWrite();
    }
    p.message(std::string("Excel表格已经成功导出。") + "存放在" + path, title, Icon::Information);
    return true;
}

Outcome exportQueryDelimited(Session& s, Prompt& p, Progress& progress, const QueryResult& r,
                             const std::string& folder, const std::string& name, const std::string& separator,
                             const std::string& today, std::string* written) {
    exchange::DelimitedExport e;
    for (const QueryColumn& c : r.columns)
        e.titles.push_back(c.caption);
    e.rows = r.rows;
    e.folder = folder;
    e.name = name;
    e.separator = separator;
    e.today = today;
    // The item codes are looked up in, and the file labelled with, the
    // month the rows come from.
    PeriodScope scope(s, r.last);
    return exchange::writeDelimited(s, e, p, progress, written);
}

} // namespace gzgl::reports
