#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace app {

// Caption of every message box and the name the desktop shows for the program.
inline const QString kApplicationTitle = QStringLiteral("Odelane");

enum class MessageIcon { None, Error };

struct MessageBoxRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
};

// Shows a modal box with one OK button. Tests install a hook that records the request
// instead, so no modal loop ever blocks them.
void showMessage(const QString &text, MessageIcon icon);

using MessageHook = std::function<void(const MessageBoxRequest &)>;
void setMessageHook(MessageHook hook);

// An error's text as the user sees it: a full stop is appended when the message is not empty
// and its last character sorts after ".".
QString errorText(const QString &message);

// Reports an error escaping a handler: error icon, caption "Odelane".
void reportError(const std::exception &error);

// Runs one event handler to completion. An error ends it where it arose and is reported, and
// the program goes on; catching here keeps errors from unwinding through Qt's own frames.
template <typename Handler> void runHandler(Handler &&handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        reportError(error);
    }
}

} // namespace app
