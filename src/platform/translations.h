#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace crinova {

// What installSpanish found.
struct SpanishCatalogues {
    bool qt = false;   // Qt's own, qtbase_es.qm
    bool own = false;  // ours, crinova_es.qm: the texts Qt's catalogue leaves in English
};

// Call before the application is made: Qt's standard dialogs write dates and sizes with the
// system locale (the file chooser's "Date Modified" column, for one), which is read from the
// environment once, so the program asks for Spain's there. The C library's number conversions are
// set back to the C locale by installSpanish, so no library reads "0,5" for a half.
void useSpanishSystemLocale();

// Makes Spanish (Spain) the default locale, keeps the C library's character type UTF-8 (C.UTF-8
// when the machine has no Spanish locale), and installs Qt's Spanish catalogue from `qtFolder`
// and ours from the first of `ownFolders` that holds it (then from `qtFolder`, where the package
// puts it). A missing catalogue is skipped quietly: Qt's standard dialogs then stay in English,
// while every text of the program itself is Spanish anyway. The translators belong to `app`.
SpanishCatalogues installSpanish(QCoreApplication& app, const QString& qtFolder,
                                 const QStringList& ownFolders);

// Where Debian's Qt keeps its catalogues.
QString qtTranslationsFolder();

}  // namespace crinova
