#include "program/server_backup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QVariantList>

#include "platform/files.h"
#include "platform/system_errors.h"
#include "program/folder_names.h"
#include "program/picture_store.h"

namespace crinova {
namespace {

struct Table {
    QString name;
    QStringList columns;
};

// The columns the program keeps of each table it takes from the server.
const std::vector<Table>& serverTables() {
    static const std::vector<Table> tables{
        {QStringLiteral("cliente"),
         {QStringLiteral("codigocliente"), QStringLiteral("nombrecliente"),
          QStringLiteral("Fprograma")}},
        {QStringLiteral("visita"),
         {QStringLiteral("codigocliente"), QStringLiteral("fecha"), QStringLiteral("posicion"),
          QStringLiteral("fichero")}},
        {QStringLiteral("cabellos"),
         {QStringLiteral("tpersona"), QStringLiteral("largura"), QStringLiteral("tipo"),
          QStringLiteral("color"), QStringLiteral("nombre")}},
    };
    return tables;
}

// Pictures asked for at once: a few megabytes in memory at most.
constexpr qsizetype kPicturesAtOnce = 16;

bool fail(QString* error, const QString& reason) {
    if (error && error->isEmpty()) {
        *error = reason;
    }
    return false;
}

// The rows of every table, in the order of `serverTables()`. A table the database lacks (a backup
// from before visits were kept) has none.
bool readRows(Database& database, std::vector<RecordSet>& rows, QString* error) {
    for (const Table& table : serverTables()) {
        bool failed = false;
        if (!database.hasTable(table.name, error, &failed)) {
            rows.emplace_back(table.columns, std::vector<std::vector<QVariant>>{});
            if (failed) {
                return false;
            }
            continue;
        }
        rows.push_back(
            database.OpenRecordset(QStringLiteral("Select %1 From %2")
                                       .arg(table.columns.join(QStringLiteral(", ")), table.name),
                                   {}, error));
        if (!rows.back().isOpen()) {
            return false;
        }
    }
    return true;
}

bool writePictures(Database& server, const QString& pictures, const ArchiveProgress& progress,
                   QString* error) {
    const ProgramFolder staging(pictures);
    for (const char* top : {"clientes", "fotos"}) {
        // A folder the server has no picture in is restored empty, as the server has it.
        if (!QDir().mkpath(pictures + QLatin1Char('/') + QLatin1String(top))) {
            return fail(error, QStringLiteral("No se ha podido crear la carpeta %1.")
                                   .arg(QDir::toNativeSeparators(pictures)));
        }
    }
    RecordSet names = server.OpenRecordset(
        QStringLiteral("Select nombre From imagen Order By nombre"), {}, error);
    if (!names.isOpen()) {
        return false;
    }
    QStringList batch;
    qint64 written = 0;
    const auto fetchBatch = [&] {
        QString reason;
        const std::vector<PictureFetch> fetched = fetchPictures(server, staging, batch, &reason);
        for (std::size_t i = 0; i < fetched.size(); ++i) {
            if (fetched[i] != PictureFetch::Fetched) {
                return fail(error, reason.isEmpty()
                                       ? QStringLiteral("No se ha podido leer la imagen %1 del "
                                                        "servidor.")
                                             .arg(batch[qsizetype(i)])
                                       : reason);
            }
        }
        written += batch.size();
        batch.clear();
        if (progress) {
            progress(written, names.RecordCount());
        }
        return true;
    };
    for (; !names.Eof(); names.MoveNext()) {
        const QString name = names.Fields(QStringLiteral("nombre"));
        if (!isPictureName(staging, name)) {
            continue;  // never written outside the pictures' folders
        }
        batch << name;
        if (batch.size() == kPicturesAtOnce && !fetchBatch()) {
            return false;
        }
    }
    return batch.isEmpty() || fetchBatch();
}

bool insertRows(Database& database, const Table& table, RecordSet rows, QString* error) {
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table.name, table.columns.join(QStringLiteral(", ")),
                 QStringList(table.columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext()) {
        QVariantList values;
        for (const QString& column : table.columns) {
            values << rows.Value(column);
        }
        if (!database.Execute(insert, values, error)) {
            return false;
        }
    }
    return true;
}

bool replaceRows(const QString& snapshot, const std::vector<RecordSet>& rows, QString* error) {
    Database copy;
    if (!copy.open(snapshot, false, error)) {
        return false;
    }
    return copy.transaction(
        [&](QString* why) {
            for (std::size_t t = 0; t < serverTables().size(); ++t) {
                const Table& table = serverTables()[t];
                if (!copy.Execute(QStringLiteral("DELETE FROM %1").arg(table.name), {}, why)) {
                    return false;
                }
                if (!insertRows(copy, table, rows[t], why)) {
                    return false;
                }
            }
            return true;
        },
        error);
}

// The client pictures of a prepared restore, by their relative names.
QStringList clientPictures(const QString& incoming) {
    const QString root = incoming + QStringLiteral("/clientes");
    QStringList names;
    QDirIterator walk(root, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        names << QStringLiteral("\\clientes\\") + QDir(root)
                                                      .relativeFilePath(walk.next())
                                                      .replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    names.sort();
    return names;
}

bool putFile(Database& server, const ProgramFolder& from, const QString& name, QString* error) {
    QFile file(from.fullPath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error, QStringLiteral("No se ha podido leer %1 de la copia: %2")
                               .arg(name, spanishSystemError(file.errorString())));
    }
    return putPicture(server, from, name, file.readAll(), error);
}

}  // namespace

QString serverPicturesBeside(const QString& snapshot) {
    QString pictures = snapshot;
    pictures.chop(3);  // ".db"
    return pictures + QStringLiteral("-servidor");
}

bool takeServerData(Database& server, const QString& snapshot, const QString& pictures,
                    QString* error, const ArchiveProgress& progress) {
    std::vector<RecordSet> rows;
    const bool read = server.transaction(
        [&](QString* why) {
            // One moment of the server for the rows and the pictures they name.
            return server.Execute(
                       QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY"),
                       {}, why) &&
                   readRows(server, rows, why) && writePictures(server, pictures, progress, why);
        },
        error);
    return read && replaceRows(snapshot, rows, error);
}

int connectionNumber(Database& server) {
    return server.OpenRecordset(QStringLiteral("Select pg_backend_pid() As numero"))
        .Fields(QStringLiteral("numero"))
        .toInt();
}

int otherStations(Database& server, QString* error, int station) {
    const RecordSet others = server.OpenRecordset(
        QStringLiteral("Select count(*) As puestos From pg_stat_activity where datname = "
                       "current_database() and pid <> pg_backend_pid() and pid <> ? and "
                       "application_name = 'crinova'"),
        {station}, error);
    return others.isOpen() ? others.Fields(QStringLiteral("puestos")).toInt() : -1;
}

bool restoreIntoServer(Database& server, const QString& incoming, int station,
                       const std::function<QStringList(Database& copy)>& stylePictures,
                       QString* error, const ArchiveProgress& progress) {
    Database copy;
    if (!copy.open(incoming + QLatin1Char('/') + kDatabase.mid(1), false, error)) {
        return false;
    }
    std::vector<RecordSet> rows;
    if (!readRows(copy, rows, error)) {
        return false;
    }
    const QStringList pictures = clientPictures(incoming) + stylePictures(copy);
    const ProgramFolder from(incoming);
    return server.transaction(
        [&](QString* why) {
            const int others = otherStations(server, why, station);
            if (others != 0) {
                return others < 0 ? false
                                  : fail(why, QStringLiteral("Hay %1 puesto(s) más trabajando con "
                                                             "el servidor.")
                                                  .arg(others));
            }
            for (const char* table : {"visita", "cliente", "cabellos", "imagen"}) {
                if (!server.Execute(QStringLiteral("DELETE FROM ") + QLatin1String(table), {},
                                    why)) {
                    return false;
                }
            }
            for (std::size_t t = 0; t < serverTables().size(); ++t) {
                if (!insertRows(server, serverTables()[t], rows[t], why)) {
                    return false;
                }
            }
            for (qsizetype i = 0; i < pictures.size(); ++i) {
                if (!putFile(server, from, pictures[i], why)) {
                    return false;
                }
                if (progress) {
                    progress(i + 1, pictures.size());
                }
            }
            return true;
        },
        error);
}

}  // namespace crinova
