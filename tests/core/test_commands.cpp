// The main window's command tables and enablement states.
#include "core/commands.h"

#include <gtest/gtest.h>

#include <set>

using namespace gzgl;

TEST(Commands, MenuTreeHasEveryEntryOnceWithItsCaption) {
    std::set<std::string> names;
    std::size_t entries = 0;
    for (const Menu& m : menuTree())
        for (const MenuEntry& e : m.entries) {
            EXPECT_TRUE(names.insert(e.name).second) << e.name;
            entries += e.command != Command::None;
        }
    EXPECT_EQ(menuTree().size(), 5u);
    EXPECT_EQ(entries, 32u);
    EXPECT_EQ(commandCaption(Command::SystemBackup), "数据备份(&B)");
    EXPECT_EQ(commandCaption(Command::SystemBackAll), "全库备份");
    // The full backup covers every task: it needs none open.
    EXPECT_EQ(taskNeed(Command::SystemBackAll), TaskNeed::None);
    EXPECT_EQ(commandCaption(Command::SalarysChange), "修改任务信息");
}

TEST(Commands, NavigationCodesMapToTheirCommands) {
    EXPECT_EQ(navigationCommand("11"), Command::SalaryCurMonth);
    EXPECT_EQ(navigationCommand("25"), Command::BaseInfoTrans);
    EXPECT_EQ(navigationCommand("35"), Command::SystemCondition);
    EXPECT_EQ(navigationCommand("41"), Command::NavigationExit);
    EXPECT_FALSE(navigationCommand("17"));
    EXPECT_FALSE(navigationCommand(""));
    EXPECT_EQ(navigationCodes().size(), 17u);
}

TEST(Commands, ToolbarStatesFollowTheTask) {
    for (int i = 1; i <= 9; ++i) {
        if (i == 8)
            continue;
        EXPECT_EQ(toolEnabled(ShellMode::NoTask, i), i == 1 || i == 7) << i;
        EXPECT_EQ(toolEnabled(ShellMode::TaskChosen, i), i == 7) << i;
        EXPECT_EQ(toolEnabled(ShellMode::LoggedIn, i), i != 1) << i;
    }
}

TEST(Commands, MenuStatesFollowTheTask) {
    using C = Command;
    EXPECT_FALSE(menuEnabled(ShellMode::NoTask, C::SalarysClose));
    EXPECT_TRUE(menuEnabled(ShellMode::NoTask, C::SalarysAdd));
    EXPECT_TRUE(menuEnabled(ShellMode::NoTask, C::SalaryPrint)); // leads to the task choice

    for (C c : {C::SalarysOpen, C::SalarysAdd, C::SalarysDelete, C::SalarysChange, C::BaseInfoEmp,
                C::SalaryCurMonth, C::SystemBackup, C::SalarysTaskIn, C::SystemWord, C::SystemConnect})
        EXPECT_FALSE(menuEnabled(ShellMode::TaskChosen, c));
    for (C c : {C::SalarysClose, C::DataInterfaceIn, C::SalarysExit, C::SystemSysSet, C::HelpAbout})
        EXPECT_TRUE(menuEnabled(ShellMode::TaskChosen, c));

    EXPECT_FALSE(menuEnabled(ShellMode::LoggedIn, C::SalarysOpen));
    EXPECT_FALSE(menuEnabled(ShellMode::LoggedIn, C::SalarysAdd));
    for (C c : {C::SalarysClose, C::SalarysDelete, C::SystemBalance, C::SalaryTransfer, C::SystemCondition})
        EXPECT_TRUE(menuEnabled(ShellMode::LoggedIn, c));
}

TEST(Commands, WhichCommandsNeedATaskFirst) {
    EXPECT_EQ(taskNeed(Command::SalaryPrint), TaskNeed::Modal);
    EXPECT_EQ(taskNeed(Command::SalarysAdd), TaskNeed::None);
    EXPECT_EQ(taskNeed(Command::SystemSysSet), TaskNeed::Modeless);
    EXPECT_EQ(taskNeed(Command::SystemBackup), TaskNeed::WithoutLogin);
    EXPECT_EQ(taskNeed(Command::HelpAbout), TaskNeed::None);
}

TEST(Commands, TaskScreensOpenOnlyForALoggedInOperator) {
    Session chosen;
    chosen.curTaskID = "0000";
    chosen.shell.mode = ShellMode::TaskChosen;
    Session loggedIn;
    loggedIn.curTaskID = "0000";
    loggedIn.curOperName = "管理员";
    loggedIn.shell.mode = ShellMode::LoggedIn;
    for (const Menu& m : menuTree())
        for (const MenuEntry& e : m.entries) {
            if (e.command == Command::None)
                continue;
            const bool needsTask = taskNeed(e.command) != TaskNeed::None;
            // Chosen but not logged in: neither reachable nor openable.
            EXPECT_FALSE(needsTask && screenMayOpen(chosen, e.command)) << e.name;
            EXPECT_TRUE(screenMayOpen(loggedIn, e.command)) << e.name;
        }
    // The navigation codes and the toolbar follow the same gate.
    for (const std::string& code : navigationCodes()) {
        const Command c = *navigationCommand(code);
        EXPECT_EQ(commandAllowed(ShellMode::TaskChosen, c), c == Command::NavigationExit) << code;
    }
    EXPECT_FALSE(commandAllowed(ShellMode::TaskChosen, Command::AdjustColumns));
    EXPECT_TRUE(commandAllowed(ShellMode::NoTask, Command::SalaryCurMonth)); // leads to the task choice
    // Backup and its kin also run on a task opened without login.
    chosen.openWithoutLogin = true;
    EXPECT_TRUE(screenMayOpen(chosen, Command::SystemBackup));
    EXPECT_FALSE(screenMayOpen(chosen, Command::SalaryCurMonth));
}
