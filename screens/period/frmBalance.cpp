#include "screens/period/frmBalance.h"

#include "core/connection.h"
#include "period/balance.h"
#include "screens/period/YearMonthRow.h"
#include "screens/session/ScreenSupport.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmBalance::frmBalance(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmBalance");
    setWindowTitle(QStringLiteral("月末结转"));

    lblCurrent = new QLabel(QStringLiteral("当前月份：") + qs(s.shell.periodPanel), this);
    lblCurrent->setObjectName("lblCurrent");
    const YearMonthRow ym = yearMonthRow(this, QStringLiteral("结转至："));
    txtYear = ym.year;
    txtMonth = ym.month;
    QHBoxLayout* row = ym.row;

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdDo0 = button("cmdDo0", QStringLiteral("开始结转"));
    cmdDo1 = button("cmdDo1", QStringLiteral("停止"));
    cmdClose = button("cmdClose", QStringLiteral("关闭"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDo0);
    buttons->addWidget(cmdDo1);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCurrent);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* keys = new EnterKeys(this);
    keys->moveTo(txtYear, txtMonth);
    keys->moveTo(txtMonth, cmdDo0);
    connect(cmdDo0, &QPushButton::clicked, this, &frmBalance::start);
    // Only noted here: the close sees it the next time it asks.
    connect(cmdDo1, &QPushButton::clicked, this, [this] { stopPressed_ = true; });
    connect(cmdClose, &QPushButton::clicked, this, &frmBalance::reject);

    setRunning(false);
    try {
        const gzgl::period::BalanceStart proposal = gzgl::period::openBalance(s_);
        txtYear->setText(qs(proposal.year));
        txtMonth->setText(qs(proposal.month));
        opened_ = true;
    } catch (const gzgl::DbError& e) {
        p_.message(e.what(), s_.productShortName, gzgl::Icon::Critical);
        cmdDo0->setEnabled(false);
    }
}

void frmBalance::setRunning(bool running) {
    running_ = running;
    cmdDo0->setEnabled(!running);
    cmdDo1->setEnabled(running);
    cmdClose->setEnabled(!running);
    txtYear->setReadOnly(running);
    txtMonth->setReadOnly(running);
}

void frmBalance::start() {
    if (running_)
        return;
    stopPressed_ = false;
    setRunning(true);
    gzgl::SilentProgress silent;
    // The event loop runs while the close asks, so that the stop button can
    // be pressed; the dialog stays modal, so nothing else can start.
    const gzgl::Outcome o = gzgl::period::closeMonth(s_, ss(txtYear->text()), ss(txtMonth->text()),
                                                     progress_ ? *progress_ : silent, [this] {
                                                         QCoreApplication::processEvents();
                                                         return stopPressed_;
                                                     });
    setRunning(false);
    if (o.ok)
        emit periodChanged();
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}

void frmBalance::reject() {
    // Esc and the close button wait until the close has ended.
    if (!running_)
        QDialog::reject();
}

void frmBalance::closeEvent(QCloseEvent* e) {
    if (running_)
        e->ignore();
    else
        QDialog::closeEvent(e);
}
