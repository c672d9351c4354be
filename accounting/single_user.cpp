#include "accounting/single_user.h"

#include "core/connection.h"
#include "core/numtext.h"
#include "core/paths.h"
#include "core/text.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl::accounting {

namespace {

const char* const kSetTables[] = {"_YE", "_YHGL", "_PZGL_M", "_PZGL_D"};

// SFMJ as the accounting side may write it: a number (1, or -1 for a Jet
// Yes) or a word.
bool leafFlag(const Value& v) {
    if (v.isNull())
        return false;
    if (!v.isText())
        return v.toDouble() != 0;
    const std::string t = upperAscii(trim(v.toString()));
    return t == "是" || t == "Y" || t == "T" || t == "TRUE" || readNumber(t) != 0;
}

Account accountOf(const std::vector<Value>& row) {
    return {trim(row[0].toString()), trim(row[1].toString()), static_cast<int>(row[2].toInt()),
            leafFlag(row[3])};
}

// Opens one database file of the folder; the messages say which file and
// what is wrong with it.
void openFile(Connection& c, const std::string& folder, const std::string& name, const std::string& missing) {
    if (!fileExistsNoCase(folder, name))
        throw AccountingError(missing);
    const std::string path = findFileNoCase(folder, name);
    try {
        c.open(path);
    } catch (const DbError&) {
        throw AccountingError("文件" + path + "不是财务系统数据库！");
    }
}

class SingleUserStore : public AccountingStore {
public:
    SingleUserStore(Connection sys, Connection set, std::string setID)
        : sys_(std::move(sys)), set_(std::move(set)), id_(std::move(setID)) {}

    const VoucherForm& form() const override { return form_; }
    std::string setID() const override { return id_; }

    std::vector<AccountingSet> sets() override {
        std::vector<AccountingSet> out;
        const Recordset rs = sys_.query("Select ZTID,ZTMC from ZTGL");
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back({trim(rs.row(i)[0].toString()), trim(rs.row(i)[1].toString())});
        return out;
    }

    std::optional<YearMonth> currentPeriod() override {
        const Recordset rs = sys_.query("Select DQKJN,DQKJY from ZTGL where ZTID=?", {id_});
        if (rs.empty())
            return std::nullopt;
        return YearMonth{static_cast<int>(rs.row(0)[0].toInt()), static_cast<int>(rs.row(0)[1].toInt())};
    }

    std::vector<Account> chart(const YearMonth& period) override {
        const Recordset rs = set_.query("Select KMDM,KMMC,KMJB,SFMJ From " + table("_YE") +
                                            " where KJN=? and KJY=? order by KMDM",
                                        {period.year, period.month});
        std::vector<Account> out;
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(accountOf(rs.row(i)));
        return out;
    }

    std::optional<Account> account(const YearMonth& period, const std::string& code) override {
        const Recordset rs = set_.query("Select KMDM,KMMC,KMJB,SFMJ From " + table("_YE") +
                                            " where KJN=? And KJY=? And KMDM=?",
                                        {period.year, period.month, code});
        if (rs.empty())
            return std::nullopt;
        return accountOf(rs.row(0));
    }

    bool isUser(const std::string& name) override {
        return !set_.query("Select XM from " + table("_YHGL") + " where XM=?", {name}).empty();
    }

    int maxVoucherNumber(const YearMonth& m) override {
        return static_cast<int>(
            set_.scalar("Select max(PZH) from " + table("_PZGL_M") + " where KJN=? and KJY=?",
                        {m.year, m.month})
                .toInt());
    }

    int maxPage(int number, const YearMonth& m) override {
        return static_cast<int>(
            set_.scalar("Select max(PZFYH) from " + table("_PZGL_D") + " where PZH=? and KJN=? and KJY=?",
                        {number, m.year, m.month})
                .toInt());
    }

    int maxLine(int number, int page, const YearMonth& m) override {
        return static_cast<int>(set_.scalar("Select max(PZFYXH) from " + table("_PZGL_D") +
                                                " where PZH=? and PZFYH=? and KJN=? and KJY=?",
                                            {number, page, m.year, m.month})
                                    .toInt());
    }

    void begin() override { set_.begin(); }
    void commit() override { set_.commit(); }
    void rollback() override { set_.rollback(); }

    void insertLine(const VoucherLineRow& r) override {
        set_.execute(
            "Insert Into " + table("_PZGL_D") +
                "(PZH,ZY,KMDM,JDBZ,JE,KJN,KJY,PZFYH,PZFYXH,DFKM,SL,DJ,WBJE,HL) "
                "values(?,?,?,?,?,?,?,?,?,'',0,0,0,0)",
            {r.number, r.summary, r.account, r.mark, r.amount, r.month.year, r.month.month, r.page, r.line});
    }

    void insertHeader(const VoucherHeaderRow& r) override {
        set_.execute("Insert Into " + table("_PZGL_M") +
                         "(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) values(?,?,?,?,0,?,'0')",
                     {r.number, r.date, r.month.year, r.month.month, r.maker});
    }

private:
    // Only a checked set id (isSetID) makes a table name.
    std::string table(const char* name) const { return id_ + name; }

    Connection sys_;
    Connection set_;
    std::string id_;
    VoucherForm form_;
};

void openSystem(Connection& sys, const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        throw AccountingError("财务系统数据路径" + folder + "不存在，请更改账务路径！");
    openFile(sys, folder, kSystemDbName,
             std::string("财务系统数据路径中没有") + kSystemDbName + "，请更改账务路径！");
    if (!sys.hasTable("ZTGL"))
        throw AccountingError("财务系统数据库中没有核算单位表ZTGL！");
}

} // namespace

bool isSetID(const std::string& id) {
    if (id.size() < 4)
        return false;
    for (char ch : id)
        if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_'))
            return false;
    return true;
}

std::string setDatabaseName(const std::string& setID) {
    return "KS" + setID.substr(setID.size() < 4 ? 0 : setID.size() - 4) + ".MDB";
}

std::vector<AccountingSet> singleUserSets(const std::string& folder) {
    Connection sys;
    openSystem(sys, folder);
    std::vector<AccountingSet> out;
    const Recordset rs = sys.query("Select ZTID,ZTMC from ZTGL");
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({trim(rs.row(i)[0].toString()), trim(rs.row(i)[1].toString())});
    return out;
}

std::unique_ptr<AccountingStore> openSingleUserStore(const std::string& folder, const std::string& setID) {
    Connection sys;
    openSystem(sys, folder);
    const std::string id = trim(setID);
    if (!isSetID(id) || sys.query("Select ZTID from ZTGL where ZTID=?", {id}).empty())
        throw AccountingError(kWrongSetMessage);
    const std::string file = setDatabaseName(id);
    Connection set;
    openFile(set, folder, file, "没有找到核算单位数据库" + file + "！");
    for (const char* t : kSetTables)
        if (!set.hasTable(id + t))
            throw AccountingError("核算单位数据库中没有数据表" + id + t + "！");
    return std::make_unique<SingleUserStore>(std::move(sys), std::move(set), id);
}

} // namespace gzgl::accounting
