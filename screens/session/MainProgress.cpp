#include "screens/session/MainProgress.h"

#include "screens/session/ScreenSupport.h"
#include "screens/session/frmMain.h"

#include <QApplication>
#include <QCursor>

MainProgress::~MainProgress() {
    if (busy_)
        end();
}

void MainProgress::begin(const std::string& status, int maximum) {
    status_ = status;
    value_ = 0;
    maximum_ = maximum;
    if (main_)
        main_->setProgress(0, maximum, qs(status));
    if (!busy_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
}

void MainProgress::step() {
    ++value_;
    if (main_)
        main_->setProgress(value_, maximum_, qs(status_));
}

void MainProgress::end() {
    if (main_)
        main_->setProgress(0, 0, QString());
    if (busy_)
        QApplication::restoreOverrideCursor();
    busy_ = false;
}
