#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class SessionService;

// The shutdown/restart warning: counts 15 seconds down once a second and then shuts the computer
// down or restarts it, as lblShutReb says. OK does it at once; Cancel (Escape) closes the window
// and nothing happens, then or later. It frees itself when it closes.
class TfrmShutReb : public QDialog {
    Q_OBJECT

public:
    explicit TfrmShutReb(SessionService &session, QWidget *parent = nullptr);

    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblSec = nullptr; // the seconds left: the countdown's only state
    QLabel *Label2 = nullptr;
    QLabel *lblShutReb = nullptr; // "выключен!" or "перезагружен!": decides what is done
    QTimer *Timer1 = nullptr;
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QLabel *Label3 = nullptr;

public slots:
    void Timer1Timer();
    void btnOKClick();
    void btnCancelClick();

protected:
    void done(int result) override;

private:
    void CreateControls();
    void CarryOut();

    SessionService &m_session;
};
