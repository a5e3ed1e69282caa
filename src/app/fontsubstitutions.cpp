#include "app/fontsubstitutions.h"

#include <QFont>
#include <QStringList>

namespace app {

void registerFontSubstitutions()
{
    const QString ming = QStringLiteral("AR PL UMing CN");
    const QString hei = QStringLiteral("WenQuanYi Zen Hei");
    const QString sans = QStringLiteral("Liberation Sans");
    QFont::insertSubstitutions(QStringLiteral("新宋体"), {ming});
    QFont::insertSubstitutions(QStringLiteral("宋体"), {ming});
    QFont::insertSubstitutions(QStringLiteral("NSimSun"), {ming});
    QFont::insertSubstitutions(QStringLiteral("SimSun"), {ming});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {hei});
    QFont::insertSubstitutions(QStringLiteral("SimHei"), {hei});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {sans});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {sans});
}

} // namespace app
