// 银行报盘文件格式定义: the task's bank template (the field rows, the first
// and last line, the department list) edited and saved, and the month's
// bank file written, previewed as a control list and copied to a folder
// standing for the floppy disk. The options below the template are not
// stored: every opening starts from their defaults.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "exchange/bank.h"

#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolBar;

class frmBP : public QDialog {
    Q_OBJECT
public:
    // Refreshes the month's data and loads the task's template; the lines a
    // damaged template file lost are reported once. progress may be null.
    frmBP(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr, QWidget* parent = nullptr);

    // The template as the controls show it, and the unsaved options.
    gzgl::exchange::BankTemplate currentTemplate() const;
    gzgl::exchange::BankOptions options() const;
    // The toolbar button of that key (File, Print, Disk, Exit).
    QAction* action(const QString& key) const;
    // Replaces the folder dialog of "Disk" (an empty answer cancels), for
    // scripted use.
    void setFolderChooser(std::function<QString()> choose) { chooseFolder_ = std::move(choose); }

    // The buttons' work, also for the tests.
    void cmdOk_Click();
    void cmdMove_Click(int delta);
    void cmdDel_Click();
    void cmdCancel_Click();
    void addDepartment();
    void removeDepartments();
    void writeFile();
    void printList();
    void copyToDisk();
    void cycle(int row, int column);

private:
    void buildToolbar();
    void showRows(const std::vector<gzgl::exchange::BankField>& rows, int current);
    void showDepartments(const std::vector<std::string>& entries, int current);
    void fitColumns();
    void finishEdit();
    // A template check before the file or the list is made from it; false
    // (with the message shown and the cell chosen) when it is refused.
    bool checked(gzgl::exchange::BankTemplate& tpl);
    void focusCell(const std::string& rowCol);
    template <class F> void guarded(F&& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    gzgl::SilentProgress silent_;
    std::function<QString()> chooseFolder_;

    QToolBar* tlbMnu;
    QTableWidget* msfModel;
    QPushButton* cmdOk;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdDel;
    QPushButton* cmdCancel;
    QLineEdit* txtHead;
    QLineEdit* txtTail;
    QComboBox* CmDep;
    QListWidget* txtDep;
    QPushButton* cmdSel0;
    QPushButton* cmdSel1;
    QLineEdit* txtName;
    QComboBox* Cmbfg;
    QCheckBox* CKXH;
    QCheckBox* CKZJ;
    QCheckBox* chkBank;
};
