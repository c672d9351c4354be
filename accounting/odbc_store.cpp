#include "accounting/odbc_store.h"

#include "accounting/odbc.h"
#include "accounting/single_user.h"
#include "core/numtext.h"
#include "core/text.h"

#include <algorithm>
#include <cctype>

namespace gzgl::accounting {

namespace {

const char* const kSetTables[] = {"_XTSZ", "_YE", "_YHGL", "_PZGL_M", "_PZGL_D"};

bool isPlainName(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_';
    });
}

bool hasKey(const std::vector<std::string>& keys, std::initializer_list<const char*> names) {
    for (const std::string& k : keys)
        for (const char* n : names)
            if (k == n)
                return true;
    return false;
}

std::string lowerAscii(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// The catalog a connection reaches, for the messages.
std::string catalogOf(const NetworkLink& link) {
    return hasKey(odbc::connectionKeys(link.connection), {"database", "dbname"})
               ? std::string("财务数据库")
               : "财务数据库" + link.product;
}

// A failed login turned into a message for the user. The driver's own words
// are kept where the cause is not one of the usual ones.
AccountingError connectError(const odbc::Error& e, const NetworkLink& link) {
    const std::string text = lowerAscii(e.what());
    const auto says = [&](const char* part) { return text.find(part) != std::string::npos; };
    if (e.hasState("IM002") || e.hasState("IM003") || says("can't open lib") || says("file not found"))
        return AccountingError("没有找到ODBC数据源或驱动程序，请检查连接设置！（" + std::string(e.what()) +
                               "）");
    if (e.hasState("28000") || e.hasState("28P01") || says("password authentication failed") ||
        says("no password supplied") || says("login failed"))
        return AccountingError(kRefusedLoginMessage);
    if (e.hasState("3D000") || (says("database") && says("does not exist")))
        return AccountingError(catalogOf(link) + "不存在，请检查财务软件的产品名称！");
    return AccountingError("不能连接财务数据库服务器：" + std::string(e.what()));
}

} // namespace

odbc::Connection connectNetwork(const NetworkLink& link, const std::string& password) {
    const std::string problem = networkLinkProblem(link);
    if (!problem.empty())
        throw AccountingError(problem);
    odbc::Connection c;
    try {
        c.open(driverConnectionText(link, password));
    } catch (const odbc::Error& e) {
        throw connectError(e, link);
    }
    return c;
}

namespace {

std::vector<AccountingSet> listSets(odbc::Connection& c, const NetworkLink& link) {
    std::vector<odbc::Row> rows;
    try {
        rows = c.query("Select ZTID,ZTMC from ZTXX order by ZTID");
    } catch (const odbc::Error&) {
        throw AccountingError(catalogOf(link) + "中没有核算单位表ZTXX！");
    }
    std::vector<AccountingSet> out;
    for (const odbc::Row& r : rows)
        out.push_back({trim(r[0].value_or("")), trim(r[1].value_or(""))});
    return out;
}

int intOf(const odbc::Cell& c) {
    return c ? static_cast<int>(readNumber(trim(*c))) : 0;
}

// SFMJ as the accounting side may write it: a number, a boolean or a word.
bool leafFlag(const odbc::Cell& c) {
    if (!c)
        return false;
    const std::string t = upperAscii(trim(*c));
    return t == "是" || t == "Y" || t == "T" || t == "TRUE" || readNumber(t) != 0;
}

Account accountOf(const odbc::Row& r) {
    return {trim(r[0].value_or("")), trim(r[1].value_or("")), intOf(r[2]), leafFlag(r[3])};
}

class NetworkStore : public AccountingStore {
public:
    NetworkStore(odbc::Connection c, std::string setID, const std::string& product)
        : c_(std::move(c)), id_(std::move(setID)), form_(networkForm(product)) {}

    const VoucherForm& form() const override { return form_; }
    std::string setID() const override { return id_; }

    std::vector<AccountingSet> sets() override {
        std::vector<AccountingSet> out;
        for (const odbc::Row& r : c_.query("Select ZTID,ZTMC from ZTXX order by ZTID"))
            out.push_back({trim(r[0].value_or("")), trim(r[1].value_or(""))});
        return out;
    }

    std::optional<YearMonth> currentPeriod() override {
        const auto rows = c_.query("Select DQKJN,DQKJY from " + table("_XTSZ"));
        if (rows.empty())
            return std::nullopt;
        return YearMonth{intOf(rows[0][0]), intOf(rows[0][1])};
    }

    std::vector<Account> chart(const YearMonth& period) override {
        std::vector<Account> out;
        for (const odbc::Row& r : c_.query("Select KMDM,KMMC,KMJB,SFMJ From " + table("_YE") +
                                               " where KJN=? and KJY=? order by KMDM",
                                           {period.year, period.month}))
            out.push_back(accountOf(r));
        return out;
    }

    std::optional<Account> account(const YearMonth& period, const std::string& code) override {
        const auto rows =
            c_.query("Select KMDM,KMMC,KMJB,SFMJ From " + table("_YE") + " where KJN=? And KJY=? And KMDM=?",
                     {period.year, period.month, code});
        if (rows.empty())
            return std::nullopt;
        return accountOf(rows[0]);
    }

    bool isUser(const std::string& name) override {
        return !c_.query("Select XM from " + table("_YHGL") + " where XM=?", {name}).empty();
    }

