// Screens a clerk can read: grid columns wide enough for what they draw,
// widths set by hand kept, child windows inside the main window's area at
// common screen sizes, the main window's place kept, and Qt's standard
// buttons in Chinese.
#include "core/commands.h"
#include "screens/base/BaseWidgets.h"
#include "screens/base/frmManage.h"
#include "screens/monthly/EntryGridModel.h"
#include "screens/monthly/frmSalary.h"
#include "screens/session/ScreenSupport.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QtTest>

#include <cstdio>
#include <memory>

using namespace gzgl;

namespace {

// 200 employees of department 01 with long names and amounts in the tens of
// millions, so that the items' own width (F_Width 15) is too narrow.
struct BigMonth {
    test::PayrollTask t;
    BigMonth() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('01','办公室','',1,1)");
        t.item("F004", "岗位津贴");
        t.item("F005", "住房公积金个人缴纳部分");
        t.formula("F000", "F003+F004-F005");
        Transaction tx(t.s.taskConn);
        for (int e = 0; e < 200; ++e) {
            char no[8];
            std::snprintf(no, sizeof no, "%04d", e);
            t.employee(no, e % 50 == 0 ? "欧阳司马诸葛长孙上官" : "职工" + std::to_string(e), "01", e);
            t.value(no, "F003", 52234567.89 - e);
            t.value(no, "F004", e % 10 * 1111.11);
            t.value(no, "F005", 123.4);
        }
        tx.commit();
    }
};

int cellChrome(const QTableView* v) {
    return 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1) +
           (v->showGrid() ? 1 : 0);
}

// Every shown column holds its caption and, drawn in the view's font, its
// widest cell; Qt's own measure of the column is the second opinion.
void verifyNothingElided(const QTableView* v) {
    const QFontMetrics fm(v->font());
    const QAbstractItemModel* m = v->model();
    for (int c = 0; c < m->columnCount(); ++c) {
        if (v->isColumnHidden(c))
            continue;
        int widest = 0;
        QString widestText;
        for (int r = 0; r < m->rowCount(); ++r) {
            const QString text = m->index(r, c).data().toString();
            if (fm.horizontalAdvance(text) > widest) {
                widest = fm.horizontalAdvance(text);
                widestText = text;
            }
        }
        const QString where = QStringLiteral("column %1 (%2), widest %3")
                                  .arg(c)
                                  .arg(m->headerData(c, Qt::Horizontal).toString(), widestText);
        QVERIFY2(v->columnWidth(c) >= widest + cellChrome(v), qPrintable(where));
        // The view's own measure, reached through the public base class.
        const int qtHint = static_cast<const QAbstractItemView*>(v)->sizeHintForColumn(c);
        QVERIFY2(v->columnWidth(c) >= qtHint, qPrintable(where));
        QVERIFY2(v->columnWidth(c) >= v->horizontalHeader()->sectionSizeHint(c), qPrintable(where));
    }
}

