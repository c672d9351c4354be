// The fields that the add and change dialogs of an item share, and the way
// they read into and show an ItemFields.
#pragma once

#include "items/items.h"

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;
class QSpinBox;
class QWidget;
class EnterKeys;

struct ItemForm {
    QLineEdit* txtSubject;
    QComboBox* cmbKind;
    QLineEdit* txtPrec;
    QCheckBox* chkShow;
    QSpinBox* txtWidth;
    QCheckBox* chkPrint;
    QCheckBox* chkChange;
    QLineEdit* txtChange;
    QWidget* form; // the laid-out fields

    // Builds the fields inside dialog; the type box starts without a choice
    // and shows "请选择数据类型！".
    static ItemForm build(QDialog* dialog);
    // The fields as typed; a type box without a choice reads as the prompt.
    gzgl::items::ItemFields read() const;
    void show(const gzgl::items::ItemFields& f);
    // Precision only for numbers, the fixed value only for fixed items.
    void followType();
    // Enter moves on to the next enabled field; after the last, runs last.
    void chainEnter(EnterKeys* keys, std::function<void()> last);
};
