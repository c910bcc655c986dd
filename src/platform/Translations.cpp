#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vomra {

QTranslator *installChineseTranslations()
{
    auto *qt = new QTranslator(QCoreApplication::instance());
    // qt_zh_CN gathers the catalogues of every Qt module installed.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qt->load(QStringLiteral("qt_zh_CN"), folder) && !qt->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        delete qt;
        return nullptr;
    }
    QCoreApplication::installTranslator(qt);
    return qt;
}

} // namespace vomra
