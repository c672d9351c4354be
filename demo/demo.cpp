// The demo data home (design: demo.h).
#include "demo/demo.h"

#include "accounting/demo.h"
#include "accounting/link.h"
#include "base/departments.h"
#include "base/employees.h"
#include "base/types.h"
#include "core/paths.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/tasks.h"
#include "core/text.h"
#include "exchange/bank.h"
#include "items/formulas.h"
#include "items/items.h"
#include "items/taxrates.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace gzgl::demo {

namespace {

constexpr const char* kTitle = "演示数据";

// Every question of the set-up is answered Yes (the department levels, the
// formula question), and messages are kept for a failure's report.
struct YesPrompt : Prompt {
    std::string last;
    void message(const std::string& text, const std::string&, Icon) override { last = text; }
    bool askYesNo(const std::string&, const std::string&, Icon) override { return true; }
};

// A step that must succeed; its refusal stops the set-up.
void must(const Outcome& o, const std::string& what) {
    if (!o.ok)
        throw std::runtime_error(what + "：" + o.message);
}

struct Department {
    const char* code;
    const char* name;
    const char* type;
};

const Department kDepartments[] = {
    {"01", "公司本部", "管理部门"}, {"0101", "总经理办公室", "管理部门"}, {"0102", "财务部", "管理部门"},
    {"0103", "人力资源部", "管理部门"}, {"02", "生产中心", "生产部门"},   {"0201", "一车间", "生产部门"},
    {"0202", "二车间", "生产部门"},   {"0203", "质检科", "生产部门"},     {"03", "营销中心", "销售部门"},
    {"0301", "华东销售部", "销售部门"}, {"0302", "华北销售部", "销售部门"},
};
const char* const kLeaves[] = {"0101", "0102", "0103", "0201", "0202", "0203", "0301", "0302"};

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙",
                                 "马", "朱", "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋",
                                 "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾", "欧阳", "司马"};
const char* const kGivenMale[] = {"伟", "强", "磊", "军", "洋", "勇", "杰", "涛", "明", "超", "平", "刚",
                                  "建华", "志强", "晓东", "文博", "浩然", "思远", "国庆", "建国", "宇航", "俊杰"};
const char* const kGivenFemale[] = {"芳", "娜", "秀英", "敏", "静", "丽", "艳", "娟", "秀兰", "霞", "桂英", "海燕",
                                    "子涵", "雨欣", "佳怡", "梦琪", "欣怡", "晓燕", "丽华", "玉兰", "婷婷", "雪梅"};

template <class T, std::size_t N> const T& pick(const T (&list)[N], std::mt19937& rng) {
    return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

// Items in the order they are added; the codes follow as F004, F005, ...
struct ItemPlan {
    const char* name;
    const char* fixed; // a fixed value, or null
};
const ItemPlan kItems[] = {{"基本工资", nullptr}, {"岗位工资", nullptr}, {"绩效奖金", nullptr},
                           {"加班费", nullptr},   {"交通补贴", "300"},   {"养老保险", nullptr},
                           {"医疗保险", nullptr}, {"住房公积金", nullptr}, {"个人所得税", nullptr},
                           {"其他扣款", nullptr}};

void addItems(Session& s) {
    for (const ItemPlan& plan : kItems) {
        items::ItemFields f;
        f.name = plan.name;
        f.type = items::kNumber;
        f.prec = "2";
        f.width = 20;
        if (plan.fixed) {
            f.change = true;
            f.chgValue = plan.fixed;
        }
        must(items::addItem(s, f).outcome, std::string("增加工资项目") + plan.name);
    }
}

// The month's formulas, in the order they are worked out: gross pay, the
// contributions, the tax on what is left, net pay.
void addFormulas(Session& s, Prompt& p) {
    auto line = [&](const char* code, const char* text) {
        must(items::addFormulaLines(s, p, code, {text}).outcome, std::string("增加公式 ") + code);
    };
    line("F003", "F004+F005+F006+F007+F008");
    line("F009", "(F004+F005)*0.08");
    line("F010", "(F004+F005)*0.02");
    line("F011", "(F004+F005)*0.12");
    const std::vector<items::TaxRow> rows = {
        {"0", "3000", "3", "0"},         {"3000", "12000", "10", "210"},   {"12000", "25000", "20", "1410"},
        {"25000", "35000", "25", "2660"}, {"35000", "55000", "30", "4410"}, {"55000", "80000", "35", "7160"},
        {"80000", "", "45", "15160"},
    };
    must(items::saveBrackets(s, "5000", rows), "保存所得税税率表");
    must(items::generateTaxFormulas(s, p, "F012", "5000", rows).outcome, "生成所得税公式");
    line("F000", "F003-F009-F010-F011-F012-F013");
}

// A bank account number of 19 digits.
std::string accountNumber(std::mt19937& rng) {
    std::string n = "6222020";
    for (int i = 0; i < 12; ++i)
        n += static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng));
    return n;
}

