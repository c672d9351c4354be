// The main window: menus, toolbar, status bar and the area that hosts every
// screen. It renders the session's shell state and runs the commands.
#pragma once

#include "core/commands.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QProgressBar;
class FrmDH;
class frmManage;
class frmSalary;
class frmTrans;
class MainProgress;
class QTableView;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the window where and as large as it was left; maximized the
    // first time, or when that place is on no screen today.
    void showAsLeft();
    // Remembers the window's place for the next start.
    void saveWindowGeometry();
    // Runs the start routine and shows what comes after it.
    void startUp();
    // Applies the session's caption, panels and enablement state.
    void refreshShell();
    // The menu entry or toolbar button ("tlb_" + key) of that object name.
    QAction* action(const QString& objectName) const;
    QMdiArea* mdiArea() const { return mdi_; }
    // The grid the column-fit button works on (ActiveGridScreen), or nullptr.
    QTableView* activeGrid() const;
    // Shows the navigation picture as a child window.
    void showNavigation();
    // Progress and status text for long work.
    void setProgress(int value, int maximum, const QString& text);

public slots:
    void runCommand(gzgl::Command c);
    void runNavigationCode(const QString& code);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void showTaskChoice();
    void newTask();
    void openScreen(gzgl::Command c);
    // Hosts the screen in a child window of the wanted size (else the
    // screen's own), bounded by the area and placed wholly inside it.
    void addChild(QWidget* w, QSize wanted = {});
    void keepInside(QMdiSubWindow* sub);
    // Brings an open single-instance screen to the front; false when none.
    bool raiseChild(QWidget* w);
    // "在线帮助": the user guide in the system browser, or in a window here.
    void openGuide();
    bool ensureLoggedIn();
    // Closes every child window of the open task (each may ask first); false
    // when one stays open, and then nothing else happens to the task.
    bool closeTaskWindows();
    // The status label and bar that long work reports to, made once.
    gzgl::Progress* mainProgress();
    void openRoster();
    void openTransfer();
    void openSalary();
    void openBatch();
    // Month-end and restore: the task's windows close first, and the status
    // bar shows the new month as soon as the session is in it.
    void closeMonth();
    void restorePeriod();
    // The monthly backup or the restore; either closes the task when done.
    void backUpOrRestore(bool restore);
    void fitColumns();
    bool askExit(const char* question);
    // Ends the program; an ordinary exit closes every screen first, and one
    // that stays open (its own question answered No) stops the exit.
    bool quitProgram(int code);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QMdiArea* mdi_;
    std::map<gzgl::Command, QAction*> menuActions_;
    std::map<int, QAction*> toolActions_;
    QLabel *panel1_, *panel2_, *panel3_, *lblStatusText_;
    QProgressBar* prgMain_;
    bool exiting_ = false;
    QPointer<frmManage> manage_;
    QPointer<frmTrans> trans_;
    QPointer<frmSalary> salary_;
    QPointer<FrmDH> nav_;
    std::unique_ptr<MainProgress> progress_;
};
