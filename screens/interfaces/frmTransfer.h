// 本月工资转账公式设置: the task's transfer rules edited in a grid, saved
// after the checks, and the month's vouchers written into the linked
// accounting set. The screen owns the set it was opened with and lets it go
// when it closes. The department column takes codes from the department
// picker, the account columns from the set's chart; the other cells are
// typed. The transfer works from the rules as the grid shows them.
#pragma once

#include "accounting/rules.h"
#include "accounting/store.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLineEdit;
class QMdiArea;
class QTableWidget;
class QToolBar;

class frmTransfer : public QWidget {
    Q_OBJECT
public:
    // Refreshes the month's data and loads the rules; store is the linked
    // set, kept until the screen closes. progress may be null.
    frmTransfer(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress,
                std::unique_ptr<gzgl::accounting::AccountingStore> store, QWidget* parent = nullptr);
    ~frmTransfer() override;

    // The open task's linked set, opened for this screen. A task without a
    // link gets "工资系统帐套路径未设置。"; a set the accounting folder no
    // longer lists is chosen again through frmConnect. A network link the
    // server will not let in without a password asks for it (askDbPassword).
    // Null, with the refusal shown, when nothing can be opened or the
    // password question is cancelled.
    static std::unique_ptr<gzgl::accounting::AccountingStore>
    connectLinkedSet(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent);
    // The screen open in area, or null.
    static frmTransfer* openIn(QMdiArea* area);

    // The toolbar button of that key (Add, Delete, Save, Help, Unite,
    // Trans, TransTime, Exit).
    QAction* action(const QString& key) const;
    // The rules as the grid shows them, a cell still being typed included.
    std::vector<gzgl::accounting::TransferRule> rules() const;
    // Whether the grid differs from the rules last loaded or saved.
    bool modified() const;

    // The toolbar's work, also for the tests.
    void addRule();
    void deleteRule();
    bool saveRules();
    void showHelp();
    void transfer();
    void toggleTime();
    // A double click on a cell: the pickers for departments and accounts,
    // the edit box for the others.
    void editCell(int row, int column);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolbar();
    void showRules(const std::vector<gzgl::accounting::TransferRule>& rules);
    void fitColumns();
    void finishEdit();
    void focusRefusal(const gzgl::accounting::RuleCheck& check);
    std::optional<gzgl::accounting::VoucherDate> typedDate() const;
    template <class F> bool guarded(F&& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    gzgl::SilentProgress silent_;
    std::unique_ptr<gzgl::accounting::AccountingStore> store_;
    std::vector<gzgl::accounting::TransferRule> saved_;

    QToolBar* tlbMnu;
    QAction* unite_;
    QTableWidget* msfForm;
    QWidget* FmTime;
    QLineEdit *TY, *TM, *TD;
};
