#pragma once

#include <QString>

#include <exception>

namespace app {

// The one error type of the program. Handlers never catch it: it ends the handler where it
// arose and the application object shows its message in a message box.
class Error : public std::exception {
public:
    explicit Error(QString message);

    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The platform's own wording of the file and stream errors, with the name as the program
// passed it (relative names stay relative).
Error cannotOpenFile(const QString &fileName);
Error cannotCreateFile(const QString &fileName);
Error streamWriteError();
Error unableToWriteTo(const QString &fullPath);

} // namespace app
