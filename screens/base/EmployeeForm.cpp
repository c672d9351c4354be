#include "screens/base/EmployeeForm.h"

#include "base/tree.h"
#include "screens/base/DatePopup.h"
#include "screens/base/frmAddEmpApplst.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <climits>
#include <string>
#include <vector>

using namespace gzgl;

namespace {

constexpr int kNoSortNo = -1; // the spin box's blank

class LeaveWatcher : public QObject {
public:
    LeaveWatcher(QWidget* w, std::function<void()> action) : QObject(w), action_(std::move(action)) {
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) {
            const Qt::FocusReason why = static_cast<QFocusEvent*>(e)->reason();
            // A calendar or list popping up, or a message box, is no leaving.
            if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason)
                QTimer::singleShot(0, this, [this] { action_(); });
        }
        return false;
    }

private:
    std::function<void()> action_;
};

// Shows a stored value: the list entry with the same code when there is
// one, else the text itself where typing is allowed.
void showEntry(QComboBox* box, const std::string& value) {
    const std::string code = base::textBeforeBlank(value);
    for (int i = 0; i < box->count(); ++i)
        if (base::textBeforeBlank(ss(box->itemText(i))) == code) {
            box->setCurrentIndex(i);
            return;
        }
    if (box->isEditable())
        box->setEditText(qs(value));
    else
        box->setCurrentIndex(-1);
}

void fill(QComboBox* box, const std::vector<std::string>& entries) {
    box->clear();
    for (const std::string& e : entries)
        box->addItem(qs(e));
}

} // namespace

void onLeave(QWidget* w, std::function<void()> action) {
    new LeaveWatcher(w, std::move(action));
}

