// 工资票面分配处理: the banknote denomination sheet of a department. The
// department field opens on the first lowest-level department; 确定
// computes the sheet into msfDivide (employee rows for a lowest-level
// department, department rows otherwise, the total row when
// 统计分割总结果 is ticked) and 打印预览 shows it as 票额分割表.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "exchange/divide.h"
#include "screens/session/GridWidths.h"

#include <QAbstractTableModel>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

// The sheet as the grid shows it: a view over the screen's DivideSheet.
class DivideModel : public QAbstractTableModel, public Utf8CellSource {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setSheet(const gzgl::exchange::DivideSheet& sheet);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    const std::string* utf8Cell(int row, int column) const override;

private:
    std::vector<std::string> headings_ = gzgl::exchange::DivideSheet{}.headings();
    std::vector<std::vector<std::string>> cells_;
    bool total_ = false;
};

class frmDivide : public QWidget {
    Q_OBJECT
public:
    // Runs the month-data refresh and fills the department field; progress
    // may be null.
    frmDivide(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
              QWidget* parent = nullptr);

    QTableView* grid() const { return msfDivide; }
    const gzgl::exchange::DivideSheet& sheet() const { return sheet_; }

    // The buttons' work, also for the tests.
    void cmdDivide();
    void cmdPreview_Click();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void showSheet();
    template <class F> bool guarded(F&& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::SilentProgress silent_;
    gzgl::Progress& progress_;
    gzgl::exchange::DivideSheet sheet_;

    QLineEdit* txtDep;
    QPushButton* cmdDep;
    QCheckBox* chkResult;
    QPushButton* cmdOk;
    QPushButton* cmdPreview;
    QTableView* msfDivide;
    DivideModel* model_;
    ColumnWidthMemory* widths_;
};
