#pragma once

#include "Settingsdialog.h"

#include <QDialog>

#include <functional>

class HelpViewer;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct CoreContext;

// The settings dialog: the ten values of section "Settings" on three tabs, read once when it is
// created. OK writes all ten, switches autorun for the running executable, closes and has the task list
// rebuilt; any other way of closing writes nothing. It deletes itself on close.
class TfrmSettings : public QDialog {
    Q_OBJECT

public:
    using FileChooser = std::function<QString(QWidget *parent, const QString &qtFilter)>;

    TfrmSettings(CoreContext &ctx, HelpViewer &help, bool &settingsFormOpen, QWidget *parent = nullptr);
    ~TfrmSettings() override;

    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    SettingsDialogValues Values() const;

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void btnAudioOpenClick();
    void BitBtn1Click();
    void btnOKClick();
    void btnHelpClick();

private:
    void CreateGeneralTab();
    void CreateFilesTab();
    void CreateMiscTab();
    void CreateMissedReportCheck(QWidget *page);
    void CreateButtons();
    void SetValues(const SettingsDialogValues &values);

    CoreContext &m_ctx;
    HelpViewer &m_help;
    bool &m_openFlag;
    FileChooser m_chooseFile;
    bool m_closed = false;

    QTabWidget *PageControl1 = nullptr;
    QCheckBox *chkRunOnStart = nullptr;
    QCheckBox *chkMinimaze = nullptr;
    QCheckBox *chkPlaySound = nullptr;
    QLineEdit *edtSoundFileName = nullptr;
    QPushButton *btnAudioOpen = nullptr;
    QLineEdit *edtProgFileName = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QComboBox *cbxPlusHours = nullptr;
    QComboBox *cbxPlusMinutes = nullptr;
    QComboBox *cbxPlusSeconds = nullptr;
    QCheckBox *chkMessage = nullptr;
    QComboBox *cbxSimvCount = nullptr;
    QCheckBox *chkMissedReport = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;
};
