#include "screens/session/frmMain.h"

#include "core/login.h"
#include "core/startup.h"
#include "core/tasks.h"
#include "screens/base/frmDepKind.h"
#include "screens/base/frmEmpKind.h"
#include "screens/base/frmManage.h"
#include "screens/base/frmTrans.h"
#include "screens/interfaces/frmBP.h"
#include "screens/interfaces/frmDivide.h"
#include "screens/interfaces/frmTransfer.h"
#include "screens/items/frmOption.h"
#include "screens/monthly/frmGroup.h"
#include "screens/monthly/frmSalary.h"
#include "screens/period/frmBackAll.h"
#include "screens/period/frmBackUp.h"
#include "screens/period/frmBalance.h"
#include "screens/period/frmClear.h"
#include "screens/period/frmPath.h"
#include "screens/period/frmRecove.h"
#include "screens/period/frmimporttask.h"
#include "screens/interfaces/frmDataInterfaceIn.h"
#include "screens/session/frmHelp.h"
#include "screens/period/frmReNew.h"
#include "screens/reports/frmQuery.h"
#include "screens/reports/frmReport.h"
#include "screens/session/FrmDH.h"
#include "screens/session/GridWidths.h"
#include "screens/session/MainProgress.h"
#include "screens/session/ScreenSupport.h"
#include "screens/session/frmAbout.h"
#include "screens/session/frmAdd.h"
#include "screens/session/frmAmend.h"
#include "screens/session/frmChangeKL.h"
#include "screens/session/frmLink.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmOpen.h"
#include "screens/session/frmSysSet.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

using gzgl::Command;

namespace {
const char* const kGeometryKey = "MainWindow/geometry";
const char* const kRectKey = "MainWindow/rect";

// A window left on a screen that is gone, or on a larger one, would open
// partly out of sight: such a place is not restored.
bool onAScreen(const QRect& r) {
    if (!r.isValid())
        return false;
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().contains(r))
            return true;
    return false;
}
} // namespace

frmMain::frmMain(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QMainWindow(parent), s_(s), p_(p) {
    setObjectName("frmMain");
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    mdi_->setBackground(QColor(0xe8, 0xec, 0xf2));
    setCentralWidget(mdi_);
    mdi_->viewport()->installEventFilter(this);
    buildMenus();
    buildToolbar();
    buildStatusBar();
    resize(1024, 700);
    refreshShell();
}

frmMain::~frmMain() {
    mdi_->viewport()->removeEventFilter(this);
}

void frmMain::buildMenus() {
    for (const gzgl::Menu& m : gzgl::menuTree()) {
        QMenu* menu = menuBar()->addMenu(qs(m.caption));
        menu->setObjectName(qs(m.name));
        for (const gzgl::MenuEntry& e : m.entries) {
            if (e.command == Command::None) {
                menu->addSeparator()->setObjectName(qs(e.name));
                continue;
            }
            QAction* a = menu->addAction(qs(e.caption));
            a->setObjectName(qs(e.name));
            const Command c = e.command;
            connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
            menuActions_[c] = a;
        }
    }
}

void frmMain::buildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName("tlbItem");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    for (const gzgl::ToolButton& b : gzgl::toolButtons()) {
        if (b.command == Command::None) {
            bar->addSeparator();
            continue;
        }
        QAction* a = bar->addAction(qs(b.caption));
        a->setObjectName("tlb_" + qs(b.key));
        a->setToolTip(qs(b.tooltip));
        const Command c = b.command;
        connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
        toolActions_[b.index] = a;
    }
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("stbTail");
    lblStatusText_ = new QLabel(this);
    lblStatusText_->setObjectName("lblStatusText");
    prgMain_ = new QProgressBar(this);
    prgMain_->setObjectName("prgMain");
    prgMain_->setMaximumWidth(200);
    prgMain_->hide();
    auto panel = [this](const char* name, int width) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setMinimumWidth(width);
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    panel1_ = panel("panel1", 130);
    panel2_ = panel("panel2", 100);
    panel3_ = panel("panel3", 70);
    bar->addWidget(lblStatusText_, 1);
    bar->addWidget(prgMain_);
    bar->addPermanentWidget(panel1_);
    bar->addPermanentWidget(panel2_);
    bar->addPermanentWidget(panel3_);
}