void addEmployees(Session& s, Progress& progress) {
    std::mt19937 rng(20061);
    const char* const regions[] = {"110105", "310104", "440106", "320102", "330106"};
    progress.begin("  正在建立演示员工...", kEmployees);
    for (int e = 0; e < kEmployees; ++e) {
        base::EmployeeFields f;
        f.empNo = base::nextEmployeeCode(s);
        f.depNo = kLeaves[e % std::size(kLeaves)];
        f.sortNo = std::to_string(base::nextSortNo(s, f.depNo));
        const bool female = e % 5 == 1 || e % 5 == 3;
        f.name = std::string(pick(kSurnames, rng)) + (female ? pick(kGivenFemale, rng) : pick(kGivenMale, rng));
        f.sex = female ? "女" : "男";
        f.nation = "汉";
        char birth[16];
        std::snprintf(birth, sizeof birth, "%04d%02d%02d", 1960 + e % 40, 1 + e % 12, 1 + e % 28);
        // The sequence's last digit is odd for men and even for women.
        f.cid = identityNumber(pick(regions, rng), birth, 10 + (e % 490) * 2 + (female ? 0 : 1));
        f.accNo = accountNumber(rng);
        f.houseNo = "GJJ" + std::to_string(100000 + e);
        f.empType = e % 10 < 7 ? "01" : e % 10 < 9 ? "02" : "03";
        must(base::addEmployee(s, f).outcome, "增加员工" + f.name);
        progress.step();
    }
    progress.end();
}

// One month of values for the input items: amounts in whole yuan and
// jiao, as a payroll clerk types them.
void enterValues(Session& s) {
    std::mt19937 rng(9);
    const std::string data = periodTable(s.taskPrefix(), "Data");
    Transaction tx(s.taskConn);
    Statement update = s.taskConn.prepareStatement("Update " + data +
                                                   " set F004=?,F005=?,F006=?,F007=?,F008=300,F013=? where F_EmpNo=?");
    const Recordset staff = s.taskConn.query("Select F_EmpNo From " + periodTable(s.taskPrefix(), "Employee"));
    for (std::size_t i = 0; i < staff.size(); ++i) {
        const double base = 2800 + std::uniform_int_distribution<int>(0, 90)(rng) * 100;
        const double post = 500 + std::uniform_int_distribution<int>(0, 30)(rng) * 50;
        const double bonus = std::uniform_int_distribution<int>(0, 40000)(rng) / 10.0;
        const double overtime = i % 4 == 0 ? std::uniform_int_distribution<int>(1, 60)(rng) * 25.0 : 0.0;
        const double other = i % 17 == 0 ? 50.0 : 0.0;
        update.run({base, post, bonus, overtime, other, staff.row(i)[0]});
    }
    tx.commit();
}

void saveBankTemplate(Session& s) {
    exchange::BankTemplate tpl;
    for (const char* name : {"银行账号", "姓名", "实发工资"})
        for (const exchange::PickerEntry& e : exchange::bankPickerEntries(s))
            if (e.name == name) {
                tpl.rows.push_back(exchange::fieldForPick(e));
                break;
            }
    if (!tpl.rows.empty())
        tpl.rows.front().width = "19"; // the whole account number
    tpl.head = "演示单位工资代发";
    must(exchange::saveBankTemplate(s, tpl), "保存银行报盘格式");
}

