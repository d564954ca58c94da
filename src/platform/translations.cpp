#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <langinfo.h>

#include <clocale>

namespace crinova {
namespace {

bool install(QCoreApplication& app, const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

}  // namespace

void useSpanishSystemLocale() {
    qputenv("LC_ALL", "es_ES.UTF-8");
    qputenv("LANGUAGE", "es_ES:es");
}

SpanishCatalogues installSpanish(QCoreApplication& app, const QString& qtFolder,
                                 const QStringList& ownFolders) {
    std::setlocale(LC_NUMERIC, "C");
    // The C library's character type must be UTF-8 whatever locales the machine has: under plain
    // "C" (no Spanish locale installed) a file name with "ñ" cannot go into a backup or come out
    // of one. C.UTF-8 is always there on Debian.
    if (QByteArray(nl_langinfo(CODESET)) != "UTF-8") {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    SpanishCatalogues found;
    // The translator installed last is asked first: ours only fills the gaps in Qt's, so the
    // order does not matter for the texts, only for speed.
    found.qt = install(app, QStringLiteral("qtbase_es"), {qtFolder});
    found.own = install(app, QStringLiteral("crinova_es"), QStringList(ownFolders) << qtFolder);
    return found;
}

QString qtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

}  // namespace crinova
