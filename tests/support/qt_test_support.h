// Small helpers of the Qt screen tests: finding a named control and
// clicking a named button, failing the test run when it is missing.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
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
// and hands it to answer(), rejecting it when answer() returns false.
struct ModalWatcher {
    QStringList seen;
    std::function<bool(QDialog*)> answer = [](QDialog*) { return false; };
    QTimer timer;
    ModalWatcher() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || d->property("watched").toBool())
                return;
            d->setProperty("watched", true);
            seen << d->objectName();
            if (!answer(d))
                d->reject();
        });
        timer.start();
    }
};

} // namespace gzgl::test
