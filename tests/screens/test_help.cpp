// "在线帮助": the user guide found and shown in the program's own window
// when asked to, every menu entry described in it, and every picture it
// shows present.
#include "core/commands.h"
#include "screens/session/frmHelp.h"
#include "screens/session/frmMain.h"

#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void theGuideOpensInsideAndDescribesEveryMenuEntry() {
        qputenv("GZGL_HELP_INSIDE", "1");
        test::PayrollTask t;
        frmMain main(t.s, t.prompt);
        main.show();
        main.runCommand(Command::HelpOnline);
        QVERIFY2(t.prompt.messages.empty(), t.prompt.last().c_str());
        const QList<frmHelp*> windows = main.findChildren<frmHelp*>();
        QCOMPARE(windows.size(), 1);
        const QString text = child<QTextBrowser>(windows[0], "txtGuide")->toPlainText();
        for (const Menu& m : menuTree())
            for (const MenuEntry& e : m.entries)
                if (e.command != Command::None) {
                    const QString caption = QString::fromStdString(e.caption).remove(QRegularExpression("\\(&.\\)"));
                    QVERIFY2(text.contains(caption), qPrintable(caption));
                }
        // A second request raises the same window.
        main.runCommand(Command::HelpOnline);
        QCOMPARE(main.findChildren<frmHelp*>().size(), 1);
    }

    void everyPictureOfTheGuideIsThere() {
        const QString index = userGuidePath();
        QVERIFY(!index.isEmpty());
        QFile f(index);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        const QRegularExpression img("<img src=\"([^\"]+)\"");
        int pictures = 0;
        for (auto it = img.globalMatch(html); it.hasNext(); ++pictures) {
            const QString src = it.next().captured(1);
            QVERIFY2(QFileInfo(QFileInfo(index).dir().filePath(src)).isFile(), qPrintable(src));
        }
        QVERIFY(pictures >= 15);
    }

    void aWrongGuideVariableFallsBackToTheShippedCopy() {
        qputenv("GZGL_GUIDE", "/nonexistent/index.html");
        QVERIFY(!userGuidePath().isEmpty()); // the copy in the source tree is still found
        qunsetenv("GZGL_GUIDE");
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
