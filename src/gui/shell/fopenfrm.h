// TFOpen: the file-kind chooser ("File type to open"). It is created with the
// other shared dialogs; no command shows it yet and its button does nothing.
#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qmx {

class TFOpen : public QDialog {
    Q_OBJECT
public:
    explicit TFOpen(QWidget* parent = nullptr);
    int itemIndex() const;

private:
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* items = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace qmx
