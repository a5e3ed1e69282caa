#include "app/messagebox.h"

#include "app/errors.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

namespace {
MessageHook &hook()
{
    static MessageHook s_hook;
    return s_hook;
}
} // namespace

void setMessageHook(MessageHook h)
{
    hook() = std::move(h);
}

void showMessage(const QString &text, MessageIcon icon)
{
    const MessageBoxRequest request{text, kApplicationTitle, icon};
    if (hook()) {
        hook()(request);
        return;
    }
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    request.caption, request.text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

QString errorText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void reportError(const std::exception &error)
{
    const auto *ours = dynamic_cast<const Error *>(&error);
    const QString message = ours ? ours->message() : QString::fromUtf8(error.what());
    showMessage(errorText(message), MessageIcon::Error);
}

} // namespace app
