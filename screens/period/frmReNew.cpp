#include "screens/period/frmReNew.h"

#include "core/connection.h"
#include "period/balance.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {
// The hourglass from the moment the question is answered Yes: the question
// itself is asked under the ordinary pointer.
struct WaitAfterYes : gzgl::Prompt {
    gzgl::Prompt& inner;
    std::optional<WaitCursor> wait;
    explicit WaitAfterYes(gzgl::Prompt& p) : inner(p) {}
    void message(const std::string& text, const std::string& title, gzgl::Icon icon) override {
        inner.message(text, title, icon);
    }
    bool askYesNo(const std::string& text, const std::string& title, gzgl::Icon icon) override {
        const bool yes = inner.askYesNo(text, title, icon);
        if (yes)
            wait.emplace();
        return yes;
    }
};
} // namespace

frmReNew::frmReNew(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmReNew");
    setWindowTitle(QStringLiteral("环境恢复"));

    cmbTime = new QComboBox(this);
    cmbTime->setObjectName("cmbTime");
    cmbTime->setMinimumContentsLength(10);
    cmbTime->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("恢复到："), this));
    row->addWidget(cmbTime, 1);

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("当前月份：") + qs(s.shell.periodPanel), this));
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdOk, &QPushButton::clicked, this, &frmReNew::confirm);

    try {
        for (const std::string& entry : gzgl::period::restoreChoices(s_))
            cmbTime->addItem(qs(entry));
    } catch (const gzgl::DbError& e) {
        p_.message(e.what(), s_.productShortName, gzgl::Icon::Critical);
    }
    // Restoring destroys the later months: the month is chosen on purpose,
    // never taken over from a default.
    cmbTime->setPlaceholderText(QStringLiteral("请选择"));
    cmbTime->setCurrentIndex(-1);
}

void frmReNew::confirm() {
    gzgl::Outcome o;
    {
        WaitAfterYes prompt(p_);
        o = gzgl::period::restorePeriod(s_, prompt, ss(cmbTime->currentText()));
    }
    if (o.ok) {
        cmdOk->setEnabled(false);
        emit periodChanged();
    }
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
