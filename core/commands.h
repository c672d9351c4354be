// The main window's command set: the menu tree with its entry names and
// captions, the toolbar, the navigation-picture codes, and which entries are
// enabled in each of the three states. The desktop program builds its menus
// and toolbar from these tables, so the rules live here and can be tested.
#pragma once

#include "core/session.h"

#include <optional>
#include <string>
#include <vector>

namespace gzgl {

// clang-format off
enum class Command {
    None,
    // 任务管理
    SalarysOpen, SalarysClose, SalarysAdd, SalarysDelete, SalarysChange, SalarysTaskIn, SalarysTaskOut,
    DataInterfaceIn, SalarysExit,
    // 日常处理
    SalaryCurMonth, SalaryUpdate, SalaryDivide, SalaryQuery, SalaryPrint, SalaryTransfer, SalaryBank,
    SystemBalance,
    // 基础档案管理
    BaseInfoSubject, BaseInfoDep, BaseInfoEmpKind, BaseInfoEmp, BaseInfoTrans,
    // 系统管理
    SystemWord, SystemBackup, SystemRecove, SystemBackAll, SystemClear, SystemCondition, SystemConnect, SystemSysSet,
    // 帮助
    HelpOnline, HelpAbout,
    // Not menu entries: the exit prompts and the column fit.
    ExitPrompt, NavigationExit, AdjustColumns,
};
// clang-format on

struct MenuEntry {
    Command command;  // Command::None for a separator
    std::string name; // mnuSalarys_Open, or the separator's name
    std::string caption;
};

struct Menu {
    std::string name;
    std::string caption;
    std::vector<MenuEntry> entries;
};

// The menu tree in its order.
const std::vector<Menu>& menuTree();

struct ToolButton {
    int index; // 1-based; 8 is the separator
    std::string caption, key, tooltip;
    Command command;
};
const std::vector<ToolButton>& toolButtons();

// The navigation picture's code, or nullopt for a code that does nothing.
std::optional<Command> navigationCommand(const std::string& code);
// The codes the navigation picture offers, in its order.
std::vector<std::string> navigationCodes();

// Whether a menu entry is enabled in the given state.
bool menuEnabled(ShellMode mode, Command c);
// Whether toolbar button index is enabled in the given state.
bool toolEnabled(ShellMode mode, int index);

// The caption of a command's menu entry (empty for other commands).
std::string commandCaption(Command c);

// How a command opens: when no task is open, the task choice comes first,
// shown modally, or without waiting (the command then ends there).
enum class TaskNeed { None, Modal, Modeless, WithoutLogin };
TaskNeed taskNeed(Command c);

// Whether a command may start at all in the main window's state, whichever
// way it is given: menu entry, toolbar button or navigation code. Menu
// commands follow the menu's enablement, the column fit its toolbar button,
// the exit questions are always allowed.
bool commandAllowed(ShellMode mode, Command c);

// Whether the command's screen may open once the task choice (if any) is
// over: a command that works on a task's data needs a logged-in operator;
// the data-export, backup, restore and clean-up commands also run on a task
// opened without login. Commands that need no task always may.
bool screenMayOpen(const Session& s, Command c);

// The exit questions.
inline constexpr const char* kExitQuestion = "确定要退出工资管理软件吗？";
inline constexpr const char* kNavigationExitQuestion = "确定要退出工资管理系统吗？";

} // namespace gzgl
