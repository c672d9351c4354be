#include "screens/session/QtPrompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::Icon boxIcon(gzgl::Icon icon) {
    switch (icon) {
    case gzgl::Icon::Information:
        return QMessageBox::Information;
    case gzgl::Icon::Exclamation:
        return QMessageBox::Warning;
    case gzgl::Icon::Critical:
        return QMessageBox::Critical;
    case gzgl::Icon::Question:
        return QMessageBox::Question;
    case gzgl::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtPrompt::message(const std::string& text, const std::string& title, gzgl::Icon icon) {
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool QtPrompt::askYesNo(const std::string& text, const std::string& title, gzgl::Icon icon) {
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
