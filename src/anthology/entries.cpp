#include "anthology/entries.h"

namespace anthology {

QString entryFileName(int index)
{
    if (index < 0 || index >= kEntryCount)
        return {};
    return QStringLiteral("data\\Odelane\\%1.txt").arg(index + 1, 2, 10, QLatin1Char('0'));
}

} // namespace anthology
