#include "program/visit_table.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <utility>
#include <vector>

#include "program/folder_names.h"

namespace crinova {
namespace {

// The visits kept in one client's folder, by the program's own file names only.
std::map<QString, std::vector<std::pair<int, QString>>> visitsOnDisk(const ProgramFolder& folder,
                                                                     const QString& codigo) {
    static const QRegularExpression name(QStringLiteral("^(\\d{8}-\\d{6})-foto([1-6])\\.bmp$"));
    std::map<QString, std::vector<std::pair<int, QString>>> found;
    const QString relative = clientFolderName(codigo);
    const QString dir = folder.fullPath(relative);
    if (!staysInside(folder.fullPath(kClientsFolder), dir)) {
        return found;
    }
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch() ||
            !QDateTime::fromString(match.captured(1), kVisitStampFormat).isValid()) {
            continue;
        }
        found[match.captured(1)].push_back(std::pair<int, QString>{
            match.captured(2).toInt(), relative + QLatin1Char('\\') + file.fileName()});
    }
    return found;
}

}  // namespace

QString visitDateText(const QDateTime& when) {
    return when.toString(Qt::ISODate);
}

bool staysInside(const QString& folder, const QString& path) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(path);
    // A file that does not exist has no canonical path: its folder must then be inside.
    const QString real = file.exists() ? file.canonicalFilePath()
                                       : QFileInfo(file.absolutePath()).canonicalFilePath() +
                                             QLatin1Char('/') + file.fileName();
    return !root.isEmpty() && !real.isEmpty() && real.startsWith(root + QLatin1Char('/'));
}

bool insertVisitRow(Database& database, const QString& codigo, const QString& fecha, int posicion,
                    const QString& fichero, QString* error) {
    return database.Execute(QStringLiteral("INSERT OR REPLACE INTO visita (codigocliente, fecha, "
                                           "posicion, fichero) VALUES (?, ?, ?, ?)"),
                            {codigo, fecha, posicion, fichero}, error);
}

bool visitTableMissing(Database& database, QString* error, bool* failed) {
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select name From sqlite_master where type='table' and name='visita'"), {},
        error);
    *failed = !rows.isOpen();
    return rows.isOpen() && rows.RecordCount() == 0;
}

bool addVisitTable(Database& database, const ProgramFolder& folder, QString* error) {
    if (!database.Execute(QStringLiteral("CREATE TABLE visita (codigocliente TEXT, fecha "
                                         "TEXT, posicion INTEGER, fichero TEXT, PRIMARY KEY "
                                         "(codigocliente, fecha, posicion))"),
                          {}, error)) {
        return false;
    }
    RecordSet clients = database.OpenRecordset(
        QStringLiteral("Select codigocliente From cliente where codigocliente is not null"), {},
        error);
    if (!clients.isOpen()) {
        return false;
    }
    // Two codes that make the same folder name cannot tell whose files those are.
    std::map<QString, QStringList> byFolder;
    for (; !clients.Eof(); clients.MoveNext()) {
        const QString codigo = clients.Fields(QStringLiteral("codigocliente"));
        byFolder[clientFolderName(codigo)] << codigo;
    }
    for (const auto& [relative, codes] : byFolder) {
        if (codes.size() != 1) {
            continue;
        }
        for (const auto& [stamp, photos] : visitsOnDisk(folder, codes.first())) {
            const QString fecha = visitDateText(QDateTime::fromString(stamp, kVisitStampFormat));
            for (const auto& [posicion, fichero] : photos) {
                if (!insertVisitRow(database, codes.first(), fecha, posicion, fichero, error)) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace crinova
