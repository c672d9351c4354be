#include "screens/session/frmConnect.h"

#include "accounting/link.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmConnect::frmConnect(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent, std::string password)
    : QDialog(parent), s_(s), p_(p), password_(std::move(password)) {
    setObjectName("frmConnect");
    setWindowTitle(QStringLiteral("选择核算单位"));
    lstSet = new QListWidget(this);
    lstSet->setObjectName("lstSet");
    for (const std::string& entry : gzgl::connectEntries(s_.linkedSetPath, password_)) {
        lstSet->addItem(qs(entry));
        // The set the task names now comes chosen.
        if (!s_.linkedSetID.empty() && entry.ends_with("   " + s_.linkedSetID))
            lstSet->setCurrentRow(lstSet->count() - 1);
    }
    const auto net = gzgl::accounting::parseNetworkPath(s_.linkedSetPath);
    auto* path = new QLabel(net ? QStringLiteral("财务数据库服务器：") + qs(net->connection) +
                                      QStringLiteral("（") + qs(net->product) + QStringLiteral("）")
                                : QStringLiteral("账务数据目录：") + qs(s_.linkedSetPath),
                            this);
    path->setWordWrap(true);

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    connect(cmdOk, &QPushButton::clicked, this, &frmConnect::confirm);
    connect(lstSet, &QListWidget::itemDoubleClicked, this, &frmConnect::confirm);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(path);
    layout->addWidget(new QLabel(QStringLiteral("核算单位："), this));
    layout->addWidget(lstSet, 1);
    layout->addWidget(box);
    resize(400, 320);
}

void frmConnect::confirm() {
    const QListWidgetItem* chosen = lstSet->currentItem();
    const gzgl::Outcome o = gzgl::confirmConnect(s_, chosen ? ss(chosen->text()) : std::string(), password_);
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