EmployeeForm EmployeeForm::build(QWidget* screen, bool editable, const char* pickerName) {
    EmployeeForm f{};
    f.form = new QWidget(screen);
    auto edit = [&f](const char* name) {
        auto* e = new QLineEdit(f.form);
        e->setObjectName(name);
        return e;
    };
    auto combo = [&f](const char* name, bool canType) {
        auto* c = new QComboBox(f.form);
        c->setObjectName(name);
        c->setEditable(canType);
        if (canType)
            c->setInsertPolicy(QComboBox::NoInsert);
        return c;
    };
    f.txtEmpNo = edit("txtEmpNo");
    f.cmbDep = combo("cmbDep", editable);
    f.txtEmpName = edit("txtEmpName");
    f.cmbSex = combo("cmbSex", editable);
    f.cmbNation = combo("cmbNation", true);
    f.txtCID = edit("txtCID");
    f.txtAccNo = edit("txtAccNo");
    f.txtOldNo = edit("txtOldNo");
    f.txtHouseNo = edit("txtHouseNo");
    f.txtOtherNo1 = edit("txtOtherNo1");
    f.txtOtherNo2 = edit("txtOtherNo2");
    f.txtSortNo = new QSpinBox(f.form);
    f.txtSortNo->setObjectName("txtSortNo");
    f.txtSortNo->setRange(kNoSortNo, INT_MAX);
    f.txtSortNo->setSpecialValueText(QStringLiteral(" "));
    f.txtCharacter = edit("txtCharacter");
    f.cmbEmpType = combo("cmbEmpType", editable);
    f.txtRq1 = edit("txtRq1");
    f.txtRq1->setPlaceholderText(QStringLiteral("yyyy.mm.dd"));
    f.cmdRq1 = new QPushButton(QStringLiteral("…"), f.form);
    f.cmdRq1->setObjectName("cmdRq1");
    f.cmdRq1->setToolTip(QStringLiteral("选择日期"));
    f.cmdRq1->setFocusPolicy(Qt::NoFocus); // the box keeps the focus while the calendar is open
    f.cmdRq1->setAutoDefault(false);
    f.cmdRq1->setFixedWidth(f.cmdRq1->fontMetrics().height() * 2);
    f.lblNotCalc = new QLabel(QStringLiteral("不计算的工资项"), f.form);
    f.lblNotCalc->setObjectName("lblNotCalc");
    f.txtNotCalc = edit("txtNotCalc");
    f.txtNotCalc->setMaxLength(1000);
    f.cmdNotCalc = new QPushButton(QStringLiteral("…"), f.form);
    f.cmdNotCalc->setObjectName(pickerName);
    f.cmdNotCalc->setToolTip(QStringLiteral("工资项目列表"));
    f.cmdNotCalc->setAutoDefault(false);
    f.cmdNotCalc->setFixedWidth(f.cmdRq1->fontMetrics().height() * 2);

    auto* grid = new QGridLayout(f.form);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(2, 96);
    const std::vector<std::pair<const char*, QWidget*>> pairs = {
        {"员工编号", f.txtEmpNo},   {"所属部门", f.cmbDep},      {"员工姓名", f.txtEmpName},
        {"性别", f.cmbSex},         {"民族", f.cmbNation},       {"身份证号", f.txtCID},
        {"银行帐号", f.txtAccNo},   {"养老保险帐号", f.txtOldNo}, {"住房公积金号", f.txtHouseNo},
        {"其他帐号1", f.txtOtherNo1}, {"其他帐号2", f.txtOtherNo2}, {"排列序号", f.txtSortNo},
        {"转帐属性", f.txtCharacter}, {"员工类型", f.cmbEmpType},
    };
    int row = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        row = static_cast<int>(i / 2);
        const int col = static_cast<int>(i % 2) * 2;
        grid->addWidget(new QLabel(QString::fromUtf8(pairs[i].first), f.form), row, col);
        grid->addWidget(pairs[i].second, row, col + 1);
    }
    auto* date = new QHBoxLayout;
    date->setSpacing(2);
    date->addWidget(f.txtRq1, 1);
    date->addWidget(f.cmdRq1);
    grid->addWidget(new QLabel(QStringLiteral("员工入职时间"), f.form), ++row, 0);
    grid->addLayout(date, row, 1);
    auto* list = new QHBoxLayout;
    list->setSpacing(2);
    list->addWidget(f.txtNotCalc, 1);
    list->addWidget(f.cmdNotCalc);
    grid->addWidget(f.lblNotCalc, ++row, 0);
    grid->addLayout(list, row, 1, 1, 3);

    QWidget* previous = nullptr;
    for (QWidget* w : {static_cast<QWidget*>(f.txtEmpNo), static_cast<QWidget*>(f.cmbDep),
                       static_cast<QWidget*>(f.txtEmpName), static_cast<QWidget*>(f.cmbSex),
                       static_cast<QWidget*>(f.cmbNation), static_cast<QWidget*>(f.txtCID),
                       static_cast<QWidget*>(f.txtAccNo), static_cast<QWidget*>(f.txtOldNo),
                       static_cast<QWidget*>(f.txtHouseNo), static_cast<QWidget*>(f.txtOtherNo1),
                       static_cast<QWidget*>(f.txtOtherNo2), static_cast<QWidget*>(f.txtSortNo),
                       static_cast<QWidget*>(f.txtCharacter), static_cast<QWidget*>(f.cmbEmpType),
                       static_cast<QWidget*>(f.txtRq1), static_cast<QWidget*>(f.txtNotCalc),
                       static_cast<QWidget*>(f.cmdNotCalc)}) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    return f;
}

void EmployeeForm::fillLists(Session& s) {
    fill(cmbDep, base::leafDepartmentEntries(s));
    fill(cmbEmpType, base::employeeTypeEntries(s));
    fill(cmbSex, base::sexChoices());
    fill(cmbNation, base::nationChoices());
    cmbDep->setCurrentIndex(cmbDep->count() > 0 ? 0 : -1);
    // The type is optional: start on the empty entry at the end.
    cmbEmpType->setCurrentIndex(cmbEmpType->findText(QString()));
    cmbSex->setCurrentIndex(cmbSex->findText(QString()));
    cmbNation->setCurrentIndex(cmbNation->findText(QString()));
}

