#include "app/errors.h"

namespace app {

Error::Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

Error cannotOpenFile(const QString &fileName)
{
    return Error(QStringLiteral("Cannot open file %1").arg(fileName));
}

Error cannotCreateFile(const QString &fileName)
{
    return Error(QStringLiteral("Cannot create file %1").arg(fileName));
}

Error streamWriteError()
{
    return Error(QStringLiteral("Stream write error"));
}

Error unableToWriteTo(const QString &fullPath)
{
    return Error(QStringLiteral("Unable to write to %1").arg(fullPath));
}

} // namespace app
