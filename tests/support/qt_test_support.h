// Small helpers of the Qt screen tests: finding a named control and
// clicking a named button, failing the test run when it is missing.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtGlobal>

#include <functional>

namespace gzgl::test {

template <class T> T* child(const QObject* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no child %s", name);
    return c;
}

inline void click(const QObject* w, const char* name) { child<QPushButton>(w, name)->click(); }

// Deals with every modal dialog that opens while it lives: records its name
// and hands it to answer(), rejecting it when answer() returns false. A
// dialog that answer() took but that is still open three seconds later (a
// refused accept, a question of its own) is rejected and listed in stuck,
// so that the test fails with its name instead of waiting forever.
struct ModalWatcher {
    QStringList seen;
    QStringList stuck;
    std::function<bool(QDialog*)> answer = [](QDialog*) { return false; };
    QTimer timer;
    QPointer<QDialog> answered;
    int ticks = 0;
    ModalWatcher() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            if (d->property("watched").toBool()) {
                if (d == answered && ++ticks > 300) {
                    stuck << d->objectName() + ":" + d->windowTitle();
                    answered = nullptr;
                    d->reject();
                }
                return;
            }
            d->setProperty("watched", true);
            seen << d->objectName();
            answered = d;
            ticks = 0;
            if (!answer(d))
                d->reject();
        });
        timer.start();
    }
};

} // namespace gzgl::test
