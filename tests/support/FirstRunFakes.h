#pragma once

#include "Ports.h"
#include "support/RecordingHelp.h"
#include "support/RecordingMessages.h"

#include <QStringList>

// Plain stand-ins for what first-run setup asks of the windows. Every call lands in one shared
// log, so tests see what was asked and in which order.
class FakeMainWindow final : public MainWindowGeometry
{
public:
    explicit FakeMainWindow(QStringList &log)
        : m_log(log)
    {
    }

    int left = 10;
    int top = 20;
    int width = 551;
    int height = 308;
    int screenWidth = 1280;
    int screenHeight = 800;

    int Left() const override { return left; }
    int Top() const override { return top; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetLeft(int value) override { record(QStringLiteral("left"), left = value); }
    void SetTop(int value) override { record(QStringLiteral("top"), top = value); }
    void SetWidth(int value) override { record(QStringLiteral("width"), width = value); }
    void SetHeight(int value) override { record(QStringLiteral("height"), height = value); }
    int ScreenWidth() const override { return screenWidth; }
    int ScreenHeight() const override { return screenHeight; }

private:
    void record(const QString &what, int value) { m_log << what + QLatin1Char('=') + QString::number(value); }
    QStringList &m_log;
};

// The three together, as the main window provides them.
struct FakeFirstRunUi
{
    QStringList log;
    FakeMainWindow window {log};
    RecordingMessages messages {log};
    RecordingHelp help {log};
};
