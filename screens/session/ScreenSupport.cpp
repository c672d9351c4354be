#include "screens/session/ScreenSupport.h"
#include <QToolBar>
#include <QItemSelectionModel>
#include <QAction>
#include <QAbstractItemView>
#include <QComboBox>

#include <QApplication>
#include <QLabel>
#include <QHBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QLineEdit>
#include <QTranslator>
#include <QWidget>

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

void applyOutcome(QWidget* screen, gzgl::Prompt& prompt, const gzgl::Outcome& outcome) {
    outcome.show(prompt);
    if (outcome.focus.empty())
        return;
    if (auto* w = screen->findChild<QWidget*>(QString::fromStdString(outcome.focus))) {
        w->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
    }
}

void EnterKeys::on(QWidget* w, std::function<void()> action) {
    actions_[w] = std::move(action);
    w->installEventFilter(this);
}

void EnterKeys::moveTo(QWidget* from, QWidget* to) {
    on(from, [to] { to->setFocus(); });
}

bool EnterKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            auto it = actions_.find(watched);
            if (it != actions_.end()) {
                it->second();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

OkCancel okCancelButtons(QDialog* dialog) {
    auto* box = new QDialogButtonBox(dialog);
    auto* ok = box->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOk");
    auto* cancel = box->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {box, ok, cancel};
}

bool installQtChineseTranslations() {
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QLineEdit* namedEdit(QWidget* owner, const char* name) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(name);
    return e;
}

QComboBox* namedCombo(QWidget* owner, const char* name) {
    auto* c = new QComboBox(owner);
    c->setObjectName(name);
    return c;
}

QPushButton* namedButton(QWidget* owner, const char* name, const QString& text) {
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

FileBox fileBox(QWidget* owner, const char* editName, const char* buttonName, const QString& label,
                int widthChars) {
    FileBox f;
    f.edit = namedEdit(owner, editName);
    f.edit->setMinimumWidth(f.edit->fontMetrics().horizontalAdvance(QString(widthChars, '0')));
    f.button = namedButton(owner, buttonName, QStringLiteral("浏览(&B)..."));
    f.row = new QHBoxLayout;
    if (!label.isEmpty())
        f.row->addWidget(new QLabel(label, owner));
    f.row->addWidget(f.edit, 1);
    f.row->addWidget(f.button);
    return f;
}

void browseForFile(QWidget* owner, QLineEdit* box, const QString& title, const QString& filter) {
    const QString chosen = QFileDialog::getOpenFileName(owner, title, QDir::homePath(), filter);
    if (!chosen.isEmpty())
        box->setText(QDir::toNativeSeparators(chosen));
}

QPushButton* pickerButton(QWidget* owner, const char* name, const QString& tip) {
    QPushButton* b = namedButton(owner, name, QStringLiteral("…"));
    b->setToolTip(tip);
    b->setFixedWidth(b->fontMetrics().height() * 2);
    return b;
}

QToolBar* namedToolBar(QWidget* owner, const char* name) {
    auto* bar = new QToolBar(owner);
    bar->setObjectName(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return bar;
}

QAction* namedAction(QToolBar* bar, const char* key, const QString& text, const QString& tip) {
    QAction* a = bar->addAction(text);
    a->setObjectName(key);
    if (!tip.isEmpty())
        a->setToolTip(tip);
    return a;
}

void commitOpenEdit(QAbstractItemView* view) {
    // Leaving the current cell commits and closes an open edit box; the
    // current cell is then taken up again.
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return;
    view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

bool chooseChineseFont() {
    for (const char* family : {"Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei"}) {
        if (QFontDatabase::families().contains(family)) {
            QFont f(family);
            f.setPointSize(10);
            QApplication::setFont(f);
            return true;
        }
    }
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}
