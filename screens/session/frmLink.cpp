#include "screens/session/frmLink.h"

#include "accounting/single_user.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmLink::frmLink(gzgl::Session& s, gzgl::Prompt& p, int mode, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), mode_(mode) {
    setObjectName("frmLink");
    setWindowTitle(QStringLiteral("连接账务系统"));
    optNone = new QRadioButton(QStringLiteral("不连接账务系统"), this);
    optNone->setObjectName("optNone");
    optSingle = new QRadioButton(QStringLiteral("连接单机版账务系统"), this);
    optSingle->setObjectName("optSingle");
    optNetwork = new QRadioButton(QStringLiteral("连接网络版账务系统"), this);
    optNetwork->setObjectName("optNetwork");
    optNone->setChecked(true);

    singleBox = new QGroupBox(QStringLiteral("单机版"), this);
    txtPath = new QLineEdit(singleBox);
    txtPath->setObjectName("txtPath");
    auto* cmdPath = new QPushButton(QStringLiteral("浏览..."), singleBox);
    cmdPath->setObjectName("cmdPath");
    cmbSet = new QComboBox(singleBox);
    cmbSet->setObjectName("cmbSet");
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtPath);
    pathRow->addWidget(cmdPath);
    auto* sf = new QFormLayout(singleBox);
    sf->addRow(QStringLiteral("账务数据目录："), pathRow);
    sf->addRow(QStringLiteral("核算单位："), cmbSet);

    networkBox = new QGroupBox(QStringLiteral("网络版"), this);
    txtServer = new QLineEdit(networkBox);
    txtServer->setObjectName("txtServer");
    txtLogin = new QLineEdit(networkBox);
    txtLogin->setObjectName("txtLogin");
    txtPassword = new QLineEdit(networkBox);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    auto* nf = new QFormLayout(networkBox);
    nf->addRow(QStringLiteral("服务器："), txtServer);
    nf->addRow(QStringLiteral("登录名："), txtLogin);
    nf->addRow(QStringLiteral("口令："), txtPassword);

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optNone);
    layout->addWidget(optSingle);
    layout->addWidget(singleBox);
    layout->addWidget(optNetwork);
    layout->addWidget(networkBox);
    layout->addWidget(box);
    resize(460, 0);

    const auto folders = gzgl::proposedAccountingFolders();
    if (!folders.empty())
        txtPath->setText(qs(folders.front()));
    if (mode_ == gzgl::kLinkChangePath)
        showCurrentLink();
    else
        reloadSets();
    updateEnabled();

    connect(txtPath, &QLineEdit::editingFinished, this, &frmLink::reloadSets);
    connect(cmdPath, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("选择账务数据目录"), txtPath->text());
        if (!dir.isEmpty()) {
            txtPath->setText(dir);
            reloadSets();
        }
    });
    for (QRadioButton* r : {optNone, optSingle, optNetwork})
        connect(r, &QRadioButton::toggled, this, &frmLink::updateEnabled);
    connect(cmdOk, &QPushButton::clicked, this, &frmLink::confirm);
}

void frmLink::reloadSets() {
    cmbSet->clear();
    for (const std::string& name : gzgl::accountingSets(ss(txtPath->text())))
        cmbSet->addItem(qs(name));
}

void frmLink::showCurrentLink() {
    setWindowTitle(QStringLiteral("更改账务路径"));
    if (s_.linkedSetID.empty()) {
        reloadSets();
        return;
    }
    // The task's folder and set as they stand, to be kept or changed.
    optSingle->setChecked(true);
    txtPath->setText(qs(s_.linkedSetPath));
    reloadSets();
    try {
        for (const gzgl::accounting::AccountingSet& set : gzgl::accounting::singleUserSets(s_.linkedSetPath))
            if (set.id == s_.linkedSetID)
                cmbSet->setCurrentIndex(cmbSet->findText(qs(set.name)));
    } catch (const std::exception&) {
        // A folder that cannot be read lists nothing; the user picks another.
    }
}

void frmLink::updateEnabled() {
    singleBox->setEnabled(optSingle->isChecked());
    networkBox->setEnabled(optNetwork->isChecked());
}

void frmLink::confirm() {
    gzgl::LinkFields f;
    f.choice = optSingle->isChecked()    ? gzgl::LinkChoice::SingleUser
               : optNetwork->isChecked() ? gzgl::LinkChoice::Network
                                         : gzgl::LinkChoice::None;
    f.folder = ss(txtPath->text());
    f.setName = ss(cmbSet->currentText());
    f.server = ss(txtServer->text());
    f.login = ss(txtLogin->text());
    f.password = ss(txtPassword->text());
    const gzgl::Outcome o = gzgl::confirmLink(s_, f, mode_);
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
