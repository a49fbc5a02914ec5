#pragma once

#include <QLabel>

// A label that reads as a link: blue, underlined, hand cursor; a left click emits clicked().
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
