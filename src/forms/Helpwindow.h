#pragma once

#include "Helpfile.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;
class QUrl;

// The help window "Справка Zarvo": one topic of the help file at a time, as formatted text. There
// is at most one; asking for help again shows the new topic in the window already open.
class THelpWindow : public QWidget
{
    Q_OBJECT

public:
    // Shows `topic` of `help` in the help window, creating it when none is open. Throws
    // ZarvoError (and opens nothing new) when the topic is missing.
    static THelpWindow *ShowTopic(const HelpFile &help, const QString &topic);
    // The open help window, or nullptr.
    static THelpWindow *Instance();

    QString CurrentTopic() const { return m_topic; }
    QTextBrowser *Browser() const { return m_browser; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    explicit THelpWindow(QWidget *parent);

    void ShowHelpTopic(const QString &topic);
    void FollowLink(const QUrl &url);

    HelpFile m_help;
    QString m_topic;
    QTextBrowser *m_browser = nullptr;

    static QPointer<THelpWindow> s_instance;
};
