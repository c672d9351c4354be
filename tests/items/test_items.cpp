// Salary items: codes, the checks of the add and change dialogs, and the
// _Data column kept in step with every add, change and delete.
#include "calc/numformat.h"
#include "items/formulas.h"
#include "tests/items/items_fixture.h"

using namespace gzgl;
using namespace gzgl::items;
using Items = test::ItemsTest;

namespace {
ItemFields named(const std::string& name, const std::string& type = kNumber) {
    ItemFields f;
    f.name = name;
    f.type = type;
    return f;
}

std::string columnType(Session& s, const std::string& code) {
    const Recordset rs = s.taskConn.query("select type from pragma_table_info(?) where name=?", {dataTable(s), code});
    return rs.empty() ? std::string() : rs.row(0)[0].toString();
}
} // namespace

TEST_F(Items, FirstUserItemIsF004WithAFloatColumnAtTheEnd) {
    const AddItemResult r = addItem(s, named(" 补贴 "));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.code, "F004");
    const std::optional<Item> it = findItem(s, "F004");
    ASSERT_TRUE(it);
    EXPECT_EQ(it->id, 8);
    EXPECT_EQ(it->name, "补贴");
    EXPECT_TRUE(it->show);
    EXPECT_TRUE(hasColumn("F004"));
    EXPECT_EQ(columnType(s, "F004"), "float");
    EXPECT_EQ(add("奖金"), "F005");
}

TEST_F(Items, CodeIsReusedOnlyWhenNoHigherCodeExists) {
    add("甲");
    add("乙");
    p.answers = {true, true, true};
    ASSERT_TRUE(deleteItem(s, p, "F004").ok);
    EXPECT_EQ(add("丙"), "F006"); // F005 still exists
    ASSERT_TRUE(deleteItem(s, p, "F006").ok);
    ASSERT_TRUE(deleteItem(s, p, "F005").ok);
    EXPECT_EQ(add("丁"), "F004");
    EXPECT_TRUE(hasColumn("F004"));
    EXPECT_FALSE(hasColumn("F005"));
    EXPECT_FALSE(hasColumn("F006"));
}

TEST_F(Items, DateItemIsFilledWithThePeriodAndHiddenFromEntry) {
    ItemFields f = named("发放日期", kDate);
    f.prec = "3";
    const AddItemResult r = addItem(s, f);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    const Item it = *findItem(s, r.code);
    EXPECT_FALSE(it.show);
    EXPECT_EQ(it.prec, 0);
    EXPECT_EQ(columnType(s, r.code), "VARCHAR(16)");
    for (const Value& v : column(r.code))
        EXPECT_EQ(v.toString(), "2006年02月");
}

TEST_F(Items, FixedItemFillsEveryEmployeeWithItsValue) {
    ItemFields f = named("交通费");
    f.change = true;
    f.chgValue = "150.5";
    const AddItemResult r = addItem(s, f);
    ASSERT_TRUE(r.outcome.ok);
    for (const Value& v : column(r.code))
        EXPECT_DOUBLE_EQ(v.toDouble(), 150.5);
    EXPECT_DOUBLE_EQ(findItem(s, r.code)->chgValue, 150.5);

    ItemFields empty = named("洗理费");
    empty.change = true;
    const AddItemResult e = addItem(s, empty);
    ASSERT_TRUE(e.outcome.ok);
    EXPECT_EQ(e.cleaned.chgValue, "0.0");
    for (const Value& v : column(e.code)) {
        EXPECT_FALSE(v.isNull());
        EXPECT_DOUBLE_EQ(v.toDouble(), 0);
    }
}

TEST_F(Items, AccountNameGetsItsFixedCodeAndNoColumn) {
    const auto before = s.taskConn.columns(dataTable(s));
    ItemFields f = named("银行账号", "");
    f.show = true;
    f.change = true;
    const AddItemResult r = addItem(s, f);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.code, "FFFH");
    const Item it = *findItem(s, "FFFH");
    EXPECT_EQ(it.type, kText);
    EXPECT_FALSE(it.show);
    EXPECT_TRUE(it.print);
    EXPECT_FALSE(it.change);
    EXPECT_EQ(s.taskConn.columns(dataTable(s)), before);
    // The reserved codes never count for the next user code.
    EXPECT_EQ(add("补贴"), "F004");
    EXPECT_EQ(addItem(s, named("银行账号", kText)).outcome.message, "该项目已存在！");
    // 企业代码 is an account name without a fixed code: an ordinary text item.
    const AddItemResult corp = addItem(s, named("企业代码", ""));
    EXPECT_EQ(corp.code, "F005");
    EXPECT_TRUE(hasColumn("F005"));
}

