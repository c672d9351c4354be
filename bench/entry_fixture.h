// A month for the entry-screen benchmarks: 10,000 employees, 60 items (the
// seven built-in ones and F004..F056: 27 inputs, 25 calculated, F056 the
// tax) and 40 formula lines (29 arithmetic and conditional lines, gross
// pay, nine generated tax lines and net pay), rounding-off to 1 yuan. No
// departments are defined, so the entry screen opens on every employee.
#pragma once

#include "core/connection.h"
#include "items/taxrates.h"
#include "support/payroll_fixture.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace gzgl::bench {

inline std::string itemCode(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "F%03d", n);
    return b;
}

struct EntryMonth {
    test::PayrollTask t{3};
    EntryMonth() {
        for (int i = 4; i <= 56; ++i)
            t.item(itemCode(i), "项目" + std::to_string(i));
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> cents(0, 300000);
        Connection& db = t.s.taskConn;
        Transaction tx(db);
        for (int e = 0; e < 10000; ++e) {
            char no[8];
            std::snprintf(no, sizeof no, "%05d", e);
            t.employee(no, "职工" + std::to_string(e), "0" + std::to_string(1 + e % 20), e % 7);
            std::string sql = "Update " + t.table("Data") + " Set FFFF=?";
            std::vector<double> v{cents(rng) % 100 / 100.0};
            for (int i = 4; i <= 30; ++i) {
                sql += "," + itemCode(i) + "=?";
                v.push_back(cents(rng) / 100.0);
            }
            Params p(v.begin(), v.end());
            p.emplace_back(std::string(no));
            db.execute(sql + " Where F_EmpNo=?", p);
        }
        for (int l = 0; l < 29; ++l) {
            const int target = 31 + l % 25;
            const std::string a = itemCode(4 + l % 27), b = itemCode(5 + (l * 7) % 26),
                              c = itemCode(l < 5 ? 6 : 31 + l % 5);
            std::string f;
            switch (l % 4) {
            case 0: f = a + "+" + b + "-" + c + "*0.1"; break;
            case 1: f = "{" + a + ">500,(" + a + "-500)*0.2," + b + "}"; break;
            case 2: f = "(" + a + "+" + b + ")*0.05"; break;
            default: f = "{[" + a + ">100]&[" + b + "<2000]," + c + "*0.3,0}"; break;
            }
            t.formula(itemCode(target), f);
        }
        t.formula("F003", "F031+F032+F033+F034+F035+F036+F037+F038");
        const std::vector<items::TaxRow> rows = {
            {"0", "500", "5", "0"},           {"500", "2000", "10", "25"},       {"2000", "5000", "15", "125"},
            {"5000", "20000", "20", "375"},   {"20000", "40000", "25", "1375"},  {"40000", "60000", "30", "3375"},
            {"60000", "80000", "35", "6375"}, {"80000", "100000", "40", "10375"}, {"100000", "", "45", "15375"},
        };
        for (const std::string& line : items::taxFormulaTexts("800", rows))
            t.formula("F056", line);
        t.formula("F000", "F003-F056-F039");
        tx.commit();
    }
};

} // namespace gzgl::bench
