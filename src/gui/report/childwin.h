// TForm1: the window of one workstation report. It runs the core loader with
// the progress window and event pumping, then shows the report on its pages:
// General data, the coloured Config Text, the section and key browser, the
// two check tables, the attached files, the Suggestions text and, in debug
// mode, the report variables.
#pragma once

#include "core/compare/comparison.h"
#include "core/report/browse.h"
#include "core/report/loader.h"
#include "gui/shell/childwindow.h"
#include "gui/support/eventpump.h"
#include "gui/support/longload.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableView;

namespace qmx {

class CheckTableModel;
class LineView;

class TForm1 : public ChildWindow {
    Q_OBJECT
public:
    explicit TForm1(Workspace& workspace, QWidget* parent = nullptr);
    ~TForm1() override;

    // Loads the report at path. An unreadable file is reported through the
    // prompts and the window stays open with what was filled.
    void loadall(const QString& path);
    bool loading() const { return load_.loading(); }

    void ListBox1Click();
    void ListBox2Click();
    void ListBox3Click();
    void CheckBox1Click();
    void Button1Click();

    std::optional<CommandStates> commandStates() const override;
    bool isWorkstationReport() const override { return true; }
    bool loadFile(const QString& path) override
    {
        loadall(path);
        return true;
    }
    // The pages stay empty; the status bar says why.
    void fileNotFound(const QString& path) override;

    // Used by the comparison.
    void loadasection(const QString& section);
    QString LoadaValue(const QString& section, const QString& key) const;

    const ReportDocument& document() const { return doc_; }
    // The loaded report (its store and Sections list) as the comparison
    // reads it; no store while nothing is loaded.
    CompareReport comparisonSource() const override { return {doc_.store.get(), &doc_.sections}; }
    const VariableList* reportVariables() const override { return &doc_.variables; }
    // Walking every section through the Keys list leaves it showing the
    // keys of the report's last section.
    void comparisonDone() override;
    void showSuggestionsPage() override;
    // The longest stretch without window events during the last load.
    qint64 lastLoadMaxGapNs() const { return lastMaxGapNs_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Controls; tests find them by object name.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;
    QWidget* TabSheet8 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit9 = nullptr;
    LineView* RichEdit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QLabel* Label10 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QLabel* Label11 = nullptr;
    LineView* Edit10 = nullptr; // one line, which may be very long
    LineView* Memo1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QTableView* StringGrid2 = nullptr;
    QListWidget* ListBox3 = nullptr;
    LineView* memo2 = nullptr;
    LineView* Output = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    LineView* ListBox4 = nullptr; // one variable a line, sorted
    QStatusBar* StatusBar1 = nullptr;

    void FormCreate();
    void buildGeneralPage();
    void buildConfigTextPage();
    void buildSectionsPage();
    void buildGridPage(QWidget* page, QTableView*& grid, CheckTableModel*& model,
                       const char* gridName, const std::vector<int>& widths,
                       const std::vector<std::pair<QString, QString>>& legend);
    void buildAttachedPage();
    void buildSuggestionsPage();
    void buildVariablesPage();
    void removeVariablesPage();

    // The window's stages after the load, as the progress display counts them.
    static constexpr int kShowStages = 3;
    void showDocument(EventPump& pump, LoadAndShowProgress& progress);
    void showConfigText();
    void showSuggestions();
    void showVariables();
    void runRules(ReportDocument& doc);

    ReportDocument doc_;
    SectionBrowser browser_;
    CheckTableModel* registryModel_ = nullptr;
    CheckTableModel* filesModel_ = nullptr;
    LongLoadGuard load_;
    qint64 lastMaxGapNs_ = 0;
};

} // namespace qmx
