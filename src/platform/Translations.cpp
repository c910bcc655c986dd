#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vomra {

bool installChineseTranslations()
{
    static QTranslator *installed = nullptr;
    if (installed)
        return true;
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (!qt->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !qt->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    installed = qt;
    return true;
}

} // namespace vomra
