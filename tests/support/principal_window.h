#pragma once

#include <QtTest>
#include <memory>

#include "main_window/principal.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "recording_services.h"
#include "scripted_dialogs.h"
#include "test_folder.h"

namespace crinova::test {

// The main window over a program folder of the test's own (a copy of the samples).
struct PrincipalWindow {
    explicit PrincipalWindow(TestProgramFolder::Contents contents = TestProgramFolder::Samples)
        : folder(contents) {}

    TestProgramFolder folder;
    Database database;
    ScriptedDialogs dialogs;
    RecordingSystem system;
    RecordingPrinter printer;
    std::unique_ptr<Principal> principal;

    void create() {
        QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
        principal = std::make_unique<Principal>(
            Principal::Services{folder.folder(), database, dialogs, system, printer});
    }
    bool load() {
        create();
        return principal->Form_Load();
    }
    template <typename T>
    T* find(const QString& name) const {
        T* control = principal->findChild<T*>(name);
        if (!control) {
            qWarning("no control named %s", qPrintable(name));
        }
        return control;
    }
    QImage basePhoto() const {
        return loadPicture(folder.path(kBasePhoto)).picture.copy(0, 0, 300, 320);
    }
    QImage shown() const { return principal->buffers().fprincipal.image(); }
};

}  // namespace crinova::test
