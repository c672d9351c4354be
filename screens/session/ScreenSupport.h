// Small pieces every screen of the program uses: showing an engine outcome
// and moving on with Enter.
#pragma once

#include "core/prompt.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QWidget;
class QDialog;
class QHBoxLayout;
class QLineEdit;
class QDialogButtonBox;
class QPushButton;
class QComboBox;
class QAbstractItemView;
class QToolBar;
class QAction;

// Shows the outcome's message and gives the focus to the child whose object
// name the outcome names (selecting a line edit's text).
void applyOutcome(QWidget* screen, gzgl::Prompt& prompt, const gzgl::Outcome& outcome);

// The hourglass while a piece of work runs, restored however it ends.
struct WaitCursor {
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Enter (or Return) in a watched widget runs its action, typically moving
// the focus to the next field.
class EnterKeys : public QObject {
public:
    explicit EnterKeys(QObject* parent) : QObject(parent) {}
    void on(QWidget* w, std::function<void()> action);
    void moveTo(QWidget* from, QWidget* to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<QObject*, std::function<void()>> actions_;
};

// The 确定/取消 pair every dialog ends with, named cmdOk and cmdCancel;
// Cancel rejects the dialog, OK is left to the caller.
struct OkCancel {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel okCancelButtons(QDialog* dialog);

// Loads Qt's own Simplified Chinese translations, so that the standard
// buttons and dialogs read 确定/取消/是/否. False when they are not installed.
bool installQtChineseTranslations();

// Makes a font with Chinese glyphs the application's font, wherever the
// platform default lacks them. False when no installed font can show
// Simplified Chinese at all.
bool chooseChineseFont();

// Named controls, as the screens' rules and tests find them by name. A
// button made here never becomes the dialog's default on focus, so Enter
// moves between fields instead of pressing it.
QLineEdit* namedEdit(QWidget* owner, const char* name);
QComboBox* namedCombo(QWidget* owner, const char* name);
QPushButton* namedButton(QWidget* owner, const char* name, const QString& text);
// The narrow "…" button beside a box that opens a picker.
QPushButton* pickerButton(QWidget* owner, const char* name, const QString& tip);

// A file box: the edit (named editName, room for widthChars characters of
// a path) and its 浏览(&B)... button (named buttonName) in a row, after the
// label when one is given.
struct FileBox {
    QLineEdit* edit;
    QPushButton* button;
    QHBoxLayout* row;
};
FileBox fileBox(QWidget* owner, const char* editName, const char* buttonName, const QString& label,
                int widthChars);
// The 浏览 of a file to read: an open dialog from the home folder; the
// chosen file goes into the box, a cancel changes nothing.
void browseForFile(QWidget* owner, QLineEdit* box, const QString& title, const QString& filter);
// The filter of the salary text files.
inline const char* const kTextFileFilter = "文本文件 (*.txt *.TXT);;所有文件 (*)";

// A text-only toolbar, named as the screen's toolbar is named, and an
// action on it named by its key, with its tip.
QToolBar* namedToolBar(QWidget* owner, const char* name);
QAction* namedAction(QToolBar* bar, const char* key, const QString& text, const QString& tip = {});

// Commits and closes an edit box open in the view's current cell, which
// stays current: a value still being typed when a button is pressed
// counts as entered.
void commitOpenEdit(QAbstractItemView* view);

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }
