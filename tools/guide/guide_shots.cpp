// gzgl-guide-shots OUT_DIR: the pictures of the user guide, taken from the
// real program. It lays out the demo data home in a temporary folder, logs
// in, gives every menu command through the main window (1366×768) and saves
// what opens: a dialog as itself, a child window as the whole main window.
// Run it offscreen (QT_QPA_PLATFORM=offscreen) or under Xvfb, by
// tools/guide/make_shots.sh, whenever a screen changes.
#include "core/commands.h"
#include "core/login.h"
#include "core/paths.h"
#include "core/startup.h"
#include "demo/demo.h"
#include "screens/session/ScreenSupport.h"
#include "screens/session/frmMain.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <iostream>

namespace {

// Answers Yes only while the windows are being closed between pictures;
// every other question is declined, so that nothing is changed.
struct ShotPrompt : gzgl::Prompt {
    bool closing = false;
    void message(const std::string&, const std::string&, gzgl::Icon) override {}
    bool askYesNo(const std::string&, const std::string&, gzgl::Icon) override { return closing; }
};

// Saves every modal dialog that opens while it lives, then rejects it.
struct DialogShots {
    QString folder;
    QString name;
    int taken = 0;
    QTimer timer;
    explicit DialogShots(const QString& out) : folder(out) {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || d->property("shot").toBool())
                return;
            d->setProperty("shot", true);
            QApplication::processEvents();
            const QString file = folder + "/" + name + (taken ? QString("_%1").arg(taken) : QString()) + ".png";
            if (d->grab().save(file))
                std::cout << file.toStdString() << "\n";
            ++taken;
            d->reject();
        });
        timer.start();
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installQtChineseTranslations();
    chooseChineseFont();
    if (argc < 2) {
        std::cerr << "usage: gzgl-guide-shots OUT_DIR\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir temp;
    const std::string home = temp.path().toStdString() + "/demo";
    gzgl::SilentProgress quiet;
    const gzgl::Outcome demo = gzgl::demo::layOutDemoHome(home, 2026, 12, quiet);
    if (!demo.ok) {
        std::cerr << demo.message << "\n";
        return 1;
    }
    gzgl::Session s;
    gzgl::initSession(s, home);
    ShotPrompt prompt;
    if (!gzgl::openSystemDatabase(s, prompt) ||
        !gzgl::loginByName(s, prompt, gzgl::demo::kTaskName, gzgl::demo::kOperator, gzgl::demo::kPassword)) {
        std::cerr << "cannot log in to the demo task\n";
        return 1;
    }
    frmMain main(s, prompt);
    main.resize(1366, 768);
    main.show();
    main.showNavigation();
    QApplication::processEvents();
    if (main.grab().save(out + "/main.png"))
        std::cout << (out + "/main.png").toStdString() << "\n";

    using C = gzgl::Command;
    // Commands that would end the session or change the demo are left out.
    const C skipped[] = {C::None, C::SalarysExit, C::SalarysClose, C::SalarysDelete, C::SalarysOpen,
                         C::HelpOnline, C::ExitPrompt, C::NavigationExit, C::AdjustColumns};
    for (const gzgl::Menu& m : gzgl::menuTree())
        for (const gzgl::MenuEntry& e : m.entries) {
            if (std::find(std::begin(skipped), std::end(skipped), e.command) != std::end(skipped))
                continue;
            DialogShots dialogs(out);
            dialogs.name = QString::fromStdString(e.name);
            const qsizetype before = main.mdiArea()->subWindowList().size();
            main.runCommand(e.command);
            QApplication::processEvents();
            // A child window that opened: the whole main window with it.
            if (main.mdiArea()->subWindowList().size() > before) {
                main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().last());
                QApplication::processEvents();
                const QString file = out + "/" + QString::fromStdString(e.name) + ".png";
                if (main.grab().save(file))
                    std::cout << file.toStdString() << "\n";
            }
            // The navigation window stays; every other child goes.
            prompt.closing = true;
            for (QMdiSubWindow* sub : main.mdiArea()->subWindowList())
                if (sub->widget() && sub->widget()->objectName() != "FrmDH")
                    sub->close();
            prompt.closing = false;
            QApplication::processEvents();
        }
    return 0;
}
