#pragma once

#include <QString>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// One change that brings a database of an earlier version up to this one.
struct UpgradeStep {
    QString name;  // what it makes, as a message names it: "la tabla de visitas"
    // Whether the database still needs the step; `failed` when that cannot be read.
    bool (*needed)(Database& database, QString* error, bool* failed);
    // Makes the change; runs inside the upgrade's transaction.
    bool (*apply)(Database& database, const ProgramFolder& folder, QString* error);
};

// The steps, oldest first. A later version adds its step at the end.
const std::vector<UpgradeStep>& upgradeSteps();

// Runs the steps the database still needs, in order, in one transaction: all of them or none.
// A database that needs none is not written to. On failure `error` names the step and why.
bool upgradeDatabase(Database& database, const ProgramFolder& folder, QString* error);

}  // namespace crinova
