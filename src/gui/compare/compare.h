// TfrmCompare: the compare chooser. It lists the open workstation reports
// (the main window's compare list, ticks included) and opens a new result
// window for the ticked ones each time "&Ok" is pressed, staying open
// itself. Created once, hidden, at start-up; shown without blocking.
#pragma once

#include <QDialog>

class QLabel;
class QListView;
class QPushButton;

namespace qmx {

class Workspace;

class TfrmCompare : public QDialog {
    Q_OBJECT
public:
    TfrmCompare(Workspace& workspace, QWidget* parent);

    void BitBtn1Click();
    void BitBtn2Click();

private:
    // "&Ok" is only offered while something is ticked: a comparison of no
    // report would be an empty window.
    void updateOk();

    Workspace& workspace_;
    QLabel* Label1 = nullptr;
    QListView* CheckListBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* FindingsButton = nullptr;
};

} // namespace qmx
