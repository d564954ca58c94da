#pragma once

#include <QString>
#include <vector>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// Where a step has anything to do: the station's own file, the salon's server, or both. A step
// that is not for a database counts in its version all the same (the server's schema is numbered
// by the steps of this list).
enum class StepScope { Both, LocalOnly, ServerOnly };

// One change that brings a database of an earlier version up to this one. Its SQL is written for
// both dialects, or asks `database.dialect()` where they differ.
struct UpgradeStep {
    QString name;  // what it makes, as a message names it: "la tabla de visitas"
    // Whether the database still needs the step; `failed` when that cannot be read.
    bool (*needed)(Database& database, QString* error, bool* failed);
    // Makes the change; runs inside the upgrade's transaction.
    bool (*apply)(Database& database, const ProgramFolder& folder, QString* error);
    StepScope scope = StepScope::Both;
};

// The steps, oldest first. A later version adds its step at the end.
const std::vector<UpgradeStep>& upgradeSteps();

// Runs the steps the database still needs, in order, in one transaction: all of them or none.
// A database that needs none is not written to. On failure `error` names the step and why.
//
// The station's file tells by each step's `needed`. A server keeps the number of steps done in
// the table `esquema` (its version): the program's tables are created when it has none, the steps
// after that number run, all under a lock so two stations starting at once do it once. A server
// of a later version than this program is refused, unchanged.
bool upgradeDatabase(Database& database, const ProgramFolder& folder, QString* error);

// The version of the server's schema this program makes: the number of steps.
int schemaVersion();
// The version a server's schema has: 0 when it has none yet, -1 (with `error`) when it cannot be
// read.
int serverSchemaVersion(Database& database, QString* error);
// What a server of a later version is refused with.
QString newerSchemaMessage(int version);

}  // namespace crinova
