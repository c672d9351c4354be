// The desktop program's Prompt: modal message boxes over the main window.
#pragma once

#include "core/prompt.h"

class QWidget;

class QtPrompt : public gzgl::Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const std::string& text, const std::string& title, gzgl::Icon icon) override;
    bool askYesNo(const std::string& text, const std::string& title, gzgl::Icon icon) override;

private:
    QWidget* parent_;
};
