#include "program/database_upgrade.h"

#include "program/visit_table.h"

namespace crinova {

const std::vector<UpgradeStep>& upgradeSteps() {
    static const std::vector<UpgradeStep> steps{
        {QStringLiteral("la tabla de visitas"), visitTableMissing, addVisitTable},
        {QStringLiteral("una carpeta de visitas para cada cliente"), visitFoldersNotSeparated,
         separateVisitFolders},
    };
    return steps;
}

bool upgradeDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    std::vector<const UpgradeStep*> pending;
    QString reason;
    for (const UpgradeStep& step : upgradeSteps()) {
        bool failed = false;
        const bool needed = step.needed(database, &reason, &failed);
        if (failed) {
            if (error) {
                *error = QStringLiteral("No se ha podido leer la base de datos:\n%1").arg(reason);
            }
            return false;
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

}  // namespace crinova
