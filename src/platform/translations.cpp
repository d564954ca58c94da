#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
