#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool Translations::install(QCoreApplication &app, const QLocale &locale)
{
    auto *qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;

    const QString name = QStringLiteral("pedal-editor");
    auto *own = new QTranslator(&app);
    for (const QString &folder :
         {QStringLiteral(":/i18n"),
          QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pedal-editor/translations")}) {
        if (own->load(locale, name, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(own);
            return true;
        }
    }
    delete own;
    return false;
}
