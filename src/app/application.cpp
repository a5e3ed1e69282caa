#include "app/application.h"

#include "app/messagebox.h"

namespace app {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // Only the name: a display name would be appended to every window caption on X11.
    setApplicationName(kApplicationTitle);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        reportError(error);
        return true;
    }
}

} // namespace app