TEST_F(Items, NameRulesRefuseDigitsSpacesAndSymbols) {
    struct Case {
        const char* name;
        const char* message;
    } cases[] = {
        {"2号补贴", "项目名称起始必须为字符。"}, {"(补贴)", "项目名称起始必须为字符。"},
        {"补 贴", "项目名称中不能包含空格。"},   {"补\xE3\x80\x80贴", "项目名称中不能包含空格。"},
        {"补\t贴", "项目名称中不能包含空格。"}, {"补贴-1", "项目名称里不能包含符号。"},
        {"补贴\"", "项目名称里不能包含符号。"},  {"补贴,一", "项目名称里不能包含符号。"},
    };
    for (const Case& c : cases) {
        const AddItemResult r = addItem(s, named(c.name));
        EXPECT_FALSE(r.outcome.ok) << c.name;
        EXPECT_EQ(r.outcome.message, c.message) << c.name;
        EXPECT_EQ(r.outcome.title, "提示窗");
        EXPECT_EQ(r.outcome.icon, Icon::Exclamation);
        EXPECT_EQ(r.outcome.focus, "txtSubject");
    }
    EXPECT_EQ(itemCount(), 7);
    EXPECT_EQ(add("补贴1"), "F004");
}

TEST_F(Items, AddChecksRunInTheirOrder) {
    auto message = [this](ItemFields f) { return addItem(s, f).outcome.message; };
    EXPECT_EQ(message(named("   ")), "项目名称不能为空。");
    EXPECT_EQ(message(named("2号", "")), "项目名称起始必须为字符。"); // name before type
    EXPECT_EQ(message(named("补贴", "  ")), "数据类型不能为空！");
    EXPECT_EQ(message(named("应发工资", kTypePrompt)), "该项目已存在！"); // duplicate before the prompt
    EXPECT_EQ(message(named(" 应发工资 ")), "该项目已存在！");

    const Outcome prompt = addItem(s, named("补贴", kTypePrompt)).outcome;
    EXPECT_EQ(prompt.message, kTypePrompt);
    EXPECT_EQ(prompt.title, s.productTitle);

    ItemFields prec = named("补贴");
    prec.prec = "2a";
    EXPECT_EQ(addItem(s, prec).outcome.message, "含有非法字符！");
    prec.prec = "99";
    EXPECT_EQ(addItem(s, prec).outcome.message, "含有非法字符！");
    ItemFields fixed = named("补贴");
    fixed.change = true;
    fixed.chgValue = "12元";
    EXPECT_EQ(addItem(s, fixed).outcome.focus, "txtChange");
    EXPECT_EQ(itemCount(), 7);
    EXPECT_FALSE(hasColumn("F004"));
}

// A name the rules refuse, or one that F_Name could hold only altered, is
// refused on adding and on changing; nothing is stored cleaned or cut.
TEST_F(Items, ItemNameWithQuoteRefusedNotStripped) {
    const std::string code = add("补贴");
    const std::string sixteen = "一二三四五六七八九十一二三四五六"; // 32 bytes
    struct Case {
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"补贴'1", "项目名称里不能包含符号。"},
        {"补贴|1", "项目名称里不能包含符号。"},
        {"'补贴", "项目名称起始必须为字符。"},
        {"|补贴", "项目名称起始必须为字符。"},
        {sixteen + "七", "项目名称太长：最多32个字节（一个汉字占两个字节），现有34个字节。"},
        {"补贴\xF0\x9F\x98\x80", "项目名称里有GBK字符集以外的字符“\xF0\x9F\x98\x80”，不能保存。"},
    };
    for (const Case& c : cases) {
        const AddItemResult r = addItem(s, named(c.name));
        EXPECT_EQ(r.outcome.message, c.message) << c.name;
        EXPECT_EQ(r.outcome.focus, "txtSubject") << c.name;
        EXPECT_EQ(r.outcome.title, "提示窗") << c.name;
        EXPECT_TRUE(r.code.empty()) << c.name;

        ItemFields f = fieldsOf(*findItem(s, code));
        f.name = c.name;
        const Outcome o = changeItem(s, code, f);
        EXPECT_EQ(o.message, c.message) << c.name;
        EXPECT_EQ(o.focus, "txtSubject") << c.name;
    }
    EXPECT_EQ(itemCount(), 8);
    EXPECT_EQ(findItem(s, code)->name, "补贴");
    EXPECT_FALSE(hasColumn("F005"));

    // The column's full length is stored exactly.
    EXPECT_EQ(findItem(s, add(sixteen))->name, sixteen);
    ItemFields f = fieldsOf(*findItem(s, code));
    f.name = " 补贴1 ";
    ASSERT_TRUE(changeItem(s, code, f).ok);
    EXPECT_EQ(findItem(s, code)->name, "补贴1");
}

