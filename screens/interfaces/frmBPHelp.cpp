#include "screens/interfaces/frmBPHelp.h"

#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmBPHelp::frmBPHelp(Session& s, QWidget* parent) : QDialog(parent) {
    setObjectName("frmBPHelp");
    setWindowTitle(QStringLiteral("项目帮助"));
    entries_ = exchange::bankPickerEntries(s);

    lstItem = new QListWidget(this);
    lstItem->setObjectName("lstItem");
    // A click adds an entry to the choice or takes it out again.
    lstItem->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const exchange::PickerEntry& e : entries_)
        lstItem->addItem(qs(e.name));
    if (lstItem->count() > 0)
        lstItem->setCurrentRow(0, QItemSelectionModel::NoUpdate);

    const OkCancel buttons = okCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &frmBPHelp::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请选择报盘文件的项目（可多选）："), this));
    layout->addWidget(lstItem, 1);
    layout->addWidget(buttons.box);
    resize(320, 420);
}

void frmBPHelp::accept() {
    picked_.clear();
    for (int i = 0; i < lstItem->count(); ++i)
        if (lstItem->item(i)->isSelected())
            picked_.push_back(exchange::fieldForPick(entries_[static_cast<std::size_t>(i)]));
    QDialog::accept();
}
