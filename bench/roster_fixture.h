// A staff roster of 10,000 employees in 200 leaf departments (ten level-1
// departments of twenty each, scheme "22000"), built by plain inserts for
// the roster benchmarks.
#pragma once

#include "core/connection.h"
#include "support/payroll_fixture.h"

#include <cstdio>
#include <string>

namespace gzgl::bench {

struct Roster {
    test::PayrollTask t;
    Roster() {
        Connection& db = t.s.taskConn;
        Transaction tx(db);
        for (int d = 1; d <= 10; ++d) {
            char parent[8];
            std::snprintf(parent, sizeof parent, "%02d", d);
            db.execute("Insert Into " + t.table("Depart") + "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',1,0)",
                       {std::string(parent), "分公司" + std::to_string(d)});
            for (int l = 1; l <= 20; ++l) {
                char leaf[8];
                std::snprintf(leaf, sizeof leaf, "%02d%02d", d, l);
                db.execute("Insert Into " + t.table("Depart") +
                               "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',2,1)",
                           {std::string(leaf), "部门" + std::string(leaf)});
            }
        }
        for (int e = 0; e < 10000; ++e) {
            char no[8], dep[8];
            std::snprintf(no, sizeof no, "%04d", e + 1);
            std::snprintf(dep, sizeof dep, "%02d%02d", 1 + e % 10, 1 + (e / 10) % 20);
            db.execute("Insert Into " + t.table("Employee") +
                           "(F_EmpNo,F_DepNo,F_EmpName,F_Sex,F_Nation,F_CID,F_AccNo,F_OldNo,F_HouseNo,F_OtherNo1,"
                           "F_OtherNo2,F_SortNo,F_Character,F_EmpType,F_NotCalc,F_LashMonth) "
                           "Values(?,?,?,'男','汉','110101199001011234','6222020200112233445',' ',' ',' ',' ',?,'1','',' ',' ')",
                       {std::string(no), std::string(dep), "职工" + std::to_string(e), e / 200});
            db.execute("Insert Into " + t.table("Data") + "(F_EmpNo) Values(?)", {std::string(no)});
        }
        tx.commit();
        t.s.sysConn.execute("Update GZSysInfo set F_BMJB='22000' where F_ID=?", {t.s.curTaskID});
    }
};

} // namespace gzgl::bench
