// 计算过程: the trace of one employee's calculation as read-only text, with
// 复制 (the whole text to the clipboard) and 打印.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class frmTrace : public QDialog {
    Q_OBJECT
public:
    frmTrace(const QString& text, QWidget* parent = nullptr);
    QPlainTextEdit* textBox() const { return txtTrace; }
    // 复制: the whole trace onto the clipboard.
    void copyAll();

private:
    void printTrace();
    QPlainTextEdit* txtTrace;
};
