// Tfrules: the Options dialog, a view of the workspace's settings model. Its
// "Rules" page edits the named rule sets kept in QMXRead.ini, and the
// editor's text is what the report windows run; its "FTP" page holds the
// connection fields and shows the workspace's configuration update. Every
// edit goes straight into the model, which the workspace writes at program
// end.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace qmx {

class ConfigUpdate;
class Prompts;
class SettingsModel;
class Workspace;

class Tfrules : public QDialog {
    Q_OBJECT
public:
    // The workspace's settings must have been opened.
    explicit Tfrules(Workspace& workspace, QWidget* parent = nullptr);
    // A running update is cancelled.
    ~Tfrules() override;

    // The current rule text as the editor holds it, lines joined by CR LF.
    std::string ruleText() const;

    void loadrules();
    void saverules();
    void ComboBox1Change(int index);
    void BitBtn2Click();
    void BitBtn1Click();
    void CheckBox1Click();
    // "&Update Now": fetches the files from the FTP server and reloads the
    // settings. Events run while it waits; hiding or destroying the dialog
    // cancels it.
    void Button1Click();
    bool updating() const;
    // "&Close": hides the dialog and writes the settings file.
    void CloseButtonClick();
    // The names of the last listing.
    const std::vector<std::string>& fileNames() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    // Controls; tests find them by object name.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* TestOnReports = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QPushButton* Button1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QPushButton* CloseButton = nullptr;

    void FormCreate();
    void buildRulesPage(Workspace& workspace);
    void buildFtpPage();
    void connectModel();
    // The model follows the controls as they change, the controls the model
    // whenever it is reset.
    void toModel();
    void fromModel();
    void updateButton1();
    void showStatus(const QString& text);

    Workspace& workspace_;
    Prompts& prompts_;
    SettingsModel& model_;
    ConfigUpdate& update_;
    // Set while the controls are filled from the model.
    bool filling_ = false;
};

} // namespace qmx
