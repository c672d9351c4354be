// The bank screen's edits to a template: moves refused at either end keep
// every row, department entries are told apart by code, and the message for
// a damaged template file stays one message however long the damage.
#include "exchange/bank_edit.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

BankTemplate threeRows() {
    BankTemplate t;
    for (const char* name : {"银行账号", "姓名", "实发工资"})
        t.rows.push_back({name, kTypeText, "15", kAlignLeft, name, "", ""});
    return t;
}

std::vector<std::string> names(const BankTemplate& t) {
    std::vector<std::string> out;
    for (const BankField& f : t.rows)
        out.push_back(f.name);
    return out;
}

} // namespace

TEST(BankEdit, MovesSwapNeighboursAndRefuseAtEitherEndKeepingTheRows) {
    BankTemplate t = threeRows();
    EXPECT_TRUE(moveBankRow(t, 2, -1).ok);
    EXPECT_EQ(names(t), (std::vector<std::string>{"银行账号", "实发工资", "姓名"}));

    const BankTemplate before = t;
    const Outcome down = moveBankRow(t, 2, 1);
    EXPECT_FALSE(down.ok);
    EXPECT_EQ(down.message, "不能再向下移了！");
    const Outcome up = moveBankRow(t, 0, -1);
    EXPECT_FALSE(up.ok);
    EXPECT_EQ(up.message, "不能再向上移了！");
    // No current row (or a stale one) moves nothing and says nothing.
    for (int index : {-1, 3}) {
        const Outcome none = moveBankRow(t, index, 1);
        EXPECT_FALSE(none.ok);
        EXPECT_TRUE(none.message.empty());
    }
    EXPECT_EQ(t, before);
}

TEST(BankEdit, DepartmentsAreListedOncePerCode) {
    BankTemplate t;
    EXPECT_EQ(addBankDepartment(t, "01", "总部"), 0);
    EXPECT_EQ(addBankDepartment(t, "0101", "财务科"), 1);
    // The same code under a changed name is still listed.
    EXPECT_EQ(addBankDepartment(t, "01", "总部（新）"), 0);
    // A code that starts like a listed one is another department.
    EXPECT_EQ(addBankDepartment(t, "010", "分部"), 2);
    EXPECT_EQ(addBankDepartment(t, "", "全部"), -1);
    EXPECT_EQ(t.departments, (std::vector<std::string>{"01 总部", "0101 财务科", "010 分部"}));
    EXPECT_EQ(departmentCodeOf("0101 财务科"), "0101");
    EXPECT_EQ(departmentCodeOf("02"), "02");
}

TEST(BankEdit, ProblemsOfADamagedFileMakeOneShortMessage) {
    EXPECT_EQ(templateProblemsMessage({}), "");
    EXPECT_EQ(templateProblemsMessage({"第 2 行无法读取：a", "第 3 行无法读取：b"}),
              "第 2 行无法读取：a\n第 3 行无法读取：b");
    std::vector<std::string> many;
    for (int i = 1; i <= 25; ++i)
        many.push_back("第 " + std::to_string(i) + " 行无法读取");
    const std::string text = templateProblemsMessage(many, 3);
    EXPECT_EQ(text, "第 1 行无法读取\n第 2 行无法读取\n第 3 行无法读取\n……另有 22 行无法读取。");
}
