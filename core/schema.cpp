#include "core/schema.h"

#include "core/text.h"

#include <regex>

namespace gzgl {

const std::vector<TableDef>& periodTables() {
    static const std::vector<TableDef> tables = {
        {"_DepType", "F_TypeNo varchar(2),F_TypeName varchar(32),F_Subject varchar(64),F_OppSubject varchar(64)",
         "F_TypeNo"},
        {"_EmpType", "F_TypeNo varchar(4),F_TypeName varchar(32)", "F_TypeNo"},
        {"_Depart",
         "F_DepNo varchar(20),F_DepName varchar(32),F_TypeNo varchar(2),F_DepClass long,F_End long,"
         "F_Subject varchar(64),F_OppSubject varchar(64)",
         "F_DepNo"},
        {"_Employee",
         "F_EmpNo varchar(20),F_DepNo varchar(20),F_EmpName varchar(32),F_Sex varchar(2),F_Nation varchar(32),"
         "F_CID varchar(32),F_AccNo varchar(32),F_OldNo varchar(32),F_HouseNo varchar(32),"
         "F_OtherNo1 varchar(32),F_OtherNo2 varchar(32),F_SortNo long,F_Character varchar(3),"
         "F_EmpType varchar(4),F_NotCalc VARCHAR(255),F_LashMonth VARCHAR(255)",
         "F_EmpNo"},
        {"_Item",
         "F_ID long,F_Code varchar(4),F_Name varchar(32),F_Type varchar(6),F_Prec long,F_Show long,"
         "F_Width long,F_Print long,F_Change long,F_ChgValue double",
         "F_ID"},
        {"_Formula", "F_ID long,F_Code varchar(4),F_Formula memo", "F_ID"},
        {"_Data", "F_EmpNo varchar(20),FFFF double,F003 double", "F_EmpNo"},
        {"_TaxRate", "F_Start double,F_End double,F_Rate double,F_Quick double", ""},
        {"_ZZ",
         "F_ID long,F_Dep varchar(255),F_Item varchar(255),F_Character varchar(100),F_ZY varchar(255),"
         "F_Subject varchar(255),F_OppSubject varchar(255),F_PZH integer",
         "F_ID"},
        {"_PrnPrj",
         "F_FormID long #NN,F_PrjID long #NN,F_PrjName varchar(100) #NN,F_defPrj long #NN,F_Rows long #NN,"
         "F_SpRow long #NN,F_FixHeight double #NN,F_Forms long #NN,F_FormDist double #NN,F_FixCols long #NN,"
         "F_PageHead long #NN,F_PageFoot long #NN,F_PreNext long #NN,F_PreNextCol long #NN,F_Zero long #NN,"
         "F_Thousand long #NN,F_FormTop double #NN,F_FormBottom double #NN,F_FormLeft double #NN,"
         "F_FormRight double #NN,F_ColHeadFont varchar(255) #NN,F_DataFont varchar(255) #NN,F_Pkg long #NN,"
         "F_SalaryHeight double default 2,F_dPara1 double #NN,F_dPara2 double #NN,F_iPara3 long #NN,"
         "F_iPara4 long #NN,F_sPara5 varchar(50) #NN,F_sPara6 varchar(50) #NN",
         "F_FormID,F_PrjID"},
        {"_PrnHead",
         "F_FormID long #NN,F_PrjID long #NN,F_Index long #NN,F_Visible long #NN,F_Pkg long #NN,"
         "F_Font varchar(255) #NN,F_Align long #NN,F_LRDist double #NN,F_TopDist double #NN,"
         "F_Content varchar(255) #NN",
         "F_FormID,F_PrjID,F_Index"},
        {"_PrnFoot",
         "F_FormID long #NN,F_PrjID long #NN,F_Index long #NN,F_Visible long #NN,F_Pkg long #NN,"
         "F_Font varchar(255) #NN,F_Align long #NN,F_LRDist double #NN,F_BottomDist double #NN,"
         "F_Content varchar(255) #NN",
         "F_FormID,F_PrjID,F_Index"},
        {"_StdPrnCol",
         "F_FormID long #NN,F_PrjID long #NN,F_Col long #NN,F_ColWidth double #NN,F_ColAlign long #NN,"
         "F_HeadColAlign long #NN,F_InPage long #NN",
         "F_FormID,F_PrjID,F_Col"},
    };
    return tables;
}

std::string makeTaskPrefix(const std::string& taskID, const std::string& period) {
    return "ID" + taskID + "_" + period + "_";
}

std::string sqliteColumns(const std::string& columns) {
    static const std::regex varchar(R"(\b(varchar|char)\((\d+)\))", std::regex::icase);
    static const std::regex longWord(R"(\b(long|integer)\b)", std::regex::icase);
    static const std::regex memoWord(R"(\b(memo|text)\b)", std::regex::icase);
    static const std::regex notNull(" #NN");
    std::string s = std::regex_replace(columns, varchar, "$1($2) COLLATE NOCASE");
    s = std::regex_replace(s, longWord, "INTEGER");
    s = std::regex_replace(s, memoWord, "TEXT COLLATE NOCASE");
    s = std::regex_replace(s, notNull, " NOT NULL");
    return s;
}

std::string periodTable(const std::string& prefix, const std::string& suffix) {
    return prefix + (suffix.starts_with("_") ? suffix.substr(1) : suffix);
}

bool isItemCode(std::string_view code) {
    if (code.size() != 4 || code[0] != 'F')
        return false;
    for (char c : code.substr(1))
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

std::string createTableSql(const std::string& prefix, const TableDef& t) {
    return "Create Table " + periodTable(prefix, t.suffix) + "(" + sqliteColumns(t.columns) + ")";
}

std::string createIndexSql(const std::string& prefix, const TableDef& t) {
    const std::string table = periodTable(prefix, t.suffix);
    return "Create Index IX_" + table + " On " + table + "(" + t.indexColumns + ")";
}

void createSystemTableStatements(Connection& sys) {
    sys.execute("Create table GZSysInfo(" +
                sqliteColumns("F_ID varchar(4) NOT NULL,F_GZMC varchar(64) NOT NULL,F_QYDM varchar(20) NULL,"
                              "F_RYXM varchar(16) NOT NULL,F_RYKL varchar(16) default '',F_QYRQ varchar(6) NOT NULL,"
                              "F_DQRQ varchar(6) NOT NULL,"
                              "F_BMJB varchar(20) default '0',F_RYBMCD double NULL,F_ZZ double NULL,"
                              "F_KWFS double NULL, F_ZTID varchar(6) NULL,F_ZTPATH varchar(255) NULL") +
                ")");
    sys.execute("Create Index IX_GZSysInfo ON GZSysInfo(F_ID)");
    sys.execute("Create table GZRecord(" + sqliteColumns("F_ID varchar(4),F_TIME varchar(6),F_ZZ varchar(16)") + ")");
    sys.execute("Create Index IX_GZRecord ON GZRecord(F_ID)");
}

void createPeriodTables(Connection& task, const std::string& prefix) {
    for (const TableDef& t : periodTables()) {
        task.execute(createTableSql(prefix, t));
        if (!t.indexColumns.empty())
            task.execute(createIndexSql(prefix, t));
    }
}

void insertBuiltInItems(Connection& task, const std::string& prefix) {
    struct Item {
        int id;
        const char* code;
        const char* name;
        const char* type;
        int prec;
    };
    static const Item items[] = {
        {1, "F001", "工号", "文字", 0},     {2, "F002", "姓名", "文字", 0},     {3, "F000", "实发工资", "数字", 2},
        {4, "F003", "应发工资", "数字", 2}, {5, "FFFF", "上月扣零", "数字", 2}, {6, "FFFE", "本月补发", "数字", 2},
        {7, "FFFD", "本月扣零", "数字", 2},
    };
    const std::string sql = "Insert Into " + periodTable(prefix, "Item") + " Values(?,?,?,?,?,1,15,1,0,0)";
    for (const Item& i : items)
        task.execute(sql, {i.id, i.code, i.name, i.type, i.prec});
}

void insertBuiltInTaxBrackets(Connection& task, const std::string& prefix) {
    static const double brackets[][4] = {
        {1000.00, 1500.00, 5, 0},        {1500.00, 3000.00, 10, 25},     {3000.00, 6000.00, 15, 125},
        {6000.00, 21000.00, 20, 375},    {21000.00, 41000.00, 25, 1375}, {41000.00, 61000.00, 30, 3375},
        {61000.00, 1E+99, 35, 6375},
    };
    const std::string sql = "Insert Into " + periodTable(prefix, "TaxRate") + " Values(?,?,?,?)";
    for (const auto& b : brackets)
        task.execute(sql, {b[0], b[1], b[2], b[3]});
}

void createTaskRecordTable(Connection& task) {
    task.execute("Create Table GZRecord(" + sqliteColumns("F_ID varchar(4),F_Time varchar(6),F_ZZ varchar(16)") +
                 ")");
}

void ensureParameterTable(Connection& sys) {
    if (!sys.hasTable("tbSysSet"))
        sys.execute("Create Table tbSysSet(" +
                    sqliteColumns("ztName varchar(10),ParaName char(20),ParaValue char(50)") + ")");
}

void upgradeTaskSchema(Connection& task, Connection& sys, const std::string& prefix) {
    const std::string table = periodTable(prefix, "Employee");
    const Recordset probe = task.query("select * from " + table + " where 1=2");
    // Each column is added on its own, so that a task that has only one of
    // them is still upgraded instead of failing on the second statement.
    for (const char* column : {"F_NotCalc", "F_LashMonth"})
        if (!probe.fieldIndex(column))
            task.execute("ALTER TABLE " + table + " ADD " + column + " TEXT COLLATE NOCASE");
    ensureParameterTable(sys);
}

} // namespace gzgl
