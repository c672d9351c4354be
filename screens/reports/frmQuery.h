// 工资查询: the result of the salary query in the grid msfQuery — the
// employees' salary lines of the queried months and the total row — with
// its toolbar: the conditions again, the delimited export, the Excel
// export, preview, print and exit.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "reports/query.h"
#include "screens/reports/frmQuerySet.h"
#include "screens/session/GridWidths.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>

class QAction;
class QMdiArea;
class QTableView;
class QToolBar;

// The result as the grid shows it: the employee rows, then the total row.
class QueryModel : public QAbstractTableModel, public Utf8CellSource {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setResult(const gzgl::reports::QueryResult* result);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    const std::string* utf8Cell(int row, int column) const override;

private:
    const gzgl::reports::QueryResult* r_ = nullptr;
};

class frmQuery : public QWidget {
    Q_OBJECT
public:
    // The column-fit button's number for this grid (ActiveGridScreen).
    static constexpr int kScreenId = 2;

    // progress may be null (no status shown while a query or export runs).
    frmQuery(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
             QWidget* parent = nullptr);
    ~frmQuery() override;

    // The result window already open in the area, or nullptr.
    static frmQuery* openIn(QMdiArea* area);

    // Shows the result of a query run on these conditions.
    void showResult(const gzgl::reports::QueryConditions& request, gzgl::reports::QueryResult result);

    QTableView* grid() const { return msfQuery; }
    const gzgl::reports::QueryResult& result() const { return result_; }
    QAction* action(const QString& key) const;

    // The Excel export asks for its file through this (title, filter);
    // an empty answer cancels. Replaceable for scripted use.
    using FileChooser = std::function<QString(const QString& title, const QString& filter)>;
    void setFileChooser(FileChooser choose) { chooseFile_ = std::move(choose); }
    // The delimited export dialog is handed to this before it runs, so a
    // script can fill and confirm it; by default it runs modally.
    void setSaveDialogRunner(std::function<void(QDialog&)> run) { runSave_ = std::move(run); }

    // The toolbar's work, also for the tests.
    void queryAgain();
    void saveDelimited();
    void saveExcel();
    void print(bool preview);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    template <class F> bool guarded(F&& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::SilentProgress silent_;
    gzgl::Progress* progress_;
    gzgl::reports::QueryConditions request_;
    gzgl::reports::QueryResult result_;
    FileChooser chooseFile_;
    std::function<void(QDialog&)> runSave_;

    QToolBar* tlbMenu;
    QTableView* msfQuery;
    QueryModel* model_;
    ColumnWidthMemory* widths_;
};