    int maxVoucherNumber(const YearMonth& m) override {
        return scalar("Select max(PZH) from " + table("_PZGL_M") + " where KJN=? and KJY=?",
                      {m.year, m.month});
    }

    int maxPage(int number, const YearMonth& m) override {
        return scalar("Select max(PZFYH) from " + table("_PZGL_D") + " where PZH=? and KJN=? and KJY=?",
                      {number, m.year, m.month});
    }

    int maxLine(int number, int page, const YearMonth& m) override {
        return scalar("Select max(PZFYXH) from " + table("_PZGL_D") +
                          " where PZH=? and PZFYH=? and KJN=? and KJY=?",
                      {number, page, m.year, m.month});
    }

    void begin() override { c_.setAutocommit(false); }

    void commit() override {
        c_.commit();
        c_.setAutocommit(true);
    }

    void rollback() override {
        // Called while handling another failure: a connection that broke
        // meanwhile has nothing left to undo on this side.
        try {
            c_.rollback();
            c_.setAutocommit(true);
        } catch (const odbc::Error&) {
        }
    }

    void insertLine(const VoucherLineRow& r) override {
        std::vector<odbc::Param> params{r.number,     r.summary,     r.account, r.mark, r.amount,
                                        r.month.year, r.month.month, r.page,    r.line};
        std::string sql = "Insert Into " + table("_PZGL_D") +
                          "(PZH,ZY,KMDM,JDBZ,JE,KJN,KJY,PZFYH,PZFYXH,DFKM,SL,DJ,WBJE,HL";
        if (form_.accountingItem) {
            sql += ",HSXM) values(?,?,?,?,?,?,?,?,?,'',0,0,0,0,?)";
            params.push_back(r.accountingItem);
        } else {
            sql += ") values(?,?,?,?,?,?,?,?,?,'',0,0,0,0)";
        }
        c_.execute(sql, params);
    }

    void insertHeader(const VoucherHeaderRow& r) override {
        c_.execute("Insert Into " + table("_PZGL_M") +
                       "(PZH,PZRQ,KJN,KJY,YSPZZS,ZZR,PZZT) values(?,?,?,?,0,?,'0')",
                   {r.number, r.date, r.month.year, r.month.month, r.maker});
    }

private:
    // Only a checked set id (isSetID) makes a table name.
    std::string table(const char* name) const { return id_ + name; }

    int scalar(const std::string& sql, const std::vector<odbc::Param>& params) {
        const auto rows = c_.query(sql, params);
        return rows.empty() || rows[0].empty() ? 0 : intOf(rows[0][0]);
    }

    odbc::Connection c_;
    std::string id_;
    VoucherForm form_;
};

} // namespace

std::optional<NetworkLink> parseNetworkPath(const std::string& path) {
    const std::string p = trim(path);
    const std::size_t prefix = std::string(kNetworkPrefix).size();
    if (p.size() < prefix || lowerAscii(p.substr(0, prefix)) != kNetworkPrefix)
        return std::nullopt;
    const std::size_t colon = p.find(':', prefix);
    if (colon == std::string::npos)
        return NetworkLink{"", trim(p.substr(prefix))};
    return NetworkLink{trim(p.substr(prefix, colon - prefix)), trim(p.substr(colon + 1))};
}

std::string networkPath(const NetworkLink& link) {
    return kNetworkPrefix + link.product + ":" + link.connection;
}

std::string networkLinkProblem(const NetworkLink& link) {
    if (trim(link.connection).empty())
        return "请填入正确的服务器信息！";
    if (!isPlainName(link.product))
        return "财务软件的产品名称" + link.product + "不正确！";
    if (hasKey(odbc::connectionKeys(link.connection), {"pwd", "password"}))
        return "连接设置中不能含有口令，口令在连接时输入！";
    return {};
}

VoucherForm networkForm(const std::string& product) {
    VoucherForm f;
    f.debitMark = "0";
    f.creditMark = "1";
    const bool cw = upperAscii(trim(product)) == "KS770CW";
    f.dottedDate = !cw;
    f.accountingItem = cw;
    return f;
}

std::string driverConnectionText(const NetworkLink& link, const std::string& password) {
    std::string text = trim(link.connection);
    while (!text.empty() && text.back() == ';')
        text.pop_back();
    if (!hasKey(odbc::connectionKeys(text), {"database", "dbname"}))
        text += ";Database=" + odbc::connectionValue(link.product);
    if (!password.empty())
        text += ";PWD=" + odbc::connectionValue(password);
    return text;
}

std::vector<AccountingSet> networkSets(const NetworkLink& link, const std::string& password) {
    odbc::Connection c = connectNetwork(link, password);
    return listSets(c, link);
}

std::unique_ptr<AccountingStore> openNetworkStore(const NetworkLink& link, const std::string& password,
                                                  const std::string& setID) {
    odbc::Connection c = connectNetwork(link, password);
    const std::string id = trim(setID);
    bool listed = false;
    for (const AccountingSet& set : listSets(c, link))
        listed = listed || set.id == id;
    if (!listed || !isSetID(id))
        throw AccountingError(kWrongSetMessage);
    for (const char* t : kSetTables) {
        try {
            c.query("Select count(*) from " + id + t + " where 1=0");
        } catch (const odbc::Error&) {
            throw AccountingError(catalogOf(link) + "中没有数据表" + id + t + "！");
        }
    }
    return std::make_unique<NetworkStore>(std::move(c), id, link.product);
}

} // namespace gzgl::accounting
