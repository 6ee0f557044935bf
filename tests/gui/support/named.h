// Reaches a window's control by its object name, the name the window gives
// it, as the tests see the window from outside. A control that is missing or
// of another type stops the run with its name instead of failing later on a
// null pointer.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

template <class W> W* named(const QObject* root, const char* name)
{
    W* w = root->findChild<W*>(QLatin1String(name));
    if (!w)
        qFatal("no control named %s of the expected type", name);
    return w;
}