// finalHome is where the home will live once renamed: the accounting link
// is recorded with that path.
void build(const std::string& home, const std::string& finalHome, int year, int month, Progress& progress) {
    Session s;
    initSession(s, home);
    layoutDataHome(home);
    YesPrompt yes;
    if (!openSystemDatabase(s, yes))
        throw std::runtime_error("不能打开系统数据库：" + yes.last);

    NewTaskFields task;
    task.corporation = "DEMO01";
    task.name = kTaskName;
    task.year = std::to_string(year);
    task.month = std::to_string(month);
    task.operatorName = kOperator;
    task.password1 = task.password2 = kPassword;
    task.codeLength = "4";
    task.mode = 3; // 不足1元去尾
    const AddTaskResult added = addTask(s, task);
    if (!added.outcome.ok || added.taskID.empty())
        throw std::runtime_error("建立演示任务：" + added.outcome.message);

    for (const auto& [no, name] : {std::pair{"01", "管理部门"}, {"02", "生产部门"}, {"03", "销售部门"}})
        must(base::addDepartmentType(s, no, name), std::string("增加部门类型") + name);
    for (const auto& [code, name] : {std::pair{"01", "正式员工"}, {"02", "合同员工"}, {"03", "临时员工"}})
        must(base::addEmployeeType(s, code, name), std::string("增加员工类型") + name);
    for (const Department& d : kDepartments)
        must(base::addDepartment(s, yes, d.code, d.name, d.type).outcome, std::string("增加部门") + d.name);

    addItems(s);
    addFormulas(s, yes);
    addEmployees(s, progress);
    enterValues(s);
    saveBankTemplate(s);

    const std::string accounting = home + "/演示账务";
    accounting::layoutDemoAccounting(accounting, {kOperator}, accounting::YearMonth{year, month});
    LinkFields link;
    link.choice = LinkChoice::SingleUser;
    link.folder = accounting;
    link.setName = accounting::demoSets().front().name;
    must(confirmLink(s, link, kLinkChangePath), "连接演示账务");
    s.sysConn.execute("Update GZSysInfo set F_ZTPATH=? where F_ID=?", {finalHome + "/演示账务", s.curTaskID});
}

} // namespace

std::string identityNumber(const std::string& region, const std::string& birth, int sequence) {
    char seq[8];
    std::snprintf(seq, sizeof seq, "%03d", sequence % 1000);
    const std::string body = region + birth + seq;
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (std::size_t i = 0; i < 17 && i < body.size(); ++i)
        sum += (body[i] - '0') * weights[i];
    return body + "10X98765432"[sum % 11];
}

Outcome layOutDemoHome(const std::string& home, int year, int month, Progress& progress) {
    std::error_code ec;
    fs::path target = fs::path(home).lexically_normal();
    // "demo/" names the folder demo, not something inside it.
    if (!target.has_filename() && target.has_parent_path())
        target = target.parent_path();
    if (home.empty())
        return Outcome::refuse("请给出演示数据的目录。", kTitle, Icon::Exclamation);
    if (fs::exists(target, ec) && (!fs::is_directory(target, ec) || !fs::is_empty(target, ec)))
        return Outcome::refuse("“" + home + "”已存在且不是空目录。演示数据只建立在新的目录中，不会改动已有的数据。", kTitle,
                               Icon::Exclamation);
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec))
        return Outcome::refuse("目录“" + parent.string() + "”不存在。", kTitle, Icon::Exclamation);
    std::string staging = (parent / (".gzgl-demo-XXXXXX")).string();
    if (!::mkdtemp(staging.data()))
        return Outcome::refuse("不能在“" + parent.string() + "”建立目录。", kTitle, Icon::Critical);
    try {
        build(staging, fs::absolute(target, ec).string(), year, month, progress);
        // An empty folder of that name is replaced; anything else stays.
        if (fs::exists(target, ec))
            fs::remove(target, ec);
        fs::rename(staging, target);
    } catch (const std::exception& e) {
        progress.end();
        fs::remove_all(staging, ec);
        return Outcome::refuse(std::string("演示数据没有建立。\n") + e.what(), kTitle, Icon::Critical);
    }
    return {true,
            "演示数据已建立在“" + home + "”。\n任务：" + kTaskName + "，操作员：" + kOperator + "，口令：" + kPassword,
            kTitle, Icon::Information, {}};
}

} // namespace gzgl::demo
