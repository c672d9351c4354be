#include "accounting/demo.h"

#include "accounting/odbc.h"
#include "accounting/single_user.h"
#include "core/connection.h"
#include "core/text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl::accounting {

namespace {

struct DemoAccount {
    const char* code;
    const char* name;
    int level;
    bool leaf;
};

// A salary-minded piece of a chart: the expense accounts a payroll is
// charged to and the liabilities it is owed from, each with a level below.
constexpr DemoAccount kChart[] = {
    {"1001", "库存现金", 1, true},  {"1002", "银行存款", 1, true},         {"2211", "应付职工薪酬", 1, false},
    {"221101", "工资", 2, true},    {"221102", "职工福利", 2, true},       {"221103", "社会保险费", 2, true},
    {"2221", "应交税费", 1, false}, {"222101", "应交个人所得税", 2, true}, {"2241", "其他应付款", 1, true},
    {"5001", "生产成本", 1, false}, {"500101", "直接人工", 2, true},       {"5101", "制造费用", 1, false},
    {"510101", "工资", 2, true},    {"6601", "销售费用", 1, false},        {"660101", "工资", 2, true},
    {"6602", "管理费用", 1, false}, {"660201", "工资", 2, true},           {"660202", "福利费", 2, true},
};

// A new database at a temporary name beside target, filled by fill.
template <typename Fill> std::string writeTemporary(const fs::path& target, Fill fill) {
    const std::string temp = target.string() + ".part";
    std::error_code ec;
    fs::remove(temp, ec);
    createEmptyDatabase(temp);
    Connection c;
    c.open(temp);
    Transaction t(c);
    fill(c);
    t.commit();
    return temp;
}

// The set tables of the demo in both forms. On a server the amounts JE
// and WBJE are exact decimals and the other figures FLOAT, since REAL may
// be single precision there.
std::vector<std::string> setTableStatements(const std::string& id, const std::string& amount,
                                            const std::string& real) {
    return {"Create Table " + id +
                "_YE(KMDM varchar(20),KMMC varchar(60),KMJB INTEGER,SFMJ INTEGER,KJN INTEGER,"
                "KJY INTEGER)",
            "Create Table " + id + "_YHGL(XM varchar(20))",
            "Create Table " + id +
                "_PZGL_M(PZH INTEGER,PZRQ varchar(10),KJN INTEGER,KJY INTEGER,YSPZZS INTEGER,"
                "ZZR varchar(20),PZZT varchar(1))",
            "Create Table " + id +
                "_PZGL_D(PZH INTEGER,ZY varchar(255),KMDM varchar(20),JDBZ varchar(1),JE " + amount +
                ",KJN INTEGER,KJY INTEGER,PZFYH INTEGER,PZFYXH INTEGER,DFKM varchar(20),SL " + real + ",DJ " +
                real + ",WBJE " + amount + ",HL " + real + ",HSXM varchar(60))"};
}

} // namespace

void layoutDemoNetworkAccounting(const NetworkLink& link, const std::string& password,
                                 const std::vector<std::string>& users, const YearMonth& period) {
    odbc::Connection c = connectNetwork(link, password);
    bool haveList = true;
    std::vector<odbc::Row> listed;
    try {
        listed = c.query("Select ZTID from ZTXX");
    } catch (const odbc::Error&) {
        haveList = false; // made below
    }
    for (const odbc::Row& r : listed)
        for (const AccountingSet& set : demoSets())
            if (r[0] && trim(*r[0]) == set.id)
                throw AccountingError("核算单位" + set.id + "已存在！");
    try {
        c.setAutocommit(false);
        if (!haveList)
            c.execute("Create Table ZTXX(ZTID varchar(6),ZTMC varchar(64))");
        for (const AccountingSet& set : demoSets()) {
            const std::string& id = set.id;
            c.execute("Insert Into ZTXX(ZTID,ZTMC) values(?,?)", {id, set.name});
            c.execute("Create Table " + id + "_XTSZ(DQKJN INTEGER,DQKJY INTEGER)");
            c.execute("Insert Into " + id + "_XTSZ(DQKJN,DQKJY) values(?,?)", {period.year, period.month});
            for (const std::string& sql : setTableStatements(id, "NUMERIC(18,2)", "FLOAT"))
                c.execute(sql);
            for (const DemoAccount& a : kChart)
                c.execute("Insert Into " + id + "_YE(KMDM,KMMC,KMJB,SFMJ,KJN,KJY) values(?,?,?,?,?,?)",
                          {std::string(a.code), std::string(a.name), a.level, a.leaf ? 1 : 0, period.year,
                           period.month});
            for (const std::string& u : users)
                c.execute("Insert Into " + id + "_YHGL(XM) values(?)", {u});
        }
        c.commit();
    } catch (const odbc::Error& e) {
        try {
            c.rollback();
        } catch (const odbc::Error&) {
        }
        throw AccountingError(std::string("不能建立演示账套：") + e.what());
    }
}

void layoutDemoAccounting(const std::string& folder, const std::vector<std::string>& users,
                          const YearMonth& period) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw AccountingError("不能建立文件夹" + folder + "！");
    std::vector<fs::path> targets{fs::path(folder) / kSystemDbName};
    for (const AccountingSet& set : demoSets())
        targets.push_back(fs::path(folder) / setDatabaseName(set.id));
    for (const fs::path& t : targets)
        if (fs::exists(t, ec))
            throw AccountingError("文件" + t.string() + "已存在！");

    std::vector<std::string> temps;
    std::size_t renamed = 0;
    try {
        temps.push_back(writeTemporary(targets[0], [&](Connection& c) {
            c.execute("Create Table ZTGL(ZTID varchar(6),ZTMC varchar(64),DQKJN INTEGER,DQKJY INTEGER)");
            for (const AccountingSet& set : demoSets())
                c.execute("Insert Into ZTGL(ZTID,ZTMC,DQKJN,DQKJY) values(?,?,?,?)",
                          {set.id, set.name, period.year, period.month});
        }));
        for (std::size_t i = 0; i < demoSets().size(); ++i) {
            const std::string id = demoSets()[i].id;
            temps.push_back(writeTemporary(targets[i + 1], [&](Connection& c) {
                for (const std::string& sql : setTableStatements(id, "REAL", "REAL"))
                    c.execute(sql);
                for (const DemoAccount& a : kChart)
                    c.execute("Insert Into " + id + "_YE(KMDM,KMMC,KMJB,SFMJ,KJN,KJY) values(?,?,?,?,?,?)",
                              {a.code, a.name, a.level, a.leaf ? 1 : 0, period.year, period.month});
                for (const std::string& u : users)
                    c.execute("Insert Into " + id + "_YHGL(XM) values(?)", {u});
            }));
        }
        for (; renamed < temps.size(); ++renamed)
            fs::rename(temps[renamed], targets[renamed]);
    } catch (const std::exception& e) {
        // Nothing of a half-made demo stays behind.
        for (std::size_t i = 0; i < targets.size(); ++i) {
            fs::remove(targets[i].string() + ".part", ec);
            if (i < renamed)
                fs::remove(targets[i], ec);
        }
        throw AccountingError(std::string("不能建立演示账套：") + e.what());
    }
}

} // namespace gzgl::accounting
