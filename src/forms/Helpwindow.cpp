#include "Helpwindow.h"

#include "Artwork.h"
#include "Errors.h"
#include "Messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Links between topics are written in the help file as "topic:SHZ_contents0006".
const QString TopicScheme = QStringLiteral("topic");

} // namespace

QPointer<THelpWindow> THelpWindow::s_instance;

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Msg::HelpCaption);
    setWindowIcon(Artwork::AppIcon());
    setAccessibleName(Msg::HelpCaption);
    resize(640, 520);

    m_browser->setOpenLinks(false);
    m_browser->setAccessibleName(QStringLiteral("Текст справки"));
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

THelpWindow *THelpWindow::Instance()
{
    return s_instance.data();
}

THelpWindow *THelpWindow::ShowTopic(const HelpFile &help, const QString &topic)
{
    help.Topic(topic); // throws before any window appears

    // A modal dialog blocks every window that is not its own; help asked for from inside one
    // (F1 in the add dialog) must stay usable, so the help window then belongs to that dialog.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == s_instance)
        modal = nullptr;
    if (!s_instance) {
        s_instance = new THelpWindow(modal);
    } else if (s_instance->parentWidget() != modal) {
        s_instance->setParent(modal, Qt::Window);
    }

    THelpWindow *window = s_instance.data();
    window->m_help = help;
    window->ShowHelpTopic(topic);
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void THelpWindow::ShowHelpTopic(const QString &topic)
{
    const QString body = m_help.Topic(topic);
    m_topic = topic;
    m_browser->setMarkdown(body);
    m_browser->moveCursor(QTextCursor::Start);
}

void THelpWindow::FollowLink(const QUrl &url)
{
    if (url.scheme() != TopicScheme) {
        QDesktopServices::openUrl(url);
        return;
    }
    try {
        ShowHelpTopic(url.path());
    } catch (const ZarvoError &error) {
        QMessageBox box(QMessageBox::NoIcon, Msg::AppTitle, error.text(), QMessageBox::Ok, this);
        box.exec();
    }
}

void THelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
