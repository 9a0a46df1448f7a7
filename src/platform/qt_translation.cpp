#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vexo {

QTranslator *installQtTurkishTranslation()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    // Texts Qt takes from the system by the default locale rather than from its catalogue, such as
    // the file kinds of the file dialogs ("unknown"), come in Turkish too.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    return translator;
}

} // namespace vexo
