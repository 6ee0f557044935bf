// Small helpers for building windows whose controls carry fixed object
// names, so tests and other windows can find them by name.
#pragma once

#include <QLineEdit>
#include <QString>

namespace qmx {

// Creates a control with the given parent and object name.
template <class W, class... Args> W* makeNamed(const char* name, Args&&... args)
{
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(QLatin1String(name));
    return w;
}

inline QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    return makeNamed<QLineEdit>(name, parent);
}

} // namespace qmx
