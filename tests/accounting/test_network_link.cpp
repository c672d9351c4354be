// The network link's text forms, without a server: what F_ZTPATH keeps,
// what the driver is handed, and the text crossing the driver as UTF-16.
#include "accounting/link.h"
#include "accounting/odbc.h"
#include "accounting/odbc_store.h"

#include <gtest/gtest.h>

namespace gzgl::accounting {

TEST(NetworkLinkODBC, PathKeepsProductAndConnectionApartFromFolders) {
    const NetworkLink link{"KS770ZW", "Driver=PostgreSQL Unicode;Server=db:5432;UID=kj"};
    const std::string path = networkPath(link);
    EXPECT_EQ(path, "odbc:KS770ZW:Driver=PostgreSQL Unicode;Server=db:5432;UID=kj");
    EXPECT_EQ(parseNetworkPath(path), link); // a ":" inside the connection text survives
    EXPECT_EQ(parseNetworkPath("  ODBC:KS770CW:DSN=kj "), (NetworkLink{"KS770CW", "DSN=kj"}));
    EXPECT_FALSE(parseNetworkPath("/home/kj/KS77/DataBase"));
    EXPECT_FALSE(parseNetworkPath(""));
    EXPECT_EQ(networkLinkProblem(*parseNetworkPath("odbc:DSN=kj")), "财务软件的产品名称不正确！");
}

TEST(NetworkLinkODBC, PasswordIsNeverKeptButReachesTheDriver) {
    EXPECT_NE(networkLinkProblem({"KS770CW", "DSN=kj;pwd=x"}).find("不能含有口令"), std::string::npos);
    EXPECT_NE(networkLinkProblem({"KS770CW", "DSN=kj; Password = {x;y}"}).find("不能含有口令"),
              std::string::npos);
    EXPECT_EQ(networkLinkProblem({"KS770CW", "DSN=kj"}), "");
    EXPECT_EQ(networkLinkProblem({"KS770CW", " "}), "请填入正确的服务器信息！");
    EXPECT_NE(networkLinkProblem({"KS770CW;PWD=x", "DSN=kj"}), ""); // no second key smuggled in

    // A braced value may hold ";" and "=" without naming a key.
    EXPECT_EQ(odbc::connectionKeys("DSN={a;PWD=b};UID=kj"), (std::vector<std::string>{"dsn", "uid"}));
    EXPECT_EQ(driverConnectionText({"KS770CW", "DSN=kj;"}, "p;w}d"), "DSN=kj;Database=KS770CW;PWD={p;w}}d}");
    EXPECT_EQ(driverConnectionText({"KS770CW", "DSN=kj;Database=acct"}, ""), "DSN=kj;Database=acct");
}

TEST(NetworkLinkODBC, ScreenFieldsMakeTheConnectionText) {
    LinkFields f;
    f.server = "kjserver";
    f.login = "会计";
    EXPECT_EQ(networkLinkOf(f), (NetworkLink{"KS770CW", "DSN=kjserver;UID=会计"}));
    f.server = "Driver=x;Server=h;Username=a";
    f.product = "KS770ZW";
    EXPECT_EQ(networkLinkOf(f), (NetworkLink{"KS770ZW", "Driver=x;Server=h;Username=a"}));
}

TEST(NetworkLinkODBC, FormsOfTheTwoProducts) {
    const VoucherForm cw = networkForm("KS770CW");
    EXPECT_EQ(cw.debitMark, "0");
    EXPECT_EQ(cw.creditMark, "1");
    EXPECT_FALSE(cw.dottedDate);
    EXPECT_TRUE(cw.accountingItem);
    const VoucherForm zw = networkForm("KS770ZW");
    EXPECT_EQ(zw.debitMark, "0");
    EXPECT_TRUE(zw.dottedDate);
    EXPECT_FALSE(zw.accountingItem);
}

TEST(NetworkLinkODBC, TextSurvivesTheWideForm) {
    for (const std::string s : {"", "计提'2月'工资", "a\"b;c", "𠀋 outside the basic plane", "€½"})
        EXPECT_EQ(odbc::fromUtf16(odbc::toUtf16(s)), s);
    EXPECT_EQ(odbc::toUtf16("工").size(), 1u);
    EXPECT_EQ(odbc::toUtf16("𠀋").size(), 2u);
    EXPECT_EQ(odbc::toUtf16("a\xff"
                            "b"),
              u"a\uFFFDb");                                // a stray byte is no crash
    EXPECT_EQ(odbc::toUtf16("\xe5\xb7"), u"\uFFFD\uFFFD"); // nor a cut character
}

} // namespace gzgl::accounting
