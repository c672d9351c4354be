#include "core/commands.h"

#include <algorithm>
#include <map>

namespace gzgl {

const std::vector<Menu>& menuTree() {
    using C = Command;
    static const std::vector<Menu> tree = {
        {"mnuSalarys",
         "任务管理(&F)",
         {{C::SalarysOpen, "mnuSalarys_Open", "选择任务"},
          {C::SalarysClose, "mnuSalarys_Close", "关闭当前任务"},
          {C::None, "mnuSalarys_sp1", ""},
          {C::SalarysAdd, "mnuSalarys_Add", "增加任务"},
          {C::SalarysDelete, "mnuSalarys_Delete", "删除当前任务"},
          {C::SalarysChange, "mnuSalarys_Change", "修改任务信息"},
          {C::None, "mnuSalarys_sp2", ""},
          {C::SalarysTaskIn, "mnuSalarys_TaskIn", "数据导入"},
          {C::SalarysTaskOut, "mnuSalarys_TaskOut", "数据导出"},
          {C::DataInterfaceIn, "mnuDataInterfaceIn", "文本数据导入"},
          {C::None, "mnuSalarys_sp3", ""},
          {C::SalarysExit, "mnuSalarys_Exit", "退出本系统"}}},
        {"mnuSalary",
         "日常处理(&M)",
         {{C::SalaryCurMonth, "mnuSalary_CurMonth", "当月工资录入"},
          {C::SalaryUpdate, "mnuSalary_Update", "工资成批调整"},
          {C::SalaryDivide, "mnuSalary_Divide", "工资票面分配"},
          {C::None, "mnuSalary_sp1", ""},
          {C::SalaryQuery, "mnuSalary_Query", "工资综合查询"},
          {C::SalaryPrint, "mnuSalary_Print", "工资报表打印"},
          {C::None, "mnuSalary_sp2", ""},
          {C::SalaryTransfer, "mnuSalary_Transfer", "本月工资转账"},
          {C::SalaryBank, "mnuSalary_Bank", "生成磁盘文件"},
          {C::None, "mnusp4", ""},
          {C::SystemBalance, "mnuSystem_Balance", "结转至下月"}}},
        {"mnuBaseInfo",
         "基础档案管理(&B)",
         {{C::BaseInfoSubject, "mnuBaseInfo_Subject", "工资项目定义"},
          {C::None, "mnuBaseInfo_sp", ""},
          {C::BaseInfoDep, "mnuBaseInfo_Dep", "部门分类定义"},
          {C::BaseInfoEmpKind, "mnuBaseInfo_EmpKind", "职工分类定义"},
          {C::BaseInfoEmp, "mnuBaseInfo_Emp", "职工名册管理"},
          {C::BaseInfoTrans, "mnuBaseInfo_Trans", "部门人员调动"}}},
        {"mnuSystem",
         "系统管理(&S)",
         {{C::SystemWord, "mnuSystem_Word", "修改口令"},
          {C::None, "mnuSystem_sp", ""},
          {C::SystemBackup, "mnuSystem_Backup", "数据备份(&B)"},
          {C::SystemRecove, "mnuSystem_Recove", "数据恢复(&R)"},
          {C::SystemBackAll, "mnuSystem_BackAll", "全库备份"},
          {C::SystemClear, "mnuSystem_Clear", "数据清理(&C)"},
          {C::None, "mnuSystem_sp1", ""},
          {C::SystemCondition, "mnuSystem_Condition", "环境恢复"},
          {C::SystemConnect, "mnuSystem_Connect", "更改账务路径"},
          {C::None, "mnuSystem_sp2", ""},
          {C::SystemSysSet, "mnuSystem_SysSet", "系统设置"}}},
        {"mnuHelp",
         "帮助(&H)",
         {{C::HelpOnline, "mnuHelp_Online", "在线帮助"}, {C::HelpAbout, "mnuHelp_About", "关于工资系统"}}},
    };
    return tree;
}

const std::vector<ToolButton>& toolButtons() {
    using C = Command;
    static const std::vector<ToolButton> buttons = {
        {1, "选择任务", "open", "选择工资任务", C::SalarysOpen},
        {2, "员工管理", "manage", "部门及员工管理", C::BaseInfoEmp},
        {3, "项目管理", "option", "工资项目管理", C::BaseInfoSubject},
        {4, "工资录入", "salary", "当月工资录入", C::SalaryCurMonth},
        {5, "综合查询", "query", "工资综合查询", C::SalaryQuery},
        {6, "报表打印", "print", "工资报表打印", C::SalaryPrint},
        {7, "退出系统", "exit", "退出系统", C::ExitPrompt},
        {8, "", "", "", C::None},
        {9, "调整列宽", "adjust", "自动调整列宽", C::AdjustColumns},
    };
    return buttons;
}

namespace {
const std::vector<std::pair<std::string, Command>>& navigationTable() {
    using C = Command;
    static const std::vector<std::pair<std::string, Command>> table = {
        {"11", C::SalaryCurMonth},  {"12", C::SalaryUpdate},   {"13", C::SalaryQuery},
        {"14", C::SalaryPrint},     {"15", C::SalaryTransfer}, {"16", C::SystemBalance},
        {"21", C::BaseInfoSubject}, {"22", C::BaseInfoDep},    {"23", C::BaseInfoEmpKind},
        {"24", C::BaseInfoEmp},     {"25", C::BaseInfoTrans},  {"31", C::SystemWord},
        {"32", C::SystemBackup},    {"33", C::SystemRecove},   {"34", C::SystemClear},
        {"35", C::SystemCondition}, {"41", C::NavigationExit},
    };
    return table;
}
} // namespace

std::optional<Command> navigationCommand(const std::string& code) {
    for (const auto& [c, cmd] : navigationTable())
        if (c == code)
            return cmd;
    return std::nullopt;
}

std::vector<std::string> navigationCodes() {
    std::vector<std::string> out;
    for (const auto& entry : navigationTable())
        out.push_back(entry.first);
    return out;
}

bool menuEnabled(ShellMode mode, Command c) {
    using C = Command;
    switch (mode) {
    case ShellMode::NoTask:
        // Every command but closing can start from here: those that need a
        // task show the task choice first.
        return c != C::SalarysClose;
    case ShellMode::TaskChosen: {
        // Chosen but not logged in: only closing the task, and the entries
        // that keep their state (text import, exit, settings, help).
        static const C kept[] = {C::SalarysClose, C::DataInterfaceIn, C::SalarysExit,
                                 C::SystemSysSet, C::HelpOnline,      C::HelpAbout};
        return std::find(std::begin(kept), std::end(kept), c) != std::end(kept);
    }
    case ShellMode::LoggedIn:
        return c != C::SalarysOpen && c != C::SalarysAdd;
    }
    return false;
}

bool toolEnabled(ShellMode mode, int index) {
    if (index == 7)
        return true;
    switch (mode) {
    case ShellMode::NoTask:
        return index == 1;
    case ShellMode::TaskChosen:
        return false;
    case ShellMode::LoggedIn:
        return index != 1 && index != 8;
    }
    return false;
}

std::string commandCaption(Command c) {
    for (const Menu& m : menuTree())
        for (const MenuEntry& e : m.entries)
            if (e.command == c && c != Command::None)
                return e.caption;
    return {};
}

TaskNeed taskNeed(Command c) {
    using C = Command;
    switch (c) {
    case C::SalarysAdd:
    case C::SalarysTaskIn:
    case C::SystemBackAll:
    case C::DataInterfaceIn:
    case C::HelpAbout:
    case C::HelpOnline:
    case C::SalarysExit:
    case C::SalarysOpen:
    case C::SalarysClose:
    case C::ExitPrompt:
    case C::NavigationExit:
    case C::AdjustColumns:
    case C::None:
        return TaskNeed::None;
    case C::SystemCondition:
    case C::SystemSysSet:
    case C::SystemWord:
        return TaskNeed::Modeless;
    case C::SalarysTaskOut:
    case C::SystemBackup:
    case C::SystemRecove:
    case C::SystemClear:
        return TaskNeed::WithoutLogin;
    default:
        return TaskNeed::Modal;
    }
}

bool commandAllowed(ShellMode mode, Command c) {
    using C = Command;
    switch (c) {
    case C::None:
        return false;
    case C::ExitPrompt:
    case C::NavigationExit:
        return true;
    case C::AdjustColumns:
        return toolEnabled(mode, 9);
    default:
        return menuEnabled(mode, c);
    }
}

bool screenMayOpen(const Session& s, Command c) {
    switch (taskNeed(c)) {
    case TaskNeed::None:
        return true;
    case TaskNeed::WithoutLogin:
        return s.loggedIn() || (s.taskOpen() && s.openWithoutLogin);
    case TaskNeed::Modal:
    case TaskNeed::Modeless:
        return s.loggedIn();
    }
    return false;
}

} // namespace gzgl
