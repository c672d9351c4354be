#include "screens/session/frmLink.h"

#include "accounting/single_user.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtPath);
    pathRow->addWidget(cmdPath);
    auto* sf = new QFormLayout(singleBox);
    sf->addRow(QStringLiteral("账务数据目录："), pathRow);

    networkBox = new QGroupBox(QStringLiteral("网络版"), this);
    cmbProduct = new QComboBox(networkBox);
    cmbProduct->setObjectName("cmbProduct");
    // The catalog is named after the product; another name may be typed.
    cmbProduct->setEditable(true);
    cmbProduct->addItems({QStringLiteral("KS770CW"), QStringLiteral("KS770ZW")});
    txtServer = new QLineEdit(networkBox);
    txtServer->setObjectName("txtServer");
    txtServer->setPlaceholderText(QStringLiteral("ODBC数据源名称或连接串"));
    txtLogin = new QLineEdit(networkBox);
    txtLogin->setObjectName("txtLogin");
    txtPassword = new QLineEdit(networkBox);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    auto* cmdSets = new QPushButton(QStringLiteral("读取核算单位"), networkBox);
    cmdSets->setObjectName("cmdSets");
    cmdSets->setAutoDefault(false);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(txtPassword, 1);
    passwordRow->addWidget(cmdSets);
    auto* nf = new QFormLayout(networkBox);
    nf->addRow(QStringLiteral("财务软件产品："), cmbProduct);
    nf->addRow(QStringLiteral("服务器："), txtServer);
    nf->addRow(QStringLiteral("登录名："), txtLogin);
    nf->addRow(QStringLiteral("口令："), passwordRow);
    auto* passwordNote = new QLabel(QStringLiteral("口令只用于连接服务器，不保存。"), networkBox);
    passwordNote->setObjectName("lblPasswordNote");
    nf->addRow(QString(), passwordNote);

    cmbSet = new QComboBox(this);
    cmbSet->setObjectName("cmbSet");
    auto* setRow = new QFormLayout;
    setRow->addRow(QStringLiteral("核算单位："), cmbSet);

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optNone);
    layout->addWidget(optSingle);
    layout->addWidget(singleBox);
    layout->addWidget(optNetwork);
    layout->addWidget(networkBox);
    layout->addLayout(setRow);
    layout->addWidget(box);
    resize(520, 0);

    const auto folders = gzgl::proposedAccountingFolders();
    if (!folders.empty())
        txtPath->setText(qs(folders.front()));
    if (mode_ == gzgl::kLinkChangePath)
        showCurrentLink();
    else
        reloadSets();
    updateEnabled();
    if (optNetwork->isChecked())
        showNetworkSets();

    connect(txtPath, &QLineEdit::editingFinished, this, &frmLink::reloadSets);
    connect(cmdPath, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("选择账务数据目录"), txtPath->text());
        if (!dir.isEmpty()) {
            txtPath->setText(dir);
            reloadSets();
        }
    });
    for (QRadioButton* r : {optNone, optSingle, optNetwork})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                choiceChanged();
        });
    connect(cmdSets, &QPushButton::clicked, this, &frmLink::readNetworkSets);
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
    if (const auto net = gzgl::accounting::parseNetworkPath(s_.linkedSetPath)) {
        // The server as kept; its sets need the password, so they are read
        // when the user asks for them.
        optNetwork->setChecked(true);
        cmbProduct->setCurrentText(qs(net->product));
        txtServer->setText(qs(net->connection));
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

void frmLink::choiceChanged() {
    updateEnabled();
    if (optSingle->isChecked())
        reloadSets();
    else if (optNetwork->isChecked())
        showNetworkSets();
    else
        cmbSet->clear();
}

void frmLink::showNetworkSets() {
    cmbSet->clear();
    for (const gzgl::accounting::AccountingSet& set : networkSets_) {
        cmbSet->addItem(qs(set.name));
        // The set the task is linked to now comes chosen.
        if (set.id == s_.linkedSetID)
            cmbSet->setCurrentIndex(cmbSet->count() - 1);
    }
}

void frmLink::readNetworkSets() {
    gzgl::NetworkSetList list;
    {
        WaitCursor wait;
        list = gzgl::listNetworkSets(fields(), s_.productShortName);
    }
    networkSets_ = list.sets;
    showNetworkSets();
    if (!list.outcome.ok)
        applyOutcome(this, p_, list.outcome);
    else if (cmbSet->count() > 0)
        cmbSet->setFocus();
}

void frmLink::updateEnabled() {
    singleBox->setEnabled(optSingle->isChecked());
    networkBox->setEnabled(optNetwork->isChecked());
}

gzgl::LinkFields frmLink::fields() const {
    gzgl::LinkFields f;
    f.choice = optSingle->isChecked()    ? gzgl::LinkChoice::SingleUser
               : optNetwork->isChecked() ? gzgl::LinkChoice::Network
                                         : gzgl::LinkChoice::None;
    f.folder = ss(txtPath->text());
    f.setName = ss(cmbSet->currentText());
    f.server = ss(txtServer->text());
    f.login = ss(txtLogin->text());
    f.password = ss(txtPassword->text());
    f.product = ss(cmbProduct->currentText());
    return f;
}

void frmLink::confirm() {
    gzgl::Outcome o;
    {
        WaitCursor wait;
        o = gzgl::confirmLink(s_, fields(), mode_);
    }
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
