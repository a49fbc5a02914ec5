#pragma once

#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

class HelpViewer;
class LinkLabel;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class TAnimationEffect;

// The About window: the program's picture, version, date, author, contact links and testers.
// It opens and closes with an outline animation, sets the opener's flag while it exists and
// frees itself when closed.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    // Hands an address to the desktop ("open" it); the default is QDesktopServices::openUrl.
    using UrlOpener = std::function<void(const QUrl &)>;

    TfrmAbout(QWidget *parent, bool &aboutFormOpen, HelpViewer &help, UrlOpener openUrl = {});
    ~TfrmAbout() override;

    // Opens the About window modally, or, when one is open already, brings it forward.
    // OK, Enter, Alt+F4 and the close box all end here: the window closes and frees itself.
    void done(int result) override;

    static void ShowAbout(QWidget *parent, bool &aboutFormOpen, HelpViewer &help, UrlOpener openUrl = {});

    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label5 = nullptr;
    LinkLabel *Label6 = nullptr;
    QLabel *Label8 = nullptr;
    LinkLabel *Label7 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    TAnimationEffect *AnimationEffect1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormClose();
    void FormKeyUp(int key);
    void BitBtn1Click();
    void Label6Click();
    void Label7Click();

    bool &m_aboutFormOpen;
    HelpViewer &m_help;
    UrlOpener m_openUrl;
};

// The open About window, if any.
extern QPointer<TfrmAbout> frmAbout;
