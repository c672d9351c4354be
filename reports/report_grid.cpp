#include "reports/report_grid.h"

#include "calc/numformat.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace gzgl::reports {

int ReportGrid::addRow() {
    ReportRow r;
    r.texts.resize(columns.size());
    r.values.assign(columns.size(), 0.0);
    if (hasTotal_) {
        // Data rows stay above the totals row.
        rows.insert(rows.end() - 1, std::move(r));
        return static_cast<int>(rows.size()) - 2;
    }
    rows.push_back(std::move(r));
    return static_cast<int>(rows.size()) - 1;
}

void ReportGrid::add(int row, int col, double v) {
    if (v == 0)
        return; // a cell holds a rounded sum already
    double& cell = rows[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(col)];
    cell = roundToPattern(cell + v, columns[static_cast<std::size_t>(col)].decimals);
}

std::string ReportGrid::cell(int row, int col) const {
    const ReportColumn& c = columns[static_cast<std::size_t>(col)];
    const ReportRow& r = rows[static_cast<std::size_t>(row)];
    if (c.text)
        return r.texts[static_cast<std::size_t>(col)];
    if (hasTotal_ && row == static_cast<int>(rows.size()) - 1 && col == 0)
        return r.texts[0];
    return formatNumber(r.values[static_cast<std::size_t>(col)], precisionPattern(c.decimals));
}

std::string ReportGrid::key(int row) const {
    return (cols() > 0 ? cell(row, 0) : std::string()) + '\x1f' + (cols() > 1 ? cell(row, 1) : std::string());
}

void ReportGrid::removeTotalRow() {
    if (hasTotal_) {
        rows.pop_back();
        hasTotal_ = false;
    }
}

void ReportGrid::addTotalRow() {
    removeTotalRow();
    ReportRow total;
    total.texts.resize(columns.size());
    total.values.assign(columns.size(), 0.0);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].text)
            continue;
        double sum = 0;
        for (const ReportRow& r : rows)
            sum = roundToPattern(sum + r.values[c], columns[c].decimals);
        total.values[c] = sum;
    }
    if (!total.texts.empty())
        total.texts[0] = kTotalCaption;
    rows.push_back(std::move(total));
    hasTotal_ = true;
}

void mergeMonth(ReportGrid& report, const ReportGrid& month) {
    report.removeTotalRow();
    // Columns by caption, the n-th of equal captions with the n-th.
    std::map<std::string, std::vector<int>> byCaption;
    for (int c = 0; c < report.cols(); ++c)
        byCaption[report.columns[static_cast<std::size_t>(c)].caption].push_back(c);
    std::map<std::string, std::size_t> used;
    std::vector<int> target(static_cast<std::size_t>(month.cols()));
    for (int c = 0; c < month.cols(); ++c) {
        const ReportColumn& mc = month.columns[static_cast<std::size_t>(c)];
        std::vector<int>& candidates = byCaption[mc.caption];
        std::size_t& n = used[mc.caption];
        if (n < candidates.size()) {
            target[static_cast<std::size_t>(c)] = candidates[n];
            ReportColumn& rc = report.columns[static_cast<std::size_t>(candidates[n])];
            rc.decimals = std::max(rc.decimals, mc.decimals);
            if (rc.code.empty())
                rc.code = mc.code;
            if (rc.widthMm <= 0)
                rc.widthMm = mc.widthMm;
        } else {
            report.columns.push_back(mc);
            for (ReportRow& r : report.rows) {
                r.texts.emplace_back();
                r.values.push_back(0.0);
            }
            target[static_cast<std::size_t>(c)] = report.cols() - 1;
            candidates.push_back(report.cols() - 1);
        }
        ++n;
    }

    std::unordered_map<std::string, int> rowOf;
    rowOf.reserve(report.rows.size() + month.rows.size());
    for (int r = 0; r < report.dataRows(); ++r)
        rowOf.emplace(report.key(r), r);
    for (int r = 0; r < month.dataRows(); ++r) {
        const auto [it, added] = rowOf.emplace(month.key(r), 0);
        if (added)
            it->second = report.addRow();
        const int to = it->second;
        const ReportRow& from = month.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < month.cols(); ++c) {
            const int tc = target[static_cast<std::size_t>(c)];
            const bool monthText = month.columns[static_cast<std::size_t>(c)].text;
            if (report.columns[static_cast<std::size_t>(tc)].text) {
                const std::string t = monthText ? from.texts[static_cast<std::size_t>(c)] : month.cell(r, c);
                if (!t.empty())
                    report.rows[static_cast<std::size_t>(to)].texts[static_cast<std::size_t>(tc)] = t;
            } else if (!monthText) {
                report.add(to, tc, from.values[static_cast<std::size_t>(c)]);
            }
        }
    }
}

} // namespace gzgl::reports
