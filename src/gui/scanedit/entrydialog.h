// The common part of the registry and file entry dialogs: a non-modal tool
// window that builds a parameter line when "&Ok" is pressed, resets its
// fields and hides. The scanner input editor shows it, waits for hidden()
// and then reads resultLine(). Closing it by its title bar hides it without
// building a line or resetting anything.
#pragma once

#include "core/scanedit/scaninput.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qmx {

class RadioGroup;

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // The line of the last "&Ok"; empty before the first.
    QString resultLine() const;

    // "&Ok": build the line, reset, hide.
    void Button1Click();
    // Edit2 is usable exactly while "Only for client version" is checked.
    void CheckBox1Click();

Q_SIGNALS:
    void hidden();

protected:
    EntryDialog(const char* name, const QString& caption, QWidget* parent);
    EntryScope scope() const;
    virtual std::string buildLine() const = 0;
    virtual void resetFields();
    void hideEvent(QHideEvent* event) override;

    // The controls shared by both dialogs, created by the constructor and
    // placed by each dialog's own layout.
    QLineEdit* Edit1 = nullptr;
    RadioGroup* RadioGroup1 = nullptr; // "Read on"
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    std::string result_;
};

// Registry entry dialog: key, value type, platform, client version and
// default value.
class Tfaddreg : public EntryDialog {
    Q_OBJECT
public:
    explicit Tfaddreg(QWidget* parent = nullptr);

protected:
    std::string buildLine() const override;
    void resetFields() override;

private:
    RadioGroup* RadioGroup2 = nullptr; // "Type"
    QLineEdit* Edit3 = nullptr;        // default value
};

// File entry dialog: file name, platform and client version. Its version
// field starts usable and is disabled by each "&Ok".
class TFFile : public EntryDialog {
    Q_OBJECT
public:
    explicit TFFile(QWidget* parent = nullptr);

protected:
    std::string buildLine() const override;
};

} // namespace qmx
