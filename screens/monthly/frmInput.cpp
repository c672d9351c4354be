#include "screens/monthly/frmInput.h"

#include "core/connection.h"
#include "monthly/entry_input.h"
#include "screens/monthly/frmTrace.h"
#include "screens/session/ScreenSupport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;

frmInput::frmInput(monthly::SalaryEntry& entry, Prompt& p, int gridRow, QWidget* parent)
    : QDialog(parent), e_(entry), p_(p), row_(gridRow) {
    setObjectName("frmInput");
    setWindowTitle(QStringLiteral("个人工资录入"));
    lblEmpNo = new QLabel(this);
    lblEmpNo->setObjectName("lblEmpNo");
    lblEmpName = new QLabel(this);
    lblEmpName->setObjectName("lblEmpName");
    msfItems = new QTableWidget(this);
    msfItems->setObjectName("msfItems");
    msfItems->setColumnCount(2);
    msfItems->setHorizontalHeaderLabels({QStringLiteral("项目"), QStringLiteral("数值")});
    msfItems->verticalHeader()->hide();
    msfItems->horizontalHeader()->setStretchLastSection(true);
    msfItems->setColumnWidth(0, 140);
    msfItems->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                              QAbstractItemView::EditKeyPressed);
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdFront = button("cmdFront", QStringLiteral("上一人(&F)"));
    cmdAfter = button("cmdAfter", QStringLiteral("下一人(&N)"));
    cmdClose = button("cmdClose", QStringLiteral("关闭(&C)"));
    QPushButton* cmdTrace = button("cmdTrace", QStringLiteral("计算过程(&T)"));

    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("职工编号："), this));
    head->addWidget(lblEmpNo);
    head->addSpacing(16);
    head->addWidget(new QLabel(QStringLiteral("姓名："), this));
    head->addWidget(lblEmpName);
    head->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdFront);
    buttons->addWidget(cmdAfter);
    buttons->addWidget(cmdTrace);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(msfItems, 1);
    layout->addLayout(buttons);
    resize(420, 520);

    connect(msfItems, &QTableWidget::itemChanged, this, &frmInput::valueEdited);
    connect(cmdFront, &QPushButton::clicked, this, [this] { showRow(monthly::previousEmployee(e_, row_)); });
    connect(cmdAfter, &QPushButton::clicked, this, [this] { showRow(monthly::nextEmployee(e_, row_)); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdTrace, &QPushButton::clicked, this, &frmInput::openTrace);
    fill();
}

frmTrace* frmInput::openTrace() {
    if (row_ < calc::kFirstEmployeeRow || row_ >= e_.grid().rows())
        return nullptr;
    std::string text;
    try {
        text = e_.traceText(row_);
    } catch (const DbError& ex) {
        p_.message(ex.what(), e_.session().productTitle, Icon::Critical);
        return nullptr;
    }
    auto* trace = new frmTrace(qs(text), this);
    trace->setAttribute(Qt::WA_DeleteOnClose);
    trace->show();
    return trace;
}

void frmInput::showRow(int gridRow) {
    row_ = gridRow;
    try {
        e_.recalculateRow(row_);
    } catch (const DbError& ex) {
        p_.message(ex.what(), e_.session().productTitle, Icon::Critical);
    }
    emit rowChanged(row_);
    fill();
}

void frmInput::fill() {
    filling_ = true;
    const calc::WorkGrid& g = e_.grid();
    const bool valid = row_ >= calc::kFirstEmployeeRow && row_ < g.rows();
    lblEmpNo->setText(valid ? qs(g.cell(row_, 0)) : QString());
    lblEmpName->setText(valid ? qs(g.cell(row_, 1)) : QString());
    const std::vector<monthly::InputRow> rows = monthly::inputRows(e_, row_);
    msfItems->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const monthly::InputRow& r = rows[static_cast<std::size_t>(i)];
        auto* caption = new QTableWidgetItem(qs(r.caption));
        caption->setFlags(Qt::ItemIsEnabled);
        caption->setToolTip(qs(r.code));
        auto* value = new QTableWidgetItem(qs(r.value));
        value->setData(Qt::UserRole, r.column);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFlags(r.editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                   : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (!r.editable)
            value->setBackground(QColor(0xf2, 0xf2, 0xea));
        msfItems->setItem(i, 0, caption);
        msfItems->setItem(i, 1, value);
    }
    cmdFront->setEnabled(monthly::previousEmployee(e_, row_) != row_);
    cmdAfter->setEnabled(monthly::nextEmployee(e_, row_) != row_);
    filling_ = false;
}

bool frmInput::enter(int itemRow, const QString& text) {
    QTableWidgetItem* item = msfItems->item(itemRow, 1);
    if (!item)
        return false;
    const int c = item->data(Qt::UserRole).toInt();
    const std::string start = e_.grid().cell(row_, c);
    monthly::EditResult r;
    try {
        r = e_.endInputEdit(row_, c, start, ss(text));
    } catch (const DbError& ex) {
        r.outcome = Outcome::refuse(ex.what(), e_.session().productTitle, Icon::Critical);
    }
    // Every row is shown again: a stored value recalculates the others.
    fill();
    if (r.written)
        emit rowChanged(row_);
    r.outcome.show(p_);
    return r.outcome.ok;
}

void frmInput::valueEdited(QTableWidgetItem* item) {
    if (filling_ || item->column() != 1)
        return;
    const int itemRow = item->row();
    const QString text = item->text();
    // The item is replaced while the editor finishes; continue afterwards.
    QMetaObject::invokeMethod(this, [this, itemRow, text] { enter(itemRow, text); }, Qt::QueuedConnection);
}