void frmMain::setProgress(int value, int maximum, const QString& text) {
    lblStatusText_->setText(text);
    prgMain_->setVisible(maximum > 0 && value < maximum);
    prgMain_->setRange(0, maximum);
    prgMain_->setValue(value);
}

void frmMain::refreshShell() {
    setWindowTitle(qs(s_.shell.caption));
    panel1_->setText(qs(s_.shell.periodPanel));
    panel2_->setText(qs(s_.shell.operatorPanel));
    panel3_->setText(qs(s_.shell.statePanel));
    for (auto& [c, a] : menuActions_)
        a->setEnabled(gzgl::menuEnabled(s_.shell.mode, c));
    for (auto& [i, a] : toolActions_)
        a->setEnabled(gzgl::toolEnabled(s_.shell.mode, i) && !(i == 2 && manage_));
    if (nav_) {
        QSet<QString> disabled;
        for (const std::string& code : gzgl::navigationCodes())
            if (!gzgl::commandAllowed(s_.shell.mode, *gzgl::navigationCommand(code)))
                disabled.insert(qs(code));
        nav_->setDisabledCodes(disabled);
    }
}

QAction* frmMain::action(const QString& objectName) const {
    for (const auto& [c, a] : menuActions_)
        if (a->objectName() == objectName)
            return a;
    for (const auto& [i, a] : toolActions_)
        if (a->objectName() == objectName)
            return a;
    return nullptr;
}

void frmMain::showAsLeft() {
    const QSettings settings;
    const QByteArray saved = settings.value(kGeometryKey).toByteArray();
    if (!saved.isEmpty() && onAScreen(settings.value(kRectKey).toRect()) && restoreGeometry(saved)) {
        show();
        return;
    }
    // The available area as well: without a window manager nobody acts on
    // the request to maximize.
    if (const QScreen* sc = screen())
        setGeometry(sc->availableGeometry());
    showMaximized();
}

void frmMain::saveWindowGeometry() {
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kRectKey, isMaximized() || isFullScreen() ? normalGeometry() : frameGeometry());
}

void frmMain::addChild(QWidget* w, QSize wanted) {
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(w);
    // The size the user last gave this screen, else the one it asks for.
    const QString key = "child/" + w->objectName() + "/size";
    const QSize kept = QSettings().value(key).toSize();
    if (!w->objectName().isEmpty() && kept.isValid())
        wanted = kept;
    if (wanted.isValid())
        sub->resize(wanted.boundedTo(mdi_->viewport()->size()));
    sub->installEventFilter(this);
    sub->show();
    keepInside(sub);
}

void frmMain::keepInside(QMdiSubWindow* sub) {
    if (sub->isMaximized() || sub->isMinimized())
        return;
    const QSize area = mdi_->viewport()->size();
    // A screen's layout may refuse to get as small as the area; it then
    // starts at the top left corner and shows its beginning.
    if (sub->width() > area.width() || sub->height() > area.height())
        sub->resize(sub->size().boundedTo(area));
    const QPoint p(std::clamp(sub->x(), 0, std::max(0, area.width() - sub->width())),
                   std::clamp(sub->y(), 0, std::max(0, area.height() - sub->height())));
    if (p != sub->pos())
        sub->move(p);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdi_->viewport() && event->type() == QEvent::Resize)
        for (QMdiSubWindow* sub : mdi_->subWindowList())
            keepInside(sub);
    // A child screen's size is kept for its next opening, unless it was
    // maximized or minimized.
    if (event->type() == QEvent::Close)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched);
            sub && sub->widget() && !sub->widget()->objectName().isEmpty() && !sub->isMaximized() &&
            !sub->isMinimized())
            QSettings().setValue("child/" + sub->widget()->objectName() + "/size", sub->size());
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::raiseChild(QWidget* w) {
    if (!w)
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        mdi_->setActiveSubWindow(sub);
    return true;
}