// The subwindow's whole frame lies in the MDI area's viewport.
void verifyInside(QMdiArea* mdi) {
    const QRect area = mdi->viewport()->rect();
    for (QMdiSubWindow* sub : mdi->subWindowList()) {
        const QString what = sub->widget()->objectName() + " " +
                             QString("%1,%2 %3x%4 in %5x%6")
                                 .arg(sub->x())
                                 .arg(sub->y())
                                 .arg(sub->width())
                                 .arg(sub->height())
                                 .arg(area.width())
                                 .arg(area.height());
        QVERIFY2(area.contains(sub->geometry()), qPrintable(what));
    }
}

} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_screen_fit");
    }
    void init() { QSettings().clear(); }

    // --- grids ---

    void entryGridShowsEveryFigureWhole() {
        BigMonth m;
        frmSalary f(m.t.s, m.t.prompt);
        f.resize(980, 560);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        verifyNothingElided(f.grid());
        // The amounts outgrow the item's own width: the fit did widen it.
        const int c = f.entry().grid().columnOf("F003");
        QVERIFY(f.grid()->columnWidth(c) > f.entry().columnTwips(c) * f.logicalDpiX() / 1440);
    }

    void rosterShowsEveryTextWhole() {
        BigMonth m;
        m.t.s.taskConn.execute("Update " + m.t.table("Employee") +
                               " Set F_CID='110101199003074578',F_AccNo='6222020200112233445566'");
        frmManage f(m.t.s, m.t.prompt);
        f.resize(980, 560);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(f.rows()->rowCount() > 0);
        verifyNothingElided(f.grid());
    }

    void handSetWidthSurvivesReopening() {
        BigMonth m;
        const int c = [&] {
            frmSalary f(m.t.s, m.t.prompt);
            f.show();
            const int col = f.entry().grid().columnOf("F004");
            // As a drag on the header's edge does it.
            f.grid()->horizontalHeader()->resizeSection(col, 200);
            return col;
        }();
        frmSalary again(m.t.s, m.t.prompt);
        again.show();
        QCOMPARE(again.grid()->columnWidth(c), 200);
        // Kept by item code: another item's column keeps its own fit.
        const int other = again.entry().grid().columnOf("F005");
        QVERIFY(again.grid()->columnWidth(other) != 200);
    }

    void fitButtonFitsTheDrawnTextAndForgetsHandWidths() {
        BigMonth m;
        frmMain w(m.t.s, m.t.prompt);
        w.resize(1366, 768);
        w.show();
        w.runCommand(Command::SalaryCurMonth);
        auto* f = w.mdiArea()->findChild<frmSalary*>();
        QVERIFY(f);
        QTableView* grid = f->grid();
        const int c = f->entry().grid().columnOf("F003");
        grid->horizontalHeader()->resizeSection(c, 20);
        grid->horizontalHeader()->resizeSection(f->entry().grid().columnOf("F002"), 400);
        w.action("tlb_adjust")->trigger();
        verifyNothingElided(grid);
        // Fitted means no wider than the widest drawn text needs.
        QVERIFY(grid->columnWidth(f->entry().grid().columnOf("F002")) < 400);
        const int fitted = grid->columnWidth(c);

        // The next opening fits again instead of bringing back the 20.
        m.t.prompt.answers.push_back(true);
        QVERIFY(f->parentWidget()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.runCommand(Command::SalaryCurMonth);
        f = w.mdiArea()->findChild<frmSalary*>();
        QCOMPARE(f->grid()->columnWidth(c), fitted);
    }

    // --- windows ---

    void childWindowsOpenInsideTheArea_data() {
        QTest::addColumn<QSize>("window");
        QTest::newRow("1366x768") << QSize(1366, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("1024x600") << QSize(1024, 600);
    }
    void childWindowsOpenInsideTheArea() {
        QFETCH(QSize, window);
        BigMonth m;
        frmMain w(m.t.s, m.t.prompt);
        w.resize(window);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showNavigation();
        for (Command c :
             {Command::BaseInfoEmp, Command::SalaryCurMonth, Command::BaseInfoTrans, Command::BaseInfoSubject,
              Command::BaseInfoDep, Command::BaseInfoEmpKind, Command::HelpAbout})
            w.runCommand(c);
        QCOMPARE(w.mdiArea()->subWindowList().size(), 8);
        verifyInside(w.mdiArea());
        // Made smaller later, the frame pulls its windows in.
        w.resize(window * 3 / 4);
        QCoreApplication::processEvents();
        verifyInside(w.mdiArea());
    }

    void mainWindowOpensMaximizedFirstAndThenAsLeft() {
        test::PayrollTask t;
        {
            frmMain w(t.s, t.prompt);
            w.showAsLeft();
            QVERIFY(w.isMaximized());
            w.showNormal();
            w.setGeometry(40, 50, 700, 500);
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.saveWindowGeometry();
        }
        frmMain w(t.s, t.prompt);
        w.showAsLeft();
        QVERIFY(!w.isMaximized());
        QCOMPARE(w.size(), QSize(700, 500));
    }

    void placeOnNoScreenIsIgnored() {
        test::PayrollTask t;
        {
            frmMain w(t.s, t.prompt);
            w.showNormal();
            w.setGeometry(40, 50, 700, 500);
            w.saveWindowGeometry();
        }
        // As if the screen it was left on were gone.
        QSettings().setValue("MainWindow/rect", QRect(5000, 4000, 700, 500));
        frmMain w(t.s, t.prompt);
        w.showAsLeft();
        QVERIFY(w.isMaximized());
    }

    // --- words ---

    void standardButtonsReadChinese() {
        QVERIFY(installQtChineseTranslations());
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No);
        QVERIFY(box.button(QDialogButtonBox::Ok)->text().contains(QStringLiteral("确定")));
        QVERIFY(box.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("取消")));
        QVERIFY(box.button(QDialogButtonBox::Yes)->text().contains(QStringLiteral("是")));
        QVERIFY(box.button(QDialogButtonBox::No)->text().contains(QStringLiteral("否")));
    }
};

QTEST_MAIN(TestScreenFit)
#include "test_screen_fit.moc"
