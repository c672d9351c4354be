#include "screens/period/frmBackUp.h"

#include "period/backup.h"
#include "screens/period/YearMonthRow.h"
#include "screens/period/frmPath.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

YearMonthText stepMonth(const QString& year, const QString& month, int by) {
    bool yearOk = false, monthOk = false;
    int y = year.trimmed().toInt(&yearOk);
    int m = month.trimmed().toInt(&monthOk);
    if (!yearOk || !monthOk || m < 1 || m > 12)
        return {year, month};
    m += by;
    if (m > 12) {
        m = 1;
        ++y;
    } else if (m < 1) {
        m = 12;
        --y;
    }
    if (y < 1 || y > 9999)
        return {year, month};
    return {QString::number(y), QStringLiteral("%1").arg(m, 2, 10, QChar('0'))};
}

namespace {

// Up and Down in the year or month box step the month as the arrows do.
class ArrowKeys : public QObject {
public:
    ArrowKeys(QObject* parent, std::function<void(int)> step) : QObject(parent), step_(std::move(step)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                step_(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> step_;
};

QToolButton* arrow(QWidget* owner, const char* name, Qt::ArrowType type) {
    auto* b = new QToolButton(owner);
    b->setObjectName(name);
    b->setArrowType(type);
    b->setAutoRepeat(true);
    return b;
}

} // namespace

frmBackUp::frmBackUp(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmBackUp");
    setWindowTitle(QStringLiteral("按月备份"));

    const YearMonthRow ym = yearMonthRow(this, QStringLiteral("备份日期："));
    txtYear = ym.year;
    txtMonth = ym.month;
    // The up/down pair behind the month steps through the months.
    auto* up = arrow(this, "cmdUp", Qt::UpArrow);
    auto* down = arrow(this, "cmdDown", Qt::DownArrow);
    ym.row->insertWidget(ym.row->count() - 1, up);
    ym.row->insertWidget(ym.row->count() - 1, down);

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ym.row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const gzgl::period::BackupStart start = gzgl::period::openBackup(s_);
    txtYear->setText(qs(start.year));
    txtMonth->setText(qs(start.month));

    auto* keys = new EnterKeys(this);
    keys->moveTo(txtYear, txtMonth);
    keys->moveTo(txtMonth, cmdOk);
    auto* arrows = new ArrowKeys(this, [this](int by) { step(by); });
    txtYear->installEventFilter(arrows);
    txtMonth->installEventFilter(arrows);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(cmdOk, &QPushButton::clicked, this, &frmBackUp::confirm);
}

void frmBackUp::step(int by) {
    const YearMonthText next = stepMonth(txtYear->text(), txtMonth->text(), by);
    txtYear->setText(next.year);
    txtMonth->setText(next.month);
}

void frmBackUp::confirm() {
    const gzgl::period::BackupDate date =
        gzgl::period::confirmBackupDate(s_, ss(txtYear->text()), ss(txtMonth->text()));
    if (!date.outcome.ok) {
        applyOutcome(this, p_, date.outcome);
        return;
    }
    frmPath path(s_, p_, progress_, gzgl::period::kPathMonthBackup, this);
    path.setPeriod(date.period);
    path.exec();
    // Without a completed backup the month can be changed and tried again.
    const gzgl::period::PathResult done = gzgl::period::finishBackup(s_);
    if (!done.loginAgain)
        return;
    loginAgain_ = true;
    applyOutcome(this, p_, done.outcome);
    accept();
}
