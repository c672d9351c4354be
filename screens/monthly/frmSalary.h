// 工资录入: the month's input items typed into the working grid of one
// department (msfInput). A cell is edited through the box txtEdit laid
// over it, opened by a double click or a typed character; Enter stores the
// value and moves on over the ticked columns, Escape restores the cell,
// Up and Down store and move within the column. Every accepted value is
// written at once and the row recalculated. The toolbar tlbMenu opens the
// display settings, the one-employee view, the print preview and print,
// and the Excel export. The grid is the one the main window's column-fit
// button works on (ActiveGridScreen 1).
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "monthly/entry.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class ColumnWidthMemory;
class EntryGridModel;
class QAction;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class QToolBar;
class frmInput;
class frmTrace;

class frmSalary : public QWidget {
    Q_OBJECT
public:
    // Runs the opening sequence; progress may be null.
    frmSalary(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr, QWidget* parent = nullptr);
    ~frmSalary() override;

    QTableView* grid() const { return msfInput; }
    EntryGridModel* model() const { return model_; }
    gzgl::monthly::SalaryEntry& entry() { return entry_; }
    QLineEdit* editBox() const { return txtEdit; }
    // A toolbar action by its key ("KeySet", "KeyExcel", ...).
    QAction* action(const QString& key) const;

    // Opens txtEdit over the cell with the given text (the cell's own text
    // selected on a double click, or the character typed). Answers false
    // for a cell that cannot be edited.
    bool openEdit(const QModelIndex& index, const QString& text, bool selectAll);
    // Ends the edit (msfInput_leavecell); false when the entry was refused.
    bool finishEdit();
    // Escape: hides the box, the cell keeps its text.
    void cancelEdit();

    void chooseDepartment(const std::string& depNo);
    void query();
    // The export to a file already chosen (the dialog's path), with or
    // without the employees' account numbers.
    bool exportTo(const QString& path, bool withAccounts = false);
    // The one-employee view of the current row.
    frmInput* openInput();
    // 计算过程 of the current row (the grid's context menu).
    frmTrace* openTrace();
    // Names the PDF file printing falls back to without a printer, in place
    // of the file dialog.
    void setPdfChooser(std::function<QString()> choose) { choosePdf_ = std::move(choose); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    enum class Move { Next, Up, Down };
    void buildToolbar();
    void applyGrid();
    void showDepartment();
    void placeEditBox();
    void finishAndMove(Move m);
    void setCurrentCell(int gridRow, int col);
    // The grid row of the current cell once any edit is finished; nullopt
    // when there is none or the edit was refused.
    std::optional<int> currentGridRow();
    void openSettings();
    void exportExcel();
    void print(bool preview);
    // Runs engine work that reads or writes the database; a failure is
    // shown to the user.
    template <class F> bool guarded(F&& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::SilentProgress silent_;
    gzgl::Progress& progress_;
    gzgl::monthly::SalaryEntry entry_;
    QToolBar* tlbMenu;
    QLineEdit *txtDep, *txtQueryNo, *txtQueryName, *txtEdit;
    QPushButton *cmdDep, *cmdQuery;
    QLabel* lblRs;
    QTableView* msfInput;
    EntryGridModel* model_;
    ColumnWidthMemory* widths_;
    QPointer<frmInput> input_;
    std::function<QString()> choosePdf_;
    int editRow_ = -1, editCol_ = -1;
    std::string editStart_;
    bool ending_ = false;
};
