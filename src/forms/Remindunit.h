#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;
class SoundPlayer;

// The reminder window: a borderless skinned notice that stays above other windows, shows a title
// and a message, plays its sound each time it becomes active, and is closed with OK. It frees
// itself when it closes.
class TfrmRemind : public QDialog {
    Q_OBJECT

public:
    explicit TfrmRemind(SoundPlayer &sound, QWidget *parent = nullptr);

    // Shows the text centred in the message box.
    void SetMessage(const QString &text);

    QLabel *Image1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QTextEdit *Memo1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblFileName = nullptr; // the sound to play; "NULL" for none

public slots:
    void BitBtn1Click();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void CreateControls();
    void FormActivate();
    void Image1MouseDown();

    SoundPlayer &m_sound;
    bool m_moving = false; // the picture was pressed: the window system may be moving the window
    bool m_deactivatedByMove = false;
};
