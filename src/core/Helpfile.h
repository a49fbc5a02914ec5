#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The program's help: a UTF-8 text file of topics. A line "[SHZ_contents0004]" starts a topic;
// the lines up to the next such line are the topic's body, in Markdown. Lines before the first
// topic line are a comment for whoever edits the file and belong to no topic.
class HelpFile
{
public:
    // Reads and splits the file; throws ZarvoError with a user-facing text when it is missing,
    // unreadable or not UTF-8.
    static HelpFile Load(const QString &path);
    static HelpFile Parse(const QString &text);

    QStringList TopicIds() const { return m_order; }
    bool HasTopic(const QString &id) const;
    // The topic's Markdown body without leading and trailing blank lines. Throws ZarvoError when
    // the topic is absent or has no text, so the user never gets an empty help window.
    QString Topic(const QString &id) const;

private:
    QHash<QString, QString> m_topics;
    QStringList m_order;
};

// The places the help file is looked for, in order: beside the executable, the installed data
// folder relative to it (<prefix>/bin -> <prefix>/share/zarvo), then the user's and the system's
// data folders (XDG_DATA_HOME, XDG_DATA_DIRS) under "zarvo".
QStringList HelpFileCandidates(const QString &executableDir);

// The first candidate that exists as a file, or an empty string when there is none.
QString HelpFilePath(const QString &executableDir);
