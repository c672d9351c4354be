// Small helpers of the Qt screen tests: finding a named control and
// clicking a named button, failing the test run when it is missing.
#pragma once

#include <QObject>
#include <QPushButton>
#include <QtGlobal>

namespace gzgl::test {

template <class T> T* child(const QObject* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no child %s", name);
    return c;
}

inline void click(const QObject* w, const char* name) { child<QPushButton>(w, name)->click(); }

} // namespace gzgl::test
