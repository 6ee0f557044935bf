// TForm2: the "Processing File" window that shows how far a report load has
// got. One exists for the program, over the main window; the report window
// starts it through the workspace, steps it through the core's Progress interface and hides it when
// the load ends.
#pragma once

#include "gui/support/longload.h"

#include <QWidget>

class QProgressBar;

namespace qmx {

class TForm2 : public QWidget, public ProgressDisplay {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Centres the window over `over`, resets the bar and shows it at once.
    void start(const QWidget* over);
    // Over the window it belongs to.
    void start() override { start(parentWidget()); }
    void finish() override;

    void setMaximum(int maximum) override;
    void step() override;
    int position() const { return position_; }
    int maximum() const;

private:
    QProgressBar* ProgressBar1 = nullptr;
    int position_ = 0;
};

} // namespace qmx
