// Display settings of the salary entry screen: department, employee number
// and name filters and the items to show. cmdBegin hands them over as a
// plain struct; the entry screen rebuilds its grid from it.
#pragma once

#include "core/session.h"
#include "items/pickers.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;

class frmSalarySet : public QDialog {
    Q_OBJECT
public:
    // current: the settings in force, when the entry screen is already open.
    frmSalarySet(gzgl::Session& s, std::optional<gzgl::items::SalarySettings> current = std::nullopt,
                 QWidget* parent = nullptr);
    gzgl::items::SalarySettings settings() const;

signals:
    void begun(const gzgl::items::SalarySettings& settings);

private:
    void tickAll(bool on);
    void showCodes(bool on);

    std::vector<gzgl::items::SalarySetItem> items_;
    QLineEdit *txtDep, *txtCode, *txtName;
    QListWidget* lstFcode;
    QCheckBox* chkFcode;
};
