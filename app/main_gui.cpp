// gzgl: the desktop program.
#include "core/paths.h"
#include "core/startup.h"
#include "screens/session/QtPrompt.h"
#include "screens/session/ScreenSupport.h"
#include "screens/session/frmMain.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <exception>

namespace {

// A database failure while reading (a locked or damaged file) must not end
// the program with unsaved screens open: any exception that escapes a
// screen's slot is shown and the event is dropped. Writes report their own
// failures and roll back before they get here.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(activeWindow(), QStringLiteral("工资管理"),
                                  QStringLiteral("操作失败：\n") + QString::fromUtf8(e.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    app.setApplicationName("gzgl");
    app.setOrganizationName("gzgl");
    installQtChineseTranslations();

    // Arguments: --home DIR, and the accounting software's "operator_task".
    std::string home;
    std::string commandLine;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--home" && i + 1 < args.size())
            home = args[++i].toStdString();
        else if (a.startsWith("--home="))
            home = a.mid(7).toStdString();
        else if (!a.startsWith("-"))
            commandLine = a.toStdString();
    }

    if (!chooseChineseFont())
        // Said in both languages: without the font the Chinese shows as boxes.
        QMessageBox::warning(nullptr, QStringLiteral("工资管理"),
                             QStringLiteral("没有找到能显示中文的字体，界面上的中文可能显示为方框。\n"
                                            "请安装中文字体（例如 sudo apt install fonts-noto-cjk）。\n\n"
                                            "No font for Chinese was found: please install fonts-noto-cjk."));

    gzgl::Session session;
    gzgl::initSession(session, gzgl::resolveDataHome(home), commandLine);
    QtPrompt prompt;
    frmMain window(session, prompt);
    prompt.setParent(&window);
    window.showAsLeft();
    window.showNavigation();
    QTimer::singleShot(0, &window, [&window] { window.startUp(); });
    return app.exec();
}