// A name stored before the rules held stays changeable in its other fields.
TEST_F(Items, ChangeKeepsAnUnchangedNameThatTheRulesWouldRefuse) {
    const std::string code = add("补贴");
    s.taskConn.execute("Update " + itemTable(s) + " Set F_Name='补贴-1' Where F_Code=?", {code});
    ItemFields f = fieldsOf(*findItem(s, code));
    f.width = 25;
    ASSERT_TRUE(changeItem(s, code, f).ok);
    EXPECT_EQ(findItem(s, code)->width, 25);
    EXPECT_EQ(findItem(s, code)->name, "补贴-1");
}

TEST_F(Items, FailedColumnChangeLeavesNoItemRow) {
    // A column that cannot be added (the data table is gone) must not
    // leave the item row behind.
    s.taskConn.execute("drop table " + dataTable(s));
    const AddItemResult r = addItem(s, named("补贴"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.icon, Icon::Critical);
    EXPECT_EQ(itemCount(), 7);
}

TEST_F(Items, DeleteDropsTheColumnAfterTheQuestion) {
    const std::string code = add("补贴");
    EXPECT_EQ(deleteItem(s, p, code).message, "");
    EXPECT_EQ(p.last(), "确信要删除这个项目吗？");
    EXPECT_TRUE(p.messages.back().question);
    EXPECT_TRUE(findItem(s, code)); // answered No
    EXPECT_TRUE(hasColumn(code));
    p.answers = {true};
    ASSERT_TRUE(deleteItem(s, p, code).ok);
    EXPECT_FALSE(findItem(s, code));
    EXPECT_FALSE(hasColumn(code));
    EXPECT_EQ(itemCount(), 7);
}

TEST_F(Items, DeleteRefusesBuiltInsAndNoSelection) {
    const Outcome none = deleteItem(s, p, "");
    EXPECT_EQ(none.message, "请选择要删除的项目！");
    EXPECT_EQ(none.icon, Icon::Information);
    for (const char* code : {"F000", "F001", "F002", "F003", "FFFF", "FFFE", "FFFD"}) {
        EXPECT_EQ(deleteItem(s, p, code).message, "此项目不允许删除！") << code;
    }
    EXPECT_TRUE(p.messages.empty()); // refused before the question
    EXPECT_EQ(itemCount(), 7);
    EXPECT_TRUE(hasColumn("F003"));
}

TEST_F(Items, DeleteRefusesAnItemWithOrInAFormula) {
    const std::string base = add("基本工资");
    const std::string tax = add("所得税");
    ASSERT_TRUE(putFormula(s, p, {tax, "F004*0.1", std::nullopt}).outcome.ok);
    p.answers = {true, true};
    EXPECT_EQ(deleteItem(s, p, tax).message, "该项目已存在公式,不能被删去!");
    EXPECT_EQ(deleteItem(s, p, base).message, "该项目已在公式中被引用，请维护！");
    EXPECT_TRUE(hasColumn(base));
    // Once the formula no longer names it, the item goes with its column.
    const int line = loadFormulaLines(s).front().id;
    ASSERT_TRUE(putFormula(s, p, {tax, "F003*0.1", line}).outcome.ok);
    p.answers = {true};
    EXPECT_TRUE(deleteItem(s, p, base).ok);
    EXPECT_FALSE(hasColumn(base));
}

TEST_F(Items, AccountItemDeletesWithoutTouchingData) {
    ASSERT_TRUE(addItem(s, named("身份证号", kText)).outcome.ok);
    const auto before = s.taskConn.columns(dataTable(s));
    p.answers = {true};
    EXPECT_TRUE(deleteItem(s, p, "FFFG").ok);
    EXPECT_FALSE(findItem(s, "FFFG"));
    EXPECT_EQ(s.taskConn.columns(dataTable(s)), before);
}

TEST_F(Items, MoveSwapsNeighboursAndKeepsTheFirstTwoInPlace) {
    add("甲");
    add("乙");
    // rows: F001 F002 F000 F003 FFFF FFFE FFFD F004 F005
    EXPECT_EQ(moveItem(s, "F000", true).message, "不能再向上移动了！");
    EXPECT_EQ(moveItem(s, "F002", true).message, "不能再向上移动了！");
    EXPECT_EQ(moveItem(s, "F001", false).message, "不能再向下移动了！");
    EXPECT_EQ(moveItem(s, "F002", false).message, "不能再向下移动了！");
    EXPECT_EQ(moveItem(s, "F005", false).message, "不能再向下移动了！");
    ASSERT_TRUE(moveItem(s, "F005", true).ok);
    ASSERT_TRUE(moveItem(s, "F000", false).ok);
    std::vector<std::string> order;
    std::vector<int> ids;
    for (const Item& i : loadItems(s)) {
        order.push_back(i.code);
        ids.push_back(i.id);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"F001", "F002", "F003", "F000", "FFFF", "FFFE", "FFFD", "F005", "F004"}));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(moveItem(s, "F004", false).message, "不能再向下移动了！");
}

