// TAboutBox: the modal information box of Help > About: the program's
// version and the settings file in use.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qmx {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void setSettingsFile(const QString& path);

private:
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QLabel* SettingsFile = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace qmx
