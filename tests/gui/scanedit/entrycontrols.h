// The entry dialogs' controls as the tests reach them: by object name.
#pragma once

#include "gui/scanedit/radiogroup.h"
#include "named.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

inline QLineEdit* edit(QObject* w, const char* name)
{
    return named<QLineEdit>(w, name);
}
inline qmx::RadioGroup* group(QObject* w, const char* name)
{
    return named<qmx::RadioGroup>(w, name);
}
inline QCheckBox* box(QObject* w)
{
    return named<QCheckBox>(w, "CheckBox1");
}
inline QPushButton* okButton(QObject* w)
{
    return named<QPushButton>(w, "Button1");
}