TEST_F(Items, MoveOfAnUnknownItemIsRefusedAloud) {
    const Outcome o = moveItem(s, "F099", true);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "不存在此项目！");
    // No selection in the list is no request at all.
    EXPECT_FALSE(moveItem(s, " ", true).ok);
    EXPECT_TRUE(moveItem(s, " ", true).message.empty());
}

TEST_F(Items, ListRowsShowStarsForTheFlags) {
    ItemFields f = named("交通费");
    f.prec = "1";
    f.print = false;
    f.width = 20;
    f.change = true;
    f.chgValue = "150";
    addItem(s, f);
    const auto rows = itemListRows(s);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "F001", "工号", "文字", "0", "☆", "☆", "15", "", "0"}));
    EXPECT_EQ(rows[7], (std::vector<std::string>{"8", "F004", "交通费", "数字", "1", "☆", "", "20", "☆", "150"}));
    EXPECT_EQ(itemListCaptions().size(), rows[0].size());
}

TEST_F(Items, ChangeRewritesTheRowAndRunsTheFills) {
    const std::string code = add("补贴");
    ItemFields f = fieldsOf(*findItem(s, code));
    f.name = "岗位补贴";
    f.width = 30;
    f.change = true;
    f.chgValue = "88";
    ASSERT_TRUE(changeItem(s, code, f).ok);
    const Item it = *findItem(s, code);
    EXPECT_EQ(it.name, "岗位补贴");
    EXPECT_EQ(it.width, 30);
    EXPECT_TRUE(it.change);
    for (const Value& v : column(code))
        EXPECT_DOUBLE_EQ(v.toDouble(), 88);
}

TEST_F(Items, ChangeChecks) {
    const std::string code = add("补贴");
    add("奖金");
    ItemFields f = fieldsOf(*findItem(s, code));
    auto with = [&](auto edit) {
        ItemFields g = f;
        edit(g);
        return changeItem(s, code, g).message;
    };
    EXPECT_EQ(with([](ItemFields& g) { g.name = " "; }), "项目名称不能为空！");
    EXPECT_EQ(with([](ItemFields& g) { g.type = ""; }), "请填写数据类型！");
    EXPECT_EQ(with([](ItemFields& g) { g.prec = "x"; }), "含有非法字符！");
    // Two items of one name would be confused by the entry screen.
    EXPECT_EQ(with([](ItemFields& g) { g.name = "奖金"; }), "该项目已存在！");
    EXPECT_EQ(changeItem(s, "F0ZZ", f).message, "请选择要修改的项目！");
    EXPECT_EQ(findItem(s, code)->name, "补贴");
}

TEST_F(Items, ChangeKeepsLockedFieldsOfBuiltInAndDateItems) {
    ItemFields f = fieldsOf(*findItem(s, "F003"));
    f.name = "毛收入";
    f.type = kText;
    f.prec = "0";
    f.print = false;
    ASSERT_TRUE(changeItem(s, "F003", f).ok);
    Item gross = *findItem(s, "F003");
    EXPECT_EQ(gross.name, "应发工资");
    EXPECT_EQ(gross.type, kNumber);
    EXPECT_EQ(gross.prec, 2);
    EXPECT_FALSE(gross.print);
    EXPECT_EQ(columnType(s, "F003"), "double");

    ItemFields carry = fieldsOf(*findItem(s, "FFFF"));
    carry.change = true;
    carry.chgValue = "5";
    ASSERT_TRUE(changeItem(s, "FFFF", carry).ok);
    EXPECT_FALSE(findItem(s, "FFFF")->change);

    ItemFields no = fieldsOf(*findItem(s, "F001"));
    no.type = kNumber;
    no.name = "员工编号";
    ASSERT_TRUE(changeItem(s, "F001", no).ok);
    EXPECT_EQ(findItem(s, "F001")->type, kText);
    EXPECT_EQ(findItem(s, "F001")->name, "员工编号");
    EXPECT_FALSE(hasColumn("F001"));
}

