#pragma once

#include <QApplication>

namespace app {

// The application object: carries the title and turns an error escaping any event handler
// into the error message box, after which the program goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace app
