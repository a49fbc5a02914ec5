#pragma once

#include <QDialog>
#include <QTimer>

class QFrame;
class QLabel;

// The farewell window: borderless, 285 × 85, centred, above other windows; it closes itself
// after 500 ms and the user cannot close it earlier.
class TfrmEnd final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmEnd(QWidget *parent = nullptr);

    QFrame *Bevel1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QTimer Timer1;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Timer1Timer();
    bool m_timeUp = false;
};