base::EmployeeFields EmployeeForm::read() const {
    base::EmployeeFields f;
    f.empNo = ss(txtEmpNo->text());
    f.depNo = ss(cmbDep->currentText());
    f.name = ss(txtEmpName->text());
    f.sex = ss(cmbSex->currentText());
    f.nation = ss(cmbNation->currentText());
    f.cid = ss(txtCID->text());
    f.accNo = ss(txtAccNo->text());
    f.oldNo = ss(txtOldNo->text());
    f.houseNo = ss(txtHouseNo->text());
    f.otherNo1 = ss(txtOtherNo1->text());
    f.otherNo2 = ss(txtOtherNo2->text());
    f.sortNo = txtSortNo->value() == kNoSortNo ? std::string() : std::to_string(txtSortNo->value());
    f.character = ss(txtCharacter->text());
    f.empType = ss(cmbEmpType->currentText());
    f.notCalc = ss(txtNotCalc->text());
    f.lashMonth = ss(txtRq1->text());
    return f;
}

void EmployeeForm::show(const base::EmployeeFields& f) {
    showEntry(cmbDep, f.depNo);
    txtEmpName->setText(qs(f.name));
    showEntry(cmbSex, f.sex);
    cmbNation->setEditText(qs(f.nation));
    txtCID->setText(qs(f.cid));
    txtAccNo->setText(qs(f.accNo));
    txtOldNo->setText(qs(f.oldNo));
    txtHouseNo->setText(qs(f.houseNo));
    txtOtherNo1->setText(qs(f.otherNo1));
    txtOtherNo2->setText(qs(f.otherNo2));
    setSortNo(f.sortNo);
    txtCharacter->setText(qs(f.character));
    showEntry(cmbEmpType, f.empType);
    txtNotCalc->setText(qs(f.notCalc));
    txtRq1->setText(qs(f.lashMonth));
}

void EmployeeForm::setSortNo(const std::string& sortNo) {
    bool ok = false;
    const int n = qs(sortNo).trimmed().toInt(&ok);
    txtSortNo->setValue(ok && n >= 0 ? n : kNoSortNo);
}

void EmployeeForm::clearPersonal() {
    for (QLineEdit* e : {txtEmpName, txtCID, txtAccNo, txtOldNo, txtHouseNo, txtOtherNo1, txtOtherNo2,
                         txtCharacter, txtNotCalc, txtRq1})
        e->clear();
    cmbSex->setCurrentIndex(cmbSex->findText(QString()));
    cmbNation->setCurrentIndex(cmbNation->findText(QString()));
    cmbNation->setEditText(QString());
}

void EmployeeForm::showNotCalc(bool on) {
    lblNotCalc->setVisible(on);
    txtNotCalc->setVisible(on);
    cmdNotCalc->setVisible(on);
}

void EmployeeForm::chainEnter(EnterKeys* keys, std::function<void()> last) const {
    const std::vector<QWidget*> chain = {txtEmpNo,    cmbDep,      txtEmpName,  cmbSex,    cmbNation,    txtCID,
                                         txtAccNo,    txtOldNo,    txtHouseNo,  txtOtherNo1, txtOtherNo2, txtSortNo,
                                         txtCharacter, cmbEmpType, txtRq1,      txtNotCalc};
    for (std::size_t i = 0; i < chain.size(); ++i)
        keys->on(chain[i], [chain, i, last] {
            for (std::size_t j = i + 1; j < chain.size(); ++j)
                if (!chain[j]->isHidden() && chain[j]->isEnabled()) {
                    chain[j]->setFocus();
                    return;
                }
            last();
        });
}

void EmployeeForm::wirePickers(QWidget* screen, Session& s, Prompt& p) const {
    QLineEdit* date = txtRq1;
    QObject::connect(cmdRq1, &QPushButton::clicked, screen, [date, button = cmdRq1] { DatePopup::open(date, button); });
    onLeave(date, [date, &s, &p] {
        const Outcome o = base::checkJoiningDate(ss(date->text()));
        if (o.ok)
            return;
        p.message(o.message, o.title.empty() ? s.productTitle : o.title, o.icon);
        date->setFocus();
        date->selectAll();
    });
    QLineEdit* list = txtNotCalc;
    QObject::connect(cmdNotCalc, &QPushButton::clicked, screen, [screen, list, &s] {
        frmAddEmpApplst picker(s, list, screen);
        picker.exec();
        list->setFocus();
    });
}
