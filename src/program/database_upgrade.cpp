#include "program/database_upgrade.h"

#include "program/picture_store.h"
#include "program/program_database.h"
#include "program/server_settings.h"
#include "program/visit_table.h"

namespace crinova {
namespace {

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool upgradeLocalDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    std::vector<const UpgradeStep*> pending;
    QString reason;
    for (const UpgradeStep& step : upgradeSteps()) {
        if (step.scope == StepScope::ServerOnly) {
            continue;
        }
        bool failed = false;
        const bool needed = step.needed(database, &reason, &failed);
        if (failed) {
            return fail(error,
                        QStringLiteral("No se ha podido leer la base de datos:\n%1").arg(reason));
        }
        if (needed) {
            pending.push_back(&step);
        }
    }
    if (pending.empty()) {
        return true;
    }
    const UpgradeStep* current = nullptr;
    const bool done = database.transaction(
        [&](QString* why) {
            for (const UpgradeStep* step : pending) {
                current = step;
                if (!step->apply(database, folder, why)) {
                    return false;
                }
            }
            current = nullptr;
            return true;
        },
        &reason);
    if (!done && error) {
        *error =
            current
                ? QStringLiteral("No se ha podido preparar %1:\n%2").arg(current->name, reason)
                : QStringLiteral("No se ha podido actualizar la base de datos:\n%1").arg(reason);
    }
    return done;
}

bool upgradeServerDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    const int known = schemaVersion();
    const UpgradeStep* current = nullptr;
    QString reason;
    bool newer = false;
    const bool done = database.transaction(
        [&](QString* why) {
            // Any fixed number: stations that open the same server at once take turns here.
            if (!database
                     .OpenRecordset(QStringLiteral("Select pg_advisory_xact_lock(7310530)"), {},
                                    why)
                     .isOpen()) {
                return false;
            }
            const int version = serverSchemaVersion(database, why);
            if (version < 0) {
                return false;
            }
            if (version > known) {
                newer = true;
                return fail(why, newerSchemaMessage(version));
            }
            if (version == known) {
                return true;
            }
            if (version == 0 &&
                (!createTables(database, why) ||
                 !database.Execute(QStringLiteral("CREATE TABLE esquema (version INTEGER NOT "
                                                  "NULL)"),
                                   {}, why) ||
                 !database.Execute(QStringLiteral("INSERT INTO esquema (version) VALUES (0)"), {},
                                   why))) {
                return false;
            }
            for (int i = version; i < known; ++i) {
                const UpgradeStep& step = upgradeSteps()[static_cast<std::size_t>(i)];
                current = &step;
                if (step.scope != StepScope::LocalOnly && !step.apply(database, folder, why)) {
                    return false;
                }
            }
            current = nullptr;
            return database.Execute(QStringLiteral("UPDATE esquema SET version=?"), {known}, why);
        },
        &reason);
    if (!done && error) {
        *error = newer ? reason
                 : current
                     ? QStringLiteral("No se ha podido preparar %1:\n%2").arg(current->name, reason)
                     : QStringLiteral("No se ha podido preparar la base de datos del servidor:\n%1")
                           .arg(reason);
    }
    return done;
}

}  // namespace

const std::vector<UpgradeStep>& upgradeSteps() {
    static const std::vector<UpgradeStep> steps{
        {QStringLiteral("la tabla de visitas"), visitTableMissing, addVisitTable},
        // The visits' photos live in the station's own folder; the server's rows come later.
        {QStringLiteral("una carpeta de visitas para cada cliente"), visitFoldersNotSeparated,
         separateVisitFolders, StepScope::LocalOnly},
        {QStringLiteral("la tabla del servidor del salón"), serverTableMissing, addServerTable,
         StepScope::LocalOnly},
        {QStringLiteral("la tabla de imágenes"), nullptr, addPictureTable, StepScope::ServerOnly},
    };
    return steps;
}

int schemaVersion() {
    return static_cast<int>(upgradeSteps().size());
}

int serverSchemaVersion(Database& database, QString* error) {
    bool failed = false;
    if (!database.hasTable(QStringLiteral("esquema"), error, &failed)) {
        return failed ? -1 : 0;
    }
    const RecordSet rows = database.OpenRecordset(
        QStringLiteral("Select max(version) As version From esquema"), {}, error);
    return rows.isOpen() ? rows.Fields(QStringLiteral("version")).toInt() : -1;
}

QString newerSchemaMessage(int version) {
    return QStringLiteral(
               "La base de datos del servidor es de una versión de Crinova más nueva (%1) que "
               "la de este programa (%2). Actualice Crinova en este ordenador para trabajar con "
               "ella; mientras tanto el servidor no se toca.")
        .arg(version)
        .arg(schemaVersion());
}

bool upgradeDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    return database.dialect() == Dialect::SQLite ? upgradeLocalDatabase(database, folder, error)
                                                 : upgradeServerDatabase(database, folder, error);
}

}  // namespace crinova
