#include "Unit1.h"
#include "Unit3.h"

#include "app/application.h"
#include "app/fontsubstitutions.h"

#include <QScreen>

#include <memory>

namespace {
// The program places its own windows, which Wayland does not allow; there it runs through
// XWayland unless the user chose a platform.
void preferX11OnWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        (qgetenv("XDG_SESSION_TYPE") == "wayland" ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
} // namespace

int main(int argc, char **argv)
{
    preferX11OnWayland();
    app::Application application(argc, argv);
    app::registerFontSubstitutions();

    auto mainWindow = std::make_unique<TForm1>();
    Form1 = mainWindow.get();
    // One reading window exists from the start and is never shown.
    auto hiddenReader = std::make_unique<TForm3>();
    Form3 = hiddenReader.get();

    centreOnScreen(Form1);
    Form1->show();
    const int result = application.exec();
    Form3 = nullptr;
    return result;
}
