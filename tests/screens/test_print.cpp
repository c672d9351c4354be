// The print engine's Qt side: a job drawn into a PDF whose pages and texts
// poppler reads back, the page setup storing the form's project and the
// pages laid out again with it, its refusal of margins that leave no
// room, the preview's page-setup command, and printing without a printer
// going to a PDF file.
#include "monthly/workgrid_load.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"
#include "screens/print/PrintDialogs.h"
#include "screens/print/frmPrintSetup.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace gzgl;
using namespace gzgl::print;
using gzgl::test::child;

namespace {

// Text of a PDF as poppler reads it, NFKC-folded (full-width colon and
// slash become ASCII, Kangxi radicals their characters) and with the
// radical-supplement forms poppler gives for some glyphs mapped back.
QString pdfText(const QString& path, int page = 0) {
    QProcess p;
    QStringList args{"-layout", path, "-"};
    if (page > 0)
        args = QStringList{"-f", QString::number(page), "-l", QString::number(page)} + args;
    p.start("pdftotext", args);
    p.waitForFinished(30000);
    QString t = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    t.replace(QChar(0x2ED4), QStringLiteral("门")).replace(QChar(0x2EDA), QStringLiteral("页"));
    return t.replace(QChar(0x2215), '/');
}

int pdfPages(const QString& path) {
    QProcess p;
    p.start("pdfinfo", {path});
    p.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// Runs action on the first visible top-level widget of type T once the
// event loop (of a modal dialog) turns, retrying until it is there.
template <class T> void whenShown(std::function<void(T*)> action, int tries = 100) {
    QTimer::singleShot(50, [action, tries] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
                action(t);
                return;
            }
        if (tries > 0)
            whenShown<T>(action, tries - 1);
    });
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PayrollTask> t;
    Session& s() { return t->s; }

    // The entry grid's job over n employees of department 01.
    clsGridPrint entryJob(int n) {
        for (int i = 1; i <= n; ++i) {
            const std::string no = QString("%1").arg(i, 4, 10, QChar('0')).toStdString();
            t->employee(no, "职工" + std::to_string(i), "01", i);
            t->value(no, "F010", 1000.0 + i);
        }
        const monthly::LoadedGrid g = monthly::loadWorkGrid(s(), {}, true);
        return entryGridJob(s(), g.grid, g.columns, "办公室");
    }
    long storedRows(long form) {
        return loadDefaultProject(s().taskConn, PrintTables::forPrefix(s().taskPrefix()), form)->rows;
    }

private slots:
    void init() {
        t = std::make_unique<test::PayrollTask>();
        t->item("F010", "基本工资");
    }
    void cleanup() { t.reset(); }

    void entryGridToPdf() {
        clsGridPrint job = entryJob(120);
        const PageModel m = job.paginate();
        QVERIFY(m.pageCount() >= 3);
        const QString path = QString::fromStdString(t->home.path) + "/entry.pdf";
        std::string error;
        QVERIFY2(renderPdf(m, path.toStdString(), &error), error.c_str());
        QCOMPARE(pdfPages(path), m.pageCount());
        const QString text = pdfText(path);
        for (const QString& want : {QStringLiteral("工资录入"), QStringLiteral("部门:办公室"),
                                    QString("第1/%1页").arg(m.pageCount()), QStringLiteral("基本工资"),
                                    QStringLiteral("职工120"), QStringLiteral("1120.00"),
                                    QStringLiteral("日期:2006年02月"), QStringLiteral("制表:管理员")})
            QVERIFY2(text.contains(want), qPrintable(want));
    }

