#include "screens/session/frmAdd.h"

#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QLineEdit* edit(QWidget* parent, const char* name, bool masked = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (masked)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

// Up and down arrows only: the box beside it shows the number, and a
// number squeezed into the arrows' width would be drawn cut off.
class ArrowsOnly : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int) const override { return {}; }
};

// A digits-only box with its spinner beside it, kept in step.
QWidget* spinRow(QWidget* parent, QLineEdit* box, QSpinBox*& spin, const char* name, int lo, int hi) {
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    spin = new ArrowsOnly(parent);
    spin->setObjectName(name);
    spin->setRange(lo, hi);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin->setFixedWidth(22);
    spin->setFocusPolicy(Qt::NoFocus);
    QObject::connect(spin, &QSpinBox::valueChanged, box, [box](int v) { box->setText(QString::number(v)); });
    QObject::connect(box, &QLineEdit::textEdited, spin, [spin](const QString& t) {
        const QSignalBlocker block(spin);
        spin->setValue(t.toInt());
    });
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(box);
    h->addWidget(spin);
    return row;
}
} // namespace

frmAdd::frmAdd(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmAdd");
    setWindowTitle(QStringLiteral("增加工资任务"));
    txtCorporation = edit(this, "txtCorporation");
    txtName = edit(this, "txtName");
    txtYear = edit(this, "txtYear");
    txtMonth = edit(this, "txtMonth");
    txtOperator = edit(this, "txtOperator");
    txtKL1 = edit(this, "txtKL1", true);
    txtKL2 = edit(this, "txtKL2", true);
    cmbMode = new QComboBox(this);
    cmbMode->setObjectName("cmbMode");
    txtLong = new QSpinBox(this);
    txtLong->setObjectName("txtLong");
    txtLong->setRange(0, 20);
    txtLong->setValue(4);

    auto* period = new QWidget(this);
    auto* ph = new QHBoxLayout(period);
    ph->setContentsMargins(0, 0, 0, 0);
    ph->addWidget(spinRow(this, txtYear, udYear, "udYear", 1000, 9999));
    ph->addWidget(new QLabel(QStringLiteral("年"), this));
    ph->addWidget(spinRow(this, txtMonth, udMonth, "udMonth", 1, 12));
    ph->addWidget(new QLabel(QStringLiteral("月"), this));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("企业代码："), txtCorporation);
    form->addRow(QStringLiteral("任务名称："), txtName);
    form->addRow(QStringLiteral("启用时间："), period);
    form->addRow(QStringLiteral("操作员姓名："), txtOperator);
    form->addRow(QStringLiteral("操作员口令："), txtKL1);
    form->addRow(QStringLiteral("口令复核："), txtKL2);
    form->addRow(QStringLiteral("扣尾方式："), cmbMode);
    form->addRow(QStringLiteral("人员编码长度："), txtLong);

    auto* ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok->setObjectName("cmdButton0");
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("取消(&N)"), this);
    cancel->setObjectName("cmdButton1");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    const QDate today = QDate::currentDate();
    udYear->setValue(today.year());
    udMonth->setValue(today.month());
    txtYear->setText(QString::number(today.year()));
    txtMonth->setText(QString::number(today.month()));
    for (const std::string& m : gzgl::roundOffChoices())
        cmbMode->addItem(qs(m));
    cmbMode->setCurrentIndex(-1); // no mode chosen yet: the one in force applies
    txtOperator->setText(QStringLiteral("管理员"));

    auto* keys = new EnterKeys(this);
    keys->moveTo(txtCorporation, txtName);
    keys->moveTo(txtName, txtYear);
    keys->moveTo(txtYear, txtMonth);
    keys->moveTo(txtMonth, txtOperator);
    keys->moveTo(txtOperator, txtKL1);
    keys->moveTo(txtKL1, txtKL2);
    keys->on(txtKL2, [this] {
        if (checkPasswords())
            cmbMode->setFocus();
    });
    keys->moveTo(cmbMode, txtLong);
    keys->moveTo(txtLong, ok);
    txtName->setFocus();

    connect(ok, &QPushButton::clicked, this, &frmAdd::confirm);
    connect(cancel, &QPushButton::clicked, this, &frmAdd::reject);
}

bool frmAdd::checkPasswords() {
    const gzgl::Outcome o = gzgl::checkPasswords(ss(txtKL1->text()), ss(txtKL2->text()), s_.productShortName);
    applyOutcome(this, p_, o);
    return o.ok;
}

gzgl::NewTaskFields frmAdd::fields() const {
    gzgl::NewTaskFields f;
    f.corporation = ss(txtCorporation->text());
    f.name = ss(txtName->text());
    f.year = ss(txtYear->text());
    f.month = ss(txtMonth->text());
    f.operatorName = ss(txtOperator->text());
    f.password1 = ss(txtKL1->text());
    f.password2 = ss(txtKL2->text());
    f.codeLength = ss(txtLong->text());
    if (cmbMode->currentIndex() >= 0)
        f.mode = gzgl::roundOffCode(ss(cmbMode->currentText()));
    return f;
}

void frmAdd::showFields(const gzgl::NewTaskFields& f) {
    txtCorporation->setText(qs(f.corporation));
    txtName->setText(qs(f.name));
    txtOperator->setText(qs(f.operatorName));
    txtKL1->setText(qs(f.password1));
    txtKL2->setText(qs(f.password2));
}

void frmAdd::confirm() {
    const gzgl::AddTaskResult r = gzgl::addTask(s_, fields());
    showFields(r.cleaned);
    if (r.outcome.ok) {
        created_ = true;
        accept();
        r.outcome.show(p_);
        return;
    }
    applyOutcome(this, p_, r.outcome);
}

void frmAdd::reject() {
    gzgl::cancelAddTask(s_).show(p_);
    QDialog::reject();
}
