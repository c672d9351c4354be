#include "screens/monthly/frmTrace.h"

#include "print/gridprint.h"
#include "print/render/render.h"
#include "screens/session/ScreenSupport.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

frmTrace::frmTrace(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName("frmTrace");
    setWindowTitle(QStringLiteral("计算过程"));
    txtTrace = new QPlainTextEdit(this);
    txtTrace->setObjectName("txtTrace");
    txtTrace->setReadOnly(true);
    txtTrace->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtTrace->setPlainText(text);
    QPushButton* cmdCopy = namedButton(this, "cmdCopy", QStringLiteral("复制(&C)"));
    QPushButton* cmdPrint = namedButton(this, "cmdPrint", QStringLiteral("打印(&P)"));
    QPushButton* cmdClose = namedButton(this, "cmdClose", QStringLiteral("关闭(&X)"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdCopy, cmdPrint, cmdClose})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtTrace, 1);
    layout->addLayout(buttons);
    connect(cmdCopy, &QPushButton::clicked, this, &frmTrace::copyAll);
    connect(cmdPrint, &QPushButton::clicked, this, &frmTrace::printTrace);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    resize(760, 560);
}

void frmTrace::copyAll() { QGuiApplication::clipboard()->setText(txtTrace->toPlainText()); }

void frmTrace::printTrace() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextDocument doc;
    QFont font = gzgl::print::fontFromSpec(gzgl::print::kTextFont);
    font.setPointSizeF(10);
    doc.setDefaultFont(font);
    doc.setPlainText(txtTrace->toPlainText());
    doc.print(&printer);
}
