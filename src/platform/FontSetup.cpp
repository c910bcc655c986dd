#include "platform/FontSetup.h"

#include <QFont>
#include <QStringList>

namespace vomra {

void installFontSubstitutes()
{
    const QString standIn = QString::fromLatin1(kSongStandIn);
    for (const QString &name : {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("新宋体"),
                                QStringLiteral("NSimSun")})
        QFont::insertSubstitution(name, standIn);
}

QString songFamily() { return QString::fromLatin1(kSongStandIn); }

} // namespace vomra