gzgl::Progress* frmMain::mainProgress() {
    if (!progress_)
        progress_ = std::make_unique<MainProgress>(this);
    return progress_.get();
}

bool frmMain::closeTaskWindows() {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        QWidget* w = sub->widget();
        // The navigation picture and the About box belong to no task.
        if (qobject_cast<FrmDH*>(w) || qobject_cast<frmAbout*>(w))
            continue;
        if (!sub->close())
            return false;
    }
    return true;
}

bool frmMain::ensureLoggedIn() {
    if (!s_.loggedIn()) {
        frmLogin(s_, p_, this).exec();
        refreshShell();
    }
    return s_.loggedIn();
}

void frmMain::openRoster() {
    if (raiseChild(manage_))
        return;
    manage_ = new frmManage(s_, p_);
    // The toolbar button stays disabled while the roster is open.
    connect(manage_, &frmManage::moduleClosed, this,
            [this] { QTimer::singleShot(0, this, &frmMain::refreshShell); });
    connect(manage_, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &frmMain::refreshShell); });
    addChild(manage_, {980, 560});
}

void frmMain::openTransfer() {
    if (raiseChild(trans_))
        return;
    trans_ = new frmTrans(s_, p_, mainProgress());
    addChild(trans_, {900, 520});
}

void frmMain::openBatch() {
    frmGroup group(s_, p_, mainProgress(), this);
    group.exec();
}

void frmMain::openSalary() {
    if (raiseChild(salary_))
        return;
    salary_ = new frmSalary(s_, p_, mainProgress());
    addChild(salary_, {980, 560});
}

QTableView* frmMain::activeGrid() const {
    if (s_.activeGridScreen == 3 && manage_)
        return manage_->grid();
    if (s_.activeGridScreen == 1 && salary_)
        return salary_->grid();
    if (s_.activeGridScreen == frmQuery::kScreenId)
        if (frmQuery* query = frmQuery::openIn(mdi_))
            return query->grid();
    return nullptr;
}

void frmMain::closeMonth() {
    // The open windows show the month that is about to be closed.
    if (!closeTaskWindows())
        return;
    frmBalance balance(s_, p_, mainProgress(), this);
    if (!balance.opened())
        return;
    connect(&balance, &frmBalance::periodChanged, this, &frmMain::refreshShell);
    balance.exec();
}

void frmMain::restorePeriod() {
    // The open windows show a month that a restore may drop.
    if (!closeTaskWindows())
        return;
    frmReNew renew(s_, p_, this);
    connect(&renew, &frmReNew::periodChanged, this, &frmMain::refreshShell);
    renew.exec();
}

void frmMain::backUpOrRestore(bool restore) {
    // The task closes when the work is done; a restore also replaces the
    // month the open windows show.
    if (!closeTaskWindows())
        return;
    bool closed = false;
    if (restore) {
        frmRecove screen(s_, p_, *mainProgress(), this);
        screen.exec();
        closed = screen.loginAgain();
    } else {
        frmBackUp screen(s_, p_, *mainProgress(), this);
        screen.exec();
        closed = screen.loginAgain();
    }
    if (!closed)
        return;
    // The operator logs in again, through the task choice.
    refreshShell();
    s_.openWithoutLogin = false;
    showTaskChoice();
}

void frmMain::fitColumns() {
    QTableView* grid = activeGrid();
    if (!grid || !grid->model())
        return;
    gridwidths::fitColumns(grid);
}

void frmMain::showNavigation() {
    auto* nav = new FrmDH;
    nav_ = nav;
    connect(nav, &FrmDH::codeClicked, this, &frmMain::runNavigationCode);
    addChild(nav, {900, 470});
    refreshShell();
}

void frmMain::runNavigationCode(const QString& code) {
    if (auto c = gzgl::navigationCommand(ss(code)))
        runCommand(*c);
}

