#pragma once

#include <QObject>

class QScreen;

// How the desktop's notification area reports clicks on our icon. A StatusNotifierItem host
// reports an activation as one click and never a double-click; an embedding host (XEmbed) reports
// a click and then a double-click.
bool TrayHostReportsDoubleClick();

// Tells when a notification area appears or goes away: a panel that ends, crashes or restarts.
class TrayHostWatcher : public QObject {
    Q_OBJECT

public:
    explicit TrayHostWatcher(QObject *parent = nullptr);

signals:
    void Changed();

private slots:
    void TrayWindowChanged(QScreen *screen);
};