    // Long account and identity numbers and large amounts in columns of the
    // default 15 mm come out whole, with and without thousands separators,
    // and number and name stand on every horizontal page.
    void longFiguresPrintWhole() {
        t->item("FFFG", "身份证号", "文字", 0, false);
        t->item("FFFH", "银行账号", "文字", 0, false);
        t->item("F011", "奖金");
        for (int i = 12; i < 24; ++i)
            t->item("F0" + std::to_string(i), "项目" + std::to_string(i));
        t->employee("0001", "欧阳娜娜", "01", 1);
        s().taskConn.execute("Update " + t->table("Employee") + " set F_AccNo=?,F_CID=? where F_EmpNo='0001'",
                             {"6222021234567890123", "11010519491231002X"});
        t->value("0001", "F010", 1234567890.12);
        t->value("0001", "F011", 52234567.89);
        const QString path = QString::fromStdString(t->home.path) + "/figures.pdf";
        const auto printed = [&] {
            const monthly::LoadedGrid g = monthly::loadWorkGrid(s(), {}, true);
            clsGridPrint job = entryGridJob(s(), g.grid, g.columns, "办公室");
            std::string error;
            if (!renderPdf(job, path.toStdString(), &error))
                qWarning("%s", error.c_str());
            return pdfText(path);
        };
        const QString plain = printed();
        for (const char* whole :
             {"6222021234567890123", "11010519491231002X", "1234567890.12", "52234567.89"})
            QVERIFY2(plain.contains(QString::fromUtf8(whole)), whole);
        const int pages = pdfPages(path);
        QVERIFY(pages >= 2);
        for (int page = 1; page <= pages; ++page) {
            const QString text = pdfText(path, page);
            for (const char* fixed : {"工号", "姓名", "0001", "欧阳娜娜"})
                QVERIFY2(text.contains(QString::fromUtf8(fixed)),
                         qPrintable(QString("page %1: %2").arg(page).arg(fixed)));
        }

        const PrintTables tables = PrintTables::forPrefix(s().taskPrefix());
        PrintProject p = *loadDefaultProject(s().taskConn, tables, kFormEntryGrid);
        p.thousand = true;
        saveProject(s().taskConn, tables, p);
        const QString separated = printed();
        for (const char* whole : {"6222021234567890123", "1,234,567,890.12", "52,234,567.89"})
            QVERIFY2(separated.contains(QString::fromUtf8(whole)), whole);
    }

    void pageSetupStoresTheProjectAndThePagesFollow() {
        clsGridPrint job = entryJob(30);
        const int before = job.paginate().pageCount();
        frmPrintSetup form(job);
        child<QSpinBox>(&form, "spnRows")->setValue(5);
        auto* heads = child<QTableWidget>(&form, "tblHeads");
        heads->item(0, 0)->setText(QStringLiteral("三月工资"));
        form.confirm();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(storedRows(kFormEntryGrid), 5L);
        const PageModel m = job.paginate();
        QCOMPARE(m.pageCount(), 6);
        QVERIFY(m.pageCount() != before);
        QVERIFY(m.pages[0].hasText("三月工资"));
        // Another job of the form prints with the same setup.
        const monthly::LoadedGrid g = monthly::loadWorkGrid(s(), {}, true);
        QCOMPARE(entryGridJob(s(), g.grid, g.columns, "办公室").paginate().pageCount(), 6);
    }

    void pageSetupRefusesMarginsWithoutRoom() {
        clsGridPrint job = entryJob(3);
        frmPrintSetup form(job);
        form.show();
        child<QSpinBox>(&form, "spnRows")->setValue(7);
        child<QDoubleSpinBox>(&form, "spnLeft")->setValue(100);
        child<QDoubleSpinBox>(&form, "spnRight")->setValue(100);
        // The refusal shows a message box; close it when it comes.
        QString shown;
        whenShown<QMessageBox>([&shown](QMessageBox* b) {
            shown = b->text();
            b->accept();
        });
        form.confirm();
        QCOMPARE(shown, QStringLiteral("页边距过大，纸上没有足够的打印区域！"));
        QVERIFY(form.isVisible());
        QCOMPARE(storedRows(kFormEntryGrid), 0L);
    }

    void previewOffersThePageSetup() {
        clsGridPrint job = entryJob(12);
        bool sawAction = false;
        whenShown<QPrintPreviewDialog>([&sawAction](QPrintPreviewDialog* d) {
            QAction* setup = d->findChild<QAction*>("actPageSetup");
            sawAction = setup != nullptr;
            if (qEnvironmentVariableIsSet("GZGL_SHOTS"))
                d->grab().save(qEnvironmentVariable("GZGL_SHOTS") + "/preview.png");
            whenShown<frmPrintSetup>([d](frmPrintSetup* f) {
                if (qEnvironmentVariableIsSet("GZGL_SHOTS"))
                    f->grab().save(qEnvironmentVariable("GZGL_SHOTS") + "/setup.png");
                f->findChild<QSpinBox*>("spnRows")->setValue(4);
                f->confirm();
                QTimer::singleShot(0, d, &QDialog::reject);
            });
            if (setup)
                setup->trigger();
            else
                d->reject();
        });
        Preview(job, nullptr);
        QVERIFY(sawAction);
        QCOMPARE(storedRows(kFormEntryGrid), 4L);
        QCOMPARE(job.paginate().pageCount(), 3);
    }

    void printWithoutPrinterGoesToPdf() {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here");
        clsGridPrint job = entryJob(4);
        const QString path = QString::fromStdString(t->home.path) + "/out.pdf";
        PrintOut(job, nullptr, t->prompt, [path] { return path; });
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(pdfPages(path), 1);
        QVERIFY(pdfText(path).contains(QStringLiteral("职工4")));
        QCOMPARE(QString::fromStdString(t->prompt.messages.front().text),
                 QStringLiteral("没有安装打印机，将打印到PDF文件。"));
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
