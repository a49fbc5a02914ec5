#include "Displayguard.h"

#include "Commandline.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

struct HeldMessage {
    QtMsgType type;
    QString category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
QList<HeldMessage> heldMessages;

QString NoDisplayMessage()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty() && wayland.isEmpty())
        return QStringLiteral("zarvo: нет графического дисплея (DISPLAY не задан) — программа работает "
                              "только в графическом сеансе\n");
    return QStringLiteral("zarvo: не удалось открыть графический дисплей «")
        + (display.isEmpty() ? wayland : display)
        + QStringLiteral("» — программа работает только в графическом сеансе\n");
}

void HoldMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages.append({type, QString::fromUtf8(context.category ? context.category : ""), text});
        return;
    }
    const QByteArray line = NoDisplayMessage().toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    // Qt would abort after this handler returns; nothing of the program exists yet to clean up.
    std::_Exit(ExitNoDisplay);
}

} // namespace

DisplayGuard::DisplayGuard()
{
    previousHandler = qInstallMessageHandler(HoldMessage);
}

DisplayGuard::~DisplayGuard()
{
    Release();
}

void DisplayGuard::Release()
{
    if (!m_active)
        return;
    m_active = false;
    qInstallMessageHandler(previousHandler);
    const QList<HeldMessage> messages = std::exchange(heldMessages, {});
    for (const HeldMessage &message : messages) {
        const QByteArray category = message.category.toUtf8();
        const QMessageLogContext context(
            nullptr, 0, nullptr, category.isEmpty() ? nullptr : category.constData());
        qt_message_output(message.type, context, message.text);
    }
}
