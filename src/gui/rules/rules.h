// Tfrules: the Options dialog. Its "Rules" page edits the named rule sets
// kept in QMXRead.ini, and the editor's text is what the report windows run;
// its "FTP" page holds the connection fields of the configuration update.
// The dialog exists from start-up to program end and writes the settings file
// when it is destroyed.
#pragma once

#include "rules/rulesettings.h"

#include <QDialog>

#include <string>

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

class Prompts;

class Tfrules : public QDialog {
    Q_OBJECT
public:
    // settingsPath: QMXRead.ini in the program's directory. The file is read
    // now when it exists.
    Tfrules(const QString& settingsPath, Prompts& prompts, QWidget* parent = nullptr);
    // FormDestroy: the settings file is written.
    ~Tfrules() override;

    // The current rule text as the editor holds it, lines joined by CR LF.
    std::string ruleText() const;
    const RuleSettings& settings() const { return settings_; }

    void loadrules();
    void saverules();
    void ComboBox1Change(int index);
    void BitBtn2Click();
    void BitBtn1Click();
    void CheckBox1Click();

private:
    // Controls; tests find them by object name.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
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

    void FormCreate();
    void FormDestroy();
    void buildRulesPage();
    void buildFtpPage();
    // The model follows the controls before an operation, the controls the
    // model after it.
    void toModel();
    void fromModel();

    Prompts& prompts_;
    RuleSettings settings_;
};

} // namespace qmx
