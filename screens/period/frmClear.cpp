#include "screens/period/frmClear.h"

#include "core/connection.h"
#include "period/clear.h"
#include "screens/period/YearMonthRow.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmClear::frmClear(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmClear");
    setWindowTitle(QStringLiteral("数据清理"));

    auto* notice = new QLabel(QString::fromUtf8(gzgl::period::kClearNotice), this);
    notice->setObjectName("lblNotice");
    notice->setWordWrap(true);
    // Wide enough for the notice to wrap into a few readable lines.
    notice->setMinimumWidth(notice->fontMetrics().horizontalAdvance(QString(24, QChar(0x6570))));

    const YearMonthRow ym = yearMonthRow(this, QStringLiteral("清     除："), QStringLiteral("的记录"));
    txtYear = ym.year;
    txtMonth = ym.month;
    QHBoxLayout* row = ym.row;

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice);
    layout->addSpacing(8);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* keys = new EnterKeys(this);
    keys->moveTo(txtYear, txtMonth);
    keys->moveTo(txtMonth, cmdOk);
    connect(cmdOk, &QPushButton::clicked, this, &frmClear::confirm);
    fill();
}

void frmClear::fill() {
    gzgl::period::ClearStart start;
    try {
        start = gzgl::period::openClear(s_);
    } catch (const gzgl::DbError& e) {
        cmdOk->setEnabled(false);
        p_.message(e.what(), s_.productShortName, gzgl::Icon::Critical);
        return;
    }
    txtYear->setText(qs(start.year));
    txtMonth->setText(qs(start.month));
    cmdOk->setEnabled(start.any);
    if (!start.any)
        p_.message("没有可以清理的数据！", s_.productShortName, gzgl::Icon::Information);
}

void frmClear::confirm() {
    gzgl::Outcome o;
    {
        WaitCursor wait;
        o = gzgl::period::clearPeriod(s_, ss(txtYear->text()), ss(txtMonth->text()));
    }
    applyOutcome(this, p_, o);
    if (o.ok)
        fill();
}