TEST_F(Items, TypeChangeRetypesTheColumnAndKeepsItsValues) {
    const std::string code = add("备注", kText);
    s.taskConn.execute("update " + dataTable(s) + " set " + code + "='12.5' where F_EmpNo='0001'");
    ItemFields f = fieldsOf(*findItem(s, code));
    f.type = kNumber;
    f.prec = "1";
    ASSERT_TRUE(changeItem(s, code, f).ok);
    EXPECT_EQ(columnType(s, code), "Double");
    const auto values = column(code);
    EXPECT_FALSE(values[0].isText());
    EXPECT_DOUBLE_EQ(values[0].toDouble(), 12.5);
    EXPECT_TRUE(values[1].isNull());
    EXPECT_EQ(findItem(s, code)->prec, 1);
}

TEST_F(Items, FixedValueOnAnItemWithoutColumnAddsIt) {
    // F000 has no column in a new task; a fixed value needs one.
    ASSERT_FALSE(hasColumn("F000"));
    ItemFields f = fieldsOf(*findItem(s, "F000"));
    f.change = true;
    f.chgValue = "1";
    ASSERT_TRUE(changeItem(s, "F000", f).ok);
    ASSERT_TRUE(hasColumn("F000"));
    for (const Value& v : column("F000"))
        EXPECT_DOUBLE_EQ(v.toDouble(), 1);
}

TEST_F(Items, PeriodDateTextAndCheckedCodes) {
    EXPECT_EQ(periodDateText("200605"), "2006年05月");
    EXPECT_EQ(checkedCode("FFFG"), "FFFG");
    for (const char* bad : {"F00", "F0041", "f004", "F0;4", "F00 "})
        EXPECT_THROW(checkedCode(bad), std::invalid_argument) << bad;
    // A code that is not of the checked form never reaches a statement.
    EXPECT_THROW(addDataColumn(s, "F1;drop", " float "), std::invalid_argument);
    EXPECT_THROW(dropDataColumn(s, "F0)4"), std::invalid_argument);
}

TEST_F(Items, FixedAmountBeyondTheEntryLimitRefusedAndNothingWritten) {
    // The fixed amount fills every employee's value: it keeps to the bound
    // the entry grid holds a typed value to. A text item's fixed text does not.
    const std::string code = add("补贴");
    struct Case {
        const char* name;
        const char* type;
        const char* prec;
        const char* amount;
        bool fits;
    };
    const Case cases[] = {
        {"甲", kNumber, "2", "99999999.99", true},   {"乙", kNumber, "2", "-9999999.99", true},
        {"丙", kText, "0", "1234567890", true},      {"丁", kNumber, "2", "100000000", false},
        {"戊", kNumber, "2", "99999999.999", false}, {"己", kNumber, "0", "99999999.5", false},
        {"庚", kNumber, "2", "-10000000", false},    {"辛", kNumber, "2", "000000001", false},
    };
    const auto texts = [&] {
        std::vector<std::string> out;
        for (const Value& v : column(code))
            out.push_back(v.toString());
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        ItemFields f = named(std::string("固定") + c.name, c.type);
        f.prec = c.prec;
        f.change = true;
        f.chgValue = c.amount;
        const std::int64_t count = itemCount();
        const AddItemResult added = addItem(s, f);
        EXPECT_EQ(added.outcome.ok, c.fits) << added.outcome.message;
        if (!c.fits) {
            EXPECT_EQ(added.outcome.message, kAmountTooLarge);
            EXPECT_EQ(itemCount(), count);
        }
        if (c.type != std::string(kNumber))
            continue;
        ItemFields g = fieldsOf(*findItem(s, code));
        g.prec = c.prec;
        g.change = true;
        g.chgValue = c.amount;
        const std::vector<std::string> before = texts();
        const Outcome changed = changeItem(s, code, g);
        EXPECT_EQ(changed.ok, c.fits) << changed.message;
        if (!c.fits) {
            EXPECT_EQ(changed.message, kAmountTooLarge);
            EXPECT_EQ(texts(), before);
        }
    }
}
