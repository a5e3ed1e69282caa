#include "anthology/paths.h"

#include <QDir>
#include <QFileInfo>

namespace anthology {

QString resolvePath(const QString &windowsName)
{
    QString name = windowsName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = QDir::isAbsolutePath(name);
    QString path = absolute ? QStringLiteral("/") : QDir::currentPath();
    bool searching = true;
    for (const QString &component : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QString chosen = component;
        if (searching && component != QLatin1String(".") && component != QLatin1String("..") &&
            !QFileInfo::exists(path + QLatin1Char('/') + component)) {
            const QStringList entries = QDir(path).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            chosen.clear();
            for (const QString &entry : entries) {
                if (entry.compare(component, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
            }
            if (chosen.isEmpty()) {
                chosen = component;
                searching = false; // nothing below a missing folder can exist
            }
        }
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += chosen;
    }
    return path;
}

} // namespace anthology
