#include "screens/reports/frmSave.h"

#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

namespace {
// What Cmbfg shows for a tab, which a combo box cannot show as itself.
const QString kTabText = QStringLiteral("TAB");
} // namespace

frmSave::frmSave(Session& s, Prompt& p, Progress* progress, const reports::QueryResult& result,
                 QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress), result_(result) {
    setObjectName("frmSave");
    setWindowTitle(QStringLiteral("保存为文本文件"));

    Dir1 = new QLineEdit(qs(s_.appPath), this);
    Dir1->setObjectName("Dir1");
    Dir1->setMinimumWidth(300);
    cmdBrowse = new QPushButton(QStringLiteral("浏览..."), this);
    cmdBrowse->setObjectName("cmdBrowse");
    cmdBrowse->setAutoDefault(false);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    Cmbfg = new QComboBox(this);
    Cmbfg->setObjectName("Cmbfg");
    Cmbfg->setEditable(true);
    Cmbfg->addItems({",", ";", "|", kTabText});

    auto* folder = new QHBoxLayout;
    folder->setSpacing(2);
    folder->addWidget(Dir1, 1);
    folder->addWidget(cmdBrowse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("保存位置："), folder);
    form->addRow(QStringLiteral("文件名："), txtName);
    // The separator is a character or two: a short box, not a full row.
    Cmbfg->setMinimumContentsLength(6);
    Cmbfg->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* separatorRow = new QHBoxLayout;
    separatorRow->addWidget(Cmbfg);
    separatorRow->addStretch(1);
    form->addRow(QStringLiteral("分隔符号："), separatorRow);

    const OkCancel buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons.box);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmSave::cmdBrowse_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmSave::cmdOk_Click);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtName, Cmbfg);
}

std::string frmSave::separator() const {
    const QString text = Cmbfg->currentText();
    if (text.compare(kTabText, Qt::CaseInsensitive) == 0 || text == "\\t")
        return "\t";
    return ss(text);
}

void frmSave::cmdBrowse_Click() {
    const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("选择保存位置"), Dir1->text());
    if (!dir.isEmpty())
        Dir1->setText(dir);
}

void frmSave::cmdOk_Click() {
    SilentProgress silent;
    Outcome o;
    try {
        std::string written;
        o = reports::exportQueryDelimited(s_, p_, progress_ ? *progress_ : silent, result_, ss(Dir1->text()),
                                          ss(txtName->text()), separator(),
                                          ss(QDate::currentDate().toString("yyyyMMdd")), &written);
        if (o.ok)
            written_ = written;
    } catch (const std::exception& e) {
        o = Outcome::refuse(e.what(), s_.productTitle, Icon::Critical);
    }
    applyOutcome(this, p_, o);
    // Declining to overwrite keeps the dialog open for another name.
    if (o.ok)
        accept();
}