void frmMain::showTaskChoice() {
    if (!closeTaskWindows())
        return;
    frmOpen open(s_, p_, this);
    open.exec();
    refreshShell();
    if (open.next() == gzgl::ChoiceNext::Login) {
        frmLogin login(s_, p_, this);
        login.exec();
    }
    refreshShell();
}

void frmMain::newTask() {
    if (!closeTaskWindows())
        return;
    frmLink link(s_, p_, gzgl::kLinkNewTask, this);
    if (link.exec() == QDialog::Accepted) {
        frmAdd add(s_, p_, this);
        add.exec();
    }
    refreshShell();
}

void frmMain::runCommand(Command c) {
    // The navigation picture and the toolbar obey the menu's enablement: a
    // disabled entry cannot be reached another way.
    if (!gzgl::commandAllowed(s_.shell.mode, c))
        return;
    const gzgl::TaskNeed need = gzgl::taskNeed(c);
    bool choseNow = false;
    if (need != gzgl::TaskNeed::None && !s_.taskOpen()) {
        s_.openWithoutLogin = need == gzgl::TaskNeed::WithoutLogin;
        if (c == Command::SalarysDelete)
            s_.autoLogin = false;
        showTaskChoice();
        choseNow = true;
        // These commands end with the task choice and are given again.
        if (need == gzgl::TaskNeed::Modeless || !s_.taskOpen())
            return;
    }
    // A task chosen but not logged in opens none of its screens. A login
    // cancelled just now ends the command; otherwise the login comes first.
    if (!gzgl::screenMayOpen(s_, c) && (choseNow || !ensureLoggedIn()))
        return;
    openScreen(c);
    refreshShell();
}

void frmMain::openScreen(Command c) {
    switch (c) {
    case Command::SalarysOpen:
        s_.openWithoutLogin = false;
        showTaskChoice();
        break;
    case Command::SalarysClose:
        // The task's screens go first; one that is kept open keeps the task.
        if (closeTaskWindows())
            gzgl::closeTask(s_);
        break;
    case Command::SalarysAdd:
        newTask();
        break;
    case Command::SalarysDelete:
        if (closeTaskWindows())
            gzgl::deleteCurrentTask(s_, p_).show(p_);
        break;
    case Command::SalarysChange:
        frmAmend(s_, p_, this).exec();
        break;
    case Command::SystemConnect:
        // An open transfer screen holds the set the task is linked to now.
        if (frmTransfer* open = frmTransfer::openIn(mdi_); open && !open->close())
            break;
        frmLink(s_, p_, gzgl::kLinkChangePath, this).exec();
        break;
    case Command::SystemSysSet:
        frmSysSet(s_, p_, this).exec();
        break;
    case Command::SystemWord:
        frmChangeKL(s_, p_, this).exec();
        break;
    case Command::BaseInfoSubject:
        addChild(new frmOption(s_, p_));
        break;
    case Command::BaseInfoDep:
        addChild(new frmDepKind(s_, p_));
        break;
    case Command::BaseInfoEmpKind:
        addChild(new frmEmpKind(s_, p_));
        break;
    case Command::BaseInfoEmp:
        openRoster();
        break;
    case Command::BaseInfoTrans:
        openTransfer();
        break;
    case Command::SalaryCurMonth:
        openSalary();
        break;
    case Command::SalaryUpdate:
        openBatch();
        break;
    case Command::SalaryBank:
        frmBP(s_, p_, mainProgress(), this).exec();
        break;
    case Command::SalaryDivide:
        addChild(new frmDivide(s_, p_, mainProgress()), {980, 560});
        break;
    case Command::SalaryPrint:
        frmReport(s_, p_, mainProgress(), this).exec();
        break;
    case Command::SalaryTransfer:
        // The linked set is opened before the screen, which then owns it.
        if (!raiseChild(frmTransfer::openIn(mdi_)))
            if (auto store = frmTransfer::connectLinkedSet(s_, p_, this))
                addChild(new frmTransfer(s_, p_, mainProgress(), std::move(store)), {980, 560});
        break;
    case Command::SalaryQuery: {
        // The conditions first; one result window shows every query.
        frmQuerySet set(s_, p_, mainProgress(), this);
        if (set.exec() != QDialog::Accepted)
            break;
        frmQuery* query = frmQuery::openIn(mdi_);
        if (!raiseChild(query)) {
            query = new frmQuery(s_, p_, mainProgress());
            addChild(query, {980, 560});
        }
        query->showResult(set.request(), set.queryResult());
        break;
    }
    case Command::SystemBalance:
        closeMonth();
        break;
    case Command::SystemCondition:
        restorePeriod();
        break;
    case Command::SystemClear:
        frmClear(s_, p_, this).exec();
        break;
    case Command::SystemBackup:
        backUpOrRestore(false);
        break;
    case Command::SystemRecove:
        backUpOrRestore(true);
        break;
    case Command::SystemBackAll:
        frmBackAll(s_, p_, *mainProgress(), this).exec();
        break;
    case Command::SalarysTaskOut:
        frmPath(s_, p_, *mainProgress(), gzgl::period::kPathTaskExport, this).exec();
        break;
    case Command::SalarysTaskIn:
        frmimporttask(s_, p_, *mainProgress(), this).exec();
        break;
    case Command::DataInterfaceIn:
        if (!raiseChild(mdi_ ? mdi_->findChild<frmDataInterfaceIn*>() : nullptr))
            addChild(new frmDataInterfaceIn(s_, p_, mainProgress()), {760, 480});
        break;
    case Command::AdjustColumns:
        fitColumns();
        break;
    case Command::HelpAbout:
        addChild(new frmAbout(s_));
        break;
    case Command::HelpOnline:
        openGuide();
        break;
    case Command::SalarysExit:
        quitProgram(0);
        break;
    case Command::ExitPrompt:
        if (askExit(gzgl::kExitQuestion))
            quitProgram(0);
        break;
    case Command::NavigationExit:
        if (askExit(gzgl::kNavigationExitQuestion))
            quitProgram(0);
        break;
    default:
        // The screens of the other commands come with their own modules.
        break;
    }
}

