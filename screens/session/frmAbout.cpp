#include "screens/session/frmAbout.h"

#include "core/about.h"
#include "screens/session/ScreenSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(QWidget* owner, const char* name, const QString& text) {
    auto* l = new QLabel(text, owner);
    l->setObjectName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

frmAbout::frmAbout(gzgl::Session& s, QWidget* parent) : QWidget(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("关于工资系统"));
    const gzgl::AboutInfo a = gzgl::aboutInfo(s);
    auto* title = namedLabel(this, "lblTitle", qs(a.title));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    auto* text = new QLabel(QStringLiteral("管理工资任务、部门、职工、工资项目与公式，\n"
                                           "录入和计算当月工资，打印工资表，生成银行文件与会计凭证，\n"
                                           "并进行月末结转。"),
                            this);
    auto* info = namedButton(this, "cmdSysInfo", QStringLiteral("系统信息(&I)..."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(namedLabel(this, "lblVersion", QStringLiteral("版本 ") + qs(a.version)));
    layout->addWidget(text);
    layout->addSpacing(6);
    layout->addWidget(namedLabel(this, "lblQt", QStringLiteral("Qt 版本：") + QString::fromLatin1(qVersion())));
    layout->addWidget(namedLabel(this, "lblSqlite", QStringLiteral("SQLite 版本：") + qs(a.sqliteVersion)));
    layout->addWidget(namedLabel(this, "lblHome", QStringLiteral("数据目录：") + qs(a.dataHome)));
    layout->addWidget(namedLabel(this, "lblTasks", a.taskCount < 0
                                                       ? QStringLiteral("工资任务数：无法读取系统数据库")
                                                       : QStringLiteral("工资任务数：%1").arg(a.taskCount)));
    layout->addWidget(info, 0, Qt::AlignRight);
    connect(info, &QPushButton::clicked, this, [this] { frmSysInfo(this).exec(); });
}

QString frmSysInfo::report() {
    QString r;
    r += QStringLiteral("操作系统：%1\n内核：%2 %3\n处理器架构：%4\n")
             .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
                  QSysInfo::currentCpuArchitecture());
    r += QStringLiteral("Qt 版本：%1（图形平台 %2）\n")
             .arg(QString::fromLatin1(qVersion()), QGuiApplication::platformName());
    r += QStringLiteral("\n屏幕：\n");
    for (const QScreen* sc : QGuiApplication::screens())
        r += QStringLiteral("  %1：%2×%3 像素，%4 DPI，缩放 %5\n")
                 .arg(sc->name())
                 .arg(sc->geometry().width())
                 .arg(sc->geometry().height())
                 .arg(qRound(sc->logicalDotsPerInch()))
                 .arg(sc->devicePixelRatio());
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    r += QStringLiteral("\n能显示中文的字体（%1 种）：\n").arg(chinese.size());
    r += chinese.isEmpty() ? QStringLiteral("  没有找到！中文可能显示为方框，请安装中文字体（如 fonts-noto-cjk）。\n")
                           : "  " + chinese.join(QStringLiteral("、")) + "\n";
    r += QStringLiteral("当前界面字体：%1\n").arg(QApplication::font().family());
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    r += QStringLiteral("\n打印机（%1 台）：\n").arg(printers.size());
    r += printers.isEmpty() ? QStringLiteral("  没有找到打印机，仍可预览并输出 PDF 文件。\n")
                            : "  " + printers.join(QStringLiteral("、")) + QStringLiteral("\n  默认：") +
                                  QPrinterInfo::defaultPrinterName() + "\n";
    return r;
}

frmSysInfo::frmSysInfo(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSysInfo");
    setWindowTitle(QStringLiteral("系统信息"));
    auto* text = new QPlainTextEdit(report(), this);
    text->setObjectName("txtInfo");
    text->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* copy = buttons->addButton(QStringLiteral("复制(&C)"), QDialogButtonBox::ActionRole);
    copy->setObjectName("cmdCopy");
    connect(copy, &QPushButton::clicked, this, [text] { QApplication::clipboard()->setText(text->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    resize(text->fontMetrics().horizontalAdvance(QString(48, QChar(0x4E2D))), text->fontMetrics().lineSpacing() * 24);
}
