// Tsrvrcfg: the window of one server configuration report. It parses the
// report with the core parser, letting window events run during the load,
// and shows it on eight pages: the analysis (patches, modules, server
// fields), the whole text, the two start-up command files, the two DOS
// start-up files, the volumes and interrupts tables, and three empty pages.
#pragma once

#include "gui/shell/childwindow.h"
#include "gui/support/longload.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QTabWidget;
class QTreeWidget;

namespace qmx {

class EventPump;
class LineView;
struct ServerReport;

class Tsrvrcfg : public ChildWindow {
    Q_OBJECT
public:
    explicit Tsrvrcfg(Workspace& workspace, QWidget* parent = nullptr);

    // Loads and parses the report at path. A file that cannot be opened is
    // reported through the prompts and the window stays empty.
    // False when the file could not be read.
    bool loadall(const QString& path);
    bool loading() const { return load_.loading(); }
    // Opened by the frame; the window takes no part in the document
    // commands, so it leaves their states as they are.
    bool loadFile(const QString& path) override { return loadall(path); }
    // The longest stretch without window events during the last load.
    qint64 lastLoadMaxGapNs() const { return lastMaxGapNs_; }

    QString panelText(int index) const;
    int panelWidth(int index) const;

    QTabWidget* PageControl1 = nullptr;
    std::array<QWidget*, 8> TabSheets{};
    QListWidget* ListBox1 = nullptr; // patches
    QListWidget* ListBox2 = nullptr; // modules
    QListWidget* ListBox3 = nullptr; // complete patch sets (never filled)
    QLabel* Label2 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    LineView* Memo1 = nullptr;
    LineView* Memo2 = nullptr;
    LineView* Memo3 = nullptr;
    LineView* Memo4 = nullptr;
    LineView* Memo5 = nullptr;
    QTreeWidget* ListView1 = nullptr; // volumes
    QTreeWidget* ListView2 = nullptr; // interrupts
    QStatusBar* StatusBar1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildAnalysisPage();
    void buildFilesPage(QWidget* page, const QString& first, LineView*& memoA, const char* nameA,
                        const QString& second, LineView*& memoB, const char* nameB, QLabel* note);
    void buildTablesPage();
    void buildStatusBar();
    void showReport(const ServerReport& r, EventPump& pump);

    std::array<QLabel*, 5> panels_{};
    LongLoadGuard load_;
    qint64 lastMaxGapNs_ = 0;
};

} // namespace qmx
