// dep, deptype, emptype, emp and transfer: the base-record screens from a
// terminal, with the screens' rules and messages. Lists print tab-separated
// rows; an added record prints its code.
#include "app/cli/commands.h"

#include "base/departments.h"
#include "base/employees.h"
#include "base/transfer.h"
#include "base/types.h"

#include <iostream>

namespace gzgl::cli {

namespace {

using namespace gzgl::base;

void printTypes(const std::vector<TypeRow>& types) {
    for (const TypeRow& t : types)
        std::cout << t.code << '\t' << t.name << "\n";
}

int depList(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    // The sub-departments of the empty code are all departments.
    printRows(rosterGrid(c.session, RosterMode::Departments, "", true).rows);
    return 0;
}

int depAdd(Context& c) {
    c.args.allowOnly(withLogin({"code", "name", "type", "yes"}));
    const std::string code = c.args.require("code");
    const std::string name = c.args.require("name");
    const std::string type = c.args.get("type", "");
    if (!openAndLogin(c))
        return 1;
    const AddDepartmentResult r = addDepartment(c.session, c.prompt, code, name, type);
    if (r.added)
        std::cout << r.code << "\n";
    return report(c, r.outcome);
}

int depModify(Context& c) {
    c.args.allowOnly(withLogin({"code", "name", "type"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    const std::optional<DepartmentRecord> d = loadDepartment(c.session, code);
    const std::string name = c.args.get("name", d ? d->name : "");
    const std::string type = c.args.get("type", d ? d->typeNo : "");
    return report(c, modifyDepartment(c.session, code, name, type));
}

int depDelete(Context& c) {
    c.args.allowOnly(withLogin({"code", "yes"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteDepartment(c.session, c.prompt, code));
}

int depTypeAdd(Context& c) {
    c.args.allowOnly(withLogin({"no", "name"}));
    const std::string name = c.args.require("name");
    if (!openAndLogin(c))
        return 1;
    const std::string no = c.args.get("no", nextDepartmentTypeNo(departmentTypes(c.session)));
    const Outcome o = addDepartmentType(c.session, no, name);
    if (o.ok)
        std::cout << no << "\n";
    return report(c, o);
}

int depTypeList(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    printTypes(departmentTypes(c.session));
    return 0;
}

int depTypeRename(Context& c) {
    c.args.allowOnly(withLogin({"no", "name"}));
    const std::string no = c.args.require("no");
    const std::string name = c.args.require("name");
    if (!openAndLogin(c))
        return 1;
    return report(c, renameDepartmentType(c.session, no, name));
}

int depTypeDelete(Context& c) {
    c.args.allowOnly(withLogin({"no", "yes"}));
    const std::string no = c.args.require("no");
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteDepartmentType(c.session, c.prompt, no));
}

int empTypeAdd(Context& c) {
    c.args.allowOnly(withLogin({"code", "name"}));
    const std::string code = c.args.require("code");
    const std::string name = c.args.require("name");
    if (!openAndLogin(c))
        return 1;
    return report(c, addEmployeeType(c.session, code, name));
}

int empTypeList(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    printTypes(employeeTypes(c.session));
    return 0;
}

int empTypeDelete(Context& c) {
    c.args.allowOnly(withLogin({"code", "yes"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteEmployeeType(c.session, c.prompt, code));
}

// The employee form's options, by the field they fill.
struct FieldOption {
    const char* key;
    std::string EmployeeFields::*field;
};
const std::vector<FieldOption>& fieldOptions() {
    static const std::vector<FieldOption> options = {
        {"dep", &EmployeeFields::depNo},         {"name", &EmployeeFields::name},
        {"sex", &EmployeeFields::sex},           {"nation", &EmployeeFields::nation},
        {"cid", &EmployeeFields::cid},           {"acc", &EmployeeFields::accNo},
        {"pension", &EmployeeFields::oldNo},     {"housing", &EmployeeFields::houseNo},
        {"other1", &EmployeeFields::otherNo1},   {"other2", &EmployeeFields::otherNo2},
        {"sort", &EmployeeFields::sortNo},       {"character", &EmployeeFields::character},
        {"type", &EmployeeFields::empType},      {"notcalc", &EmployeeFields::notCalc},
        {"joined", &EmployeeFields::lashMonth},
    };
    return options;
}

std::set<std::string> employeeOptions(std::initializer_list<std::string> more) {
    std::set<std::string> s = withLogin(more);
    for (const FieldOption& o : fieldOptions())
        s.insert(o.key);
    return s;
}

void applyFieldOptions(const Args& a, EmployeeFields& f) {
    for (const FieldOption& o : fieldOptions())
        if (auto v = a.get(o.key))
            f.*o.field = *v;
}

int empAdd(Context& c) {
    c.args.allowOnly(employeeOptions({"code"}));
    if (!openAndLogin(c))
        return 1;
    EmployeeFields f;
    applyFieldOptions(c.args, f);
    f.empNo = c.args.get("code", nextEmployeeCode(c.session));
    if (!c.args.get("sort"))
        f.sortNo = std::to_string(nextSortNo(c.session, textBeforeBlank(f.depNo)));
    const SaveEmployeeResult r = addEmployee(c.session, f);
    if (r.outcome.ok)
        std::cout << r.code << "\n";
    return report(c, r.outcome);
}

int empList(Context& c) {
    c.args.allowOnly(withLogin({"dep", "order"}));
    const std::string order = c.args.get("order", "sort");
    if (order != "sort" && order != "code")
        throw UsageError("--order 应为 sort 或 code");
    if (!openAndLogin(c))
        return 1;
    const auto dep = c.args.get("dep");
    const bool bySort = order == "sort";
    printRows(dep ? rosterGrid(c.session, RosterMode::Employees, *dep, bySort).rows
                  : rosterGrid(c.session, RosterMode::AllEmployees, "", bySort).rows);
    return 0;
}

int empModify(Context& c) {
    c.args.allowOnly(employeeOptions({"code"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    std::optional<EmployeeFields> loaded = loadEmployee(c.session, code);
    if (!loaded)
        return report(c, Outcome::refuse("查无此人!", c.session.productTitle, Icon::Exclamation));
    EmployeeFields f = *loaded;
    f.empNo = code;
    applyFieldOptions(c.args, f);
    return report(c, modifyEmployee(c.session, f).outcome);
}

int empDelete(Context& c) {
    c.args.allowOnly(withLogin({"code", "yes"}));
    const std::string code = c.args.require("code");
    if (!openAndLogin(c))
        return 1;
    return report(c, deleteEmployee(c.session, c.prompt, formatEmployeeCode(c.session, code)));
}

[[noreturn]] void usage(const char* command, const char* subcommands) {
    throw UsageError(std::string(command) + " 之后应为 " + subcommands);
}

} // namespace

int cmdDep(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "add")
        return depAdd(c);
    if (sub == "list")
        return depList(c);
    if (sub == "modify")
        return depModify(c);
    if (sub == "delete")
        return depDelete(c);
    usage("dep", "add、list、modify 或 delete");
}

int cmdDepType(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "add")
        return depTypeAdd(c);
    if (sub == "list")
        return depTypeList(c);
    if (sub == "rename")
        return depTypeRename(c);
    if (sub == "delete")
        return depTypeDelete(c);
    usage("deptype", "add、list、rename 或 delete");
}

int cmdEmpType(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "add")
        return empTypeAdd(c);
    if (sub == "list")
        return empTypeList(c);
    if (sub == "delete")
        return empTypeDelete(c);
    usage("emptype", "add、list 或 delete");
}

int cmdEmp(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "add")
        return empAdd(c);
    if (sub == "list")
        return empList(c);
    if (sub == "modify")
        return empModify(c);
    if (sub == "delete")
        return empDelete(c);
    usage("emp", "add、list、modify 或 delete");
}

int cmdTransfer(Context& c) {
    // "transfer rules ..." and "transfer run ..." are the month's voucher
    // transfer; employee numbers are never these words.
    if (const std::string sub = subcommand(c); sub == "rules" || sub == "run")
        return cmdVoucher(c);
    c.args.allowOnly(withLogin({"to"}));
    const std::string target = c.args.require("to");
    const std::vector<std::string>& w = c.args.words();
    if (w.size() < 2)
        throw UsageError("transfer 需要至少一个员工编号");
    if (!openAndLogin(c))
        return 1;
    std::vector<std::string> codes;
    for (std::size_t i = 1; i < w.size(); ++i)
        codes.push_back(formatEmployeeCode(c.session, w[i]));
    return report(c, transferEmployees(c.session, target, codes));
}

} // namespace gzgl::cli
