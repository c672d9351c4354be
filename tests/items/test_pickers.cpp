// The item pickers and the entry screen's display settings.
#include "items/pickers.h"
#include "tests/items/items_fixture.h"

using namespace gzgl;
using namespace gzgl::items;
using Pickers = test::ItemsTest;

TEST(CodeLists, SplitAndJoin) {
    EXPECT_EQ(splitCodes(" F004, ,F005,"), (std::vector<std::string>{"F004", "F005"}));
    EXPECT_TRUE(splitCodes("").empty());
    EXPECT_EQ(joinCodes({"F004", "F005"}), "F004,F005");
    EXPECT_EQ(joinCodes({}), "");
}

TEST_F(Pickers, NumberItemsAndTheirNames) {
    add("补贴");
    add("备注", kText);
    std::vector<std::string> codes;
    for (const ItemChoice& c : numberItems(s))
        codes.push_back(c.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"F000", "F003", "FFFF", "FFFE", "FFFD", "F004"}));
    EXPECT_EQ(describeCodes(s, "F004,F0ZZ"),
              (std::vector<ItemChoice>{{"F004", "补贴"}, {"F0ZZ", ""}}));
}

TEST_F(Pickers, SalarySetTicksShownItemsAndAlwaysTheFirstTwo) {
    add("发放日期", kDate); // not shown in the entry screens
    s.taskConn.execute("update " + itemTable(s) + " set F_Show=0 where F_Code in ('F001','FFFE')");
    std::vector<SalarySetItem> list = salarySetItems(s);
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], (SalarySetItem{"F001", "工号", true, true}));
    EXPECT_FALSE(list[5].ticked); // FFFE
    EXPECT_FALSE(list[7].ticked); // the date item
    for (SalarySetItem& i : list)
        i.ticked = i.code == "F003";
    const SalarySettings got = salarySettings(" 01 ", "", " 张 ", list, true);
    EXPECT_EQ(got, (SalarySettings{"01", "", "张", {"F001", "F002", "F003"}, true}));
}
