#pragma once

#include "Taskdialog.h"

#include <QDialog>

#include <functional>
#include <optional>

class HelpViewer;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class SoundPlayer;
struct CoreContext;

// The add/change task dialog. It fills its controls once, when it is created: from the settings
// and the clock, and in change mode from the task selected in the main window's list. OK checks
// the input, writes the task's block and has the task list rebuilt. Closing it by any means stops
// the preview sound, clears the open flag and trims the working set; it deletes itself on close.
class TfrmAdd : public QDialog {
    Q_OBJECT

public:
    // Asks the user for a file; returns its full path, or an empty text when cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &qtFilter)>;

    TfrmAdd(CoreContext &ctx, SoundPlayer &player, HelpViewer &help, bool &addFormOpen, bool addMode,
        QWidget *parent = nullptr);
    ~TfrmAdd() override;

    bool AddMode() const { return m_addMode; }
    // The file dialog by default; tests put their own chooser in.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    TaskDialogState State() const;

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void radTypeClick(int index);
    void chkPlaySoundClick();
    void chkShowMessageClick();
    void chkEveryDayClick();
    void btnPlusTimeClick();
    void btnAudioOpenClick();
    void btnAudioPlayClick();
    void btnAudioStopClick();
    void btnOKClick();
    void btnHelpClick();
    void memMessageChange();

private:
    void CreateControls();
    void CreateRemindGroup();
    void CreateTimeGroup();
    void CreateDateGroup();
    void CreateButtons();
    void FillControls();
    void SetState(const TaskDialogState &state);
    void ApplyTypeLayout(int type);
    void ApplyDateEnabling();
    QStringList MemoDisplayLines() const;
    void ShowMessage(const QString &text);
    void Close();

    CoreContext &m_ctx;
    SoundPlayer &m_player;
    HelpViewer &m_help;
    bool &m_openFlag;
    const bool m_addMode;
    std::optional<OpenedTask> m_opened;
    FileChooser m_chooseFile;
    bool m_closed = false;
    QString m_soundFilePath;
    QString m_progFilePath;

    QGroupBox *radType = nullptr;
    QButtonGroup *m_typeButtons = nullptr;
    QLabel *Label13 = nullptr;
    QGroupBox *grpRemindAlso = nullptr;
    QLabel *Label11 = nullptr;
    QCheckBox *chkPlaySound = nullptr;
    QLineEdit *edtSoundFileName = nullptr;
    QPushButton *btnAudioOpen = nullptr;
    QPushButton *btnAudioPlay = nullptr;
    QPushButton *btnAudioStop = nullptr;
    QCheckBox *chkShowMessage = nullptr;
    QPlainTextEdit *memMessage = nullptr;
    QLineEdit *edtProgFileName = nullptr;
    QLineEdit *edtBirthFIO = nullptr;
    QLabel *Label10 = nullptr;
    QGroupBox *grpTimeSettings = nullptr;
    QComboBox *cbxHours = nullptr;
    QComboBox *cbxMinutes = nullptr;
    QComboBox *cbxSeconds = nullptr;
    QGroupBox *grpPlusTime = nullptr;
    QPushButton *btnPlusTime = nullptr;
    QComboBox *cbxPlusHours = nullptr;
    QComboBox *cbxPlusMinutes = nullptr;
    QComboBox *cbxPlusSeconds = nullptr;
    QGroupBox *grpDateSettings = nullptr;
    QComboBox *cbxDay = nullptr;
    QComboBox *cbxMonth = nullptr;
    QComboBox *cbxYear = nullptr;
    QLabel *Label6 = nullptr;
    QCheckBox *chkEveryDay = nullptr;
    QLabel *pnlBirthWarning = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;
};
