#include "screens/items/ItemForm.h"

#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using namespace gzgl;

ItemForm ItemForm::build(QDialog* d) {
    ItemForm f;
    f.form = new QWidget(d);
    auto named = [](auto* w, const char* name) {
        w->setObjectName(name);
        return w;
    };
    f.txtSubject = named(new QLineEdit(f.form), "txtSubject");
    f.cmbKind = named(new QComboBox(f.form), "cmbKind");
    for (const std::string& t : items::itemTypes())
        f.cmbKind->addItem(qs(t));
    f.cmbKind->setPlaceholderText(qs(items::kTypePrompt));
    f.cmbKind->setCurrentIndex(-1);
    f.txtPrec = named(new QLineEdit(f.form), "txtPrec");
    f.chkShow = named(new QCheckBox(QStringLiteral("输入时显示"), f.form), "chkShow");
    f.txtWidth = named(new QSpinBox(f.form), "txtWidth");
    f.txtWidth->setRange(0, 999);
    f.txtWidth->setValue(15);
    f.chkPrint = named(new QCheckBox(QStringLiteral("是否打印"), f.form), "chkPrint");
    f.chkChange = named(new QCheckBox(QStringLiteral("自定项"), f.form), "chkChange");
    f.txtChange = named(new QLineEdit(f.form), "txtChange");
    f.chkShow->setChecked(true);
    f.chkPrint->setChecked(true);

    auto* width = new QHBoxLayout;
    width->addWidget(f.txtWidth);
    width->addWidget(new QLabel(QStringLiteral("毫米"), f.form));
    width->addStretch();
    auto* flags = new QHBoxLayout;
    flags->addWidget(f.chkShow);
    flags->addWidget(f.chkPrint);
    flags->addWidget(f.chkChange);
    auto* layout = new QFormLayout(f.form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addRow(QStringLiteral("项目名称："), f.txtSubject);
    layout->addRow(QStringLiteral("数据类型："), f.cmbKind);
    layout->addRow(QStringLiteral("小数位数："), f.txtPrec);
    layout->addRow(QStringLiteral("打印宽度："), width);
    layout->addRow(flags);
    layout->addRow(QStringLiteral("自定项的值："), f.txtChange);

    ItemForm copy = f;
    QObject::connect(f.cmbKind, &QComboBox::currentIndexChanged, d, [copy]() mutable { copy.followType(); });
    QObject::connect(f.chkChange, &QCheckBox::toggled, d, [copy]() mutable { copy.followType(); });
    f.followType();
    return f;
}

items::ItemFields ItemForm::read() const {
    items::ItemFields f;
    f.name = ss(txtSubject->text());
    f.type = cmbKind->currentIndex() < 0 ? items::kTypePrompt : ss(cmbKind->currentText());
    f.prec = ss(txtPrec->text());
    f.show = chkShow->isChecked();
    f.width = txtWidth->value();
    f.print = chkPrint->isChecked();
    f.change = chkChange->isChecked();
    f.chgValue = ss(txtChange->text());
    return f;
}

void ItemForm::show(const items::ItemFields& f) {
    txtSubject->setText(qs(f.name));
    cmbKind->setCurrentIndex(cmbKind->findText(qs(f.type)));
    txtPrec->setText(qs(f.prec));
    chkShow->setChecked(f.show);
    txtWidth->setValue(f.width);
    chkPrint->setChecked(f.print);
    chkChange->setChecked(f.change);
    txtChange->setText(qs(f.chgValue));
    followType();
}

void ItemForm::followType() {
    const QString type = cmbKind->currentText();
    const bool number = type == qs(items::kNumber);
    if (!txtPrec->property("locked").toBool())
        txtPrec->setEnabled(number);
    if (!number)
        txtPrec->clear();
    if (type == qs(items::kDate))
        chkShow->setChecked(false);
    if (!txtChange->property("locked").toBool())
        txtChange->setEnabled(chkChange->isChecked());
}

void ItemForm::chainEnter(EnterKeys* keys, std::function<void()> last) {
    const std::vector<QWidget*> chain = {txtSubject, cmbKind, txtPrec, txtWidth, txtChange};
    for (std::size_t i = 0; i < chain.size(); ++i)
        keys->on(chain[i], [chain, i, last] {
            for (std::size_t j = i + 1; j < chain.size(); ++j)
                if (chain[j]->isEnabled()) {
                    chain[j]->setFocus();
                    return;
                }
            last();
        });
}