void frmMain::openGuide() {
    const QString index = userGuidePath();
    if (index.isEmpty()) {
        p_.message("找不到用户手册（docs/guide/index.html）。请重新安装本程序。", s_.productShortName,
                   gzgl::Icon::Exclamation);
        return;
    }
    // The system browser when one is set up; else the guide in a window here.
    if (qEnvironmentVariableIsEmpty("GZGL_HELP_INSIDE") && QDesktopServices::openUrl(QUrl::fromLocalFile(index)))
        return;
    if (!raiseChild(mdi_->findChild<frmHelp*>()))
        addChild(new frmHelp(index), {900, 600});
}

bool frmMain::askExit(const char* question) {
    return p_.askYesNo(question, s_.productShortName, gzgl::Icon::Question);
}

bool frmMain::quitProgram(int code) {
    if (!exiting_ && code == 0 && !closeTaskWindows())
        return false;
    if (!exiting_)
        saveWindowGeometry();
    exiting_ = true;
    QTimer::singleShot(0, qApp, [code] { QCoreApplication::exit(code); });
    return true;
}

void frmMain::closeEvent(QCloseEvent* e) {
    if (exiting_ || (askExit(gzgl::kExitQuestion) && quitProgram(0)))
        e->accept();
    else
        e->ignore();
}

void frmMain::startUp() {
    switch (gzgl::startRoutine(s_, p_)) {
    case gzgl::StartNext::Quit:
        quitProgram(1);
        return;
    case gzgl::StartNext::NewTask:
        newTask();
        break;
    case gzgl::StartNext::TaskChoice:
        showTaskChoice();
        break;
    case gzgl::StartNext::Login: {
        refreshShell();
        frmLogin login(s_, p_, this);
        login.exec();
        break;
    }
    case gzgl::StartNext::Ready:
        break;
    }
    refreshShell();
}
