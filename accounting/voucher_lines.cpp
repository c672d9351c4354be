#include "accounting/voucher_lines.h"

#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "exchange/divide.h"
#include "monthly/workgrid_load.h"

#include <map>
#include <set>
#include <unordered_map>

namespace gzgl::accounting {

namespace {

// An employee row of the grid with what decides whether he takes part.
struct Participant {
    int row = 0;
    int department = -1; // index into the distinct departments
    std::string attribute;
};

std::int64_t cellFen(const std::string& text) {
    if (text.empty())
        return 0;
    const double v = readNumber(text);
    // The marker of "no value" counts as nothing, as a stored one does.
    if (v == -9999)
        return 0;
    return exchange::amountInFen(v);
}

} // namespace

std::vector<VoucherLine> uniteLines(const std::vector<VoucherLine>& lines) {
    std::vector<VoucherLine> out;
    std::map<std::tuple<int, bool, std::string>, std::size_t> at;
    for (const VoucherLine& l : lines) {
        const auto [it, fresh] = at.try_emplace({l.number, l.debit, l.account}, out.size());
        if (fresh) {
            out.push_back(l);
            continue;
        }
        VoucherLine& into = out[it->second];
        into.fen += l.fen;
        if (into.department != l.department)
            into.department.clear();
    }
    return out;
}

VoucherDraft computeVoucherLines(Session& s, const std::vector<TransferRule>& rules, bool unite,
                                 Progress& progress) {
    VoucherDraft draft;
    if (rules.empty()) {
        draft.outcome = Outcome::refuse(kNoRules, s.productShortName, Icon::Exclamation);
        return draft;
    }
    const std::string prefix = s.taskPrefix();

    // The month as the salary screens show it, recalculated once for all
    // rules: a row's figures do not depend on which other rows are loaded.
    monthly::GridFilter filter;
    filter.order = monthly::GridFilter::Order::EmployeeNo;
    monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, filter, false);
    calc::WorkGrid& grid = loaded.grid;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);

    progress.begin(kArrangingStatus, static_cast<int>(rules.size()));
    struct EndProgress {
        Progress& p;
        ~EndProgress() { p.end(); }
    } endProgress{progress};

    std::set<std::string> existing;
    std::vector<std::string> leaves;
    {
        const Recordset deps = s.taskConn.query("Select F_DepNo,F_End from " + periodTable(prefix, "Depart"));
        for (std::size_t i = 0; i < deps.size(); ++i) {
            const std::string code = trim(deps.row(i)[0].toString());
            existing.insert(code);
            if (deps.row(i)[1].toInt() == 1)
                leaves.push_back(code);
        }
    }

    // Every employee with a grid row, and the distinct departments they are
    // in (a rule is decided once per department, not once per employee).
    std::vector<std::string> departments;
    std::vector<Participant> people;
    std::set<std::string> attributes;
    {
        std::unordered_map<std::string, int> rowOf;
        for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
            rowOf.emplace(trim(grid.cell(r, 0)), r);
        std::unordered_map<std::string, int> depIndex;
        const Recordset emps =
            s.taskConn.query("Select F_EmpNo,F_DepNo,F_Character from " + periodTable(prefix, "Employee"));
        for (std::size_t i = 0; i < emps.size(); ++i) {
            std::string attribute = trim(emps.row(i)[2].toString());
            attributes.insert(attribute);
            const auto row = rowOf.find(trim(emps.row(i)[0].toString()));
            if (row == rowOf.end())
                continue;
            const std::string dep = trim(emps.row(i)[1].toString());
            const auto [d, fresh] = depIndex.try_emplace(dep, static_cast<int>(departments.size()));
            if (fresh)
                departments.push_back(dep);
            people.push_back({row->second, d->second, std::move(attribute)});
        }
    }

    // Each used column's values in fen, worked out once.
    std::unordered_map<int, std::vector<std::int64_t>> fenOf;
    auto columnFen = [&](int col) -> const std::vector<std::int64_t>& {
        auto [it, fresh] = fenOf.try_emplace(col);
        if (fresh) {
            it->second.resize(static_cast<std::size_t>(grid.rows()));
            for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
                it->second[static_cast<std::size_t>(r)] = cellFen(grid.cell(r, col));
        }
        return it->second;
    };

    for (const TransferRule& rule : rules) {
        const std::vector<std::string> codes = splitList(rule.departments);
        // The lowest-level departments under the rule's codes; an employee
        // takes part when his department exists and lies under one of them.
        std::vector<std::string> under;
        for (const std::string& leaf : leaves)
            for (const std::string& c : codes)
                if (leaf.starts_with(c)) {
                    under.push_back(leaf);
                    break;
                }
        std::vector<char> depIn(departments.size(), 0);
        for (std::size_t d = 0; d < departments.size(); ++d) {
            if (!existing.count(departments[d]))
                continue;
            for (const std::string& leaf : under)
                if (departments[d].starts_with(leaf)) {
                    depIn[d] = 1;
                    break;
                }
        }

        const std::vector<std::string> wanted = splitList(rule.attributes);
        for (const std::string& a : wanted)
            if (!attributes.count(a)) {
                draft.outcome = Outcome::refuse(kNoSuchAttribute, s.productShortName, Icon::Exclamation);
                draft.lines.clear();
                return draft;
            }
        const std::set<std::string> wantedSet(wanted.begin(), wanted.end());

        std::vector<int> columns;
        for (const std::string& code : splitList(rule.items))
            if (const int col = grid.columnOf(code); col >= 0)
                columns.push_back(col);

        std::int64_t fen = 0;
        for (const int col : columns) {
            const std::vector<std::int64_t>& values = columnFen(col);
            for (const Participant& p : people)
                if (depIn[static_cast<std::size_t>(p.department)] &&
                    (wantedSet.empty() || wantedSet.count(p.attribute)))
                    fen += values[static_cast<std::size_t>(p.row)];
        }

        const int number = std::stoi(trim(rule.number));
        const std::string department = codes.size() == 1 ? codes.front() : std::string();
        draft.lines.push_back({number, rule.summary, trim(rule.debit), true, fen, department});
        draft.lines.push_back({number, rule.summary, trim(rule.credit), false, fen, department});
        progress.step();
    }
    if (unite)
        draft.lines = uniteLines(draft.lines);
    return draft;
}

} // namespace gzgl::accounting
