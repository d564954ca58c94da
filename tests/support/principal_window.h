#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <memory>

#include "main_window/principal.h"
#include "platform/picture_box.h"
#include "principal_probe.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "recording_services.h"
#include "scripted_camera.h"
#include "scripted_dialogs.h"
#include "test_folder.h"

namespace crinova::test {

// The main window over a program folder of its own (a copy of the samples), with scripted dialogs
// and a recording printer and system: what window tests and benchmarks drive.
struct PrincipalWindow {
    explicit PrincipalWindow(TestProgramFolder::Contents contents = TestProgramFolder::Samples);

    TestProgramFolder folder;
    Database database;
    ScriptedDialogs dialogs;
    RecordingSystem system;
    RecordingPrinter printer;
    ScriptedCamera camera;
    std::unique_ptr<Principal> principal;

    // Opens the folder's database and makes the window; false (with a warning) when the database
    // cannot be opened.
    bool create();
    // create() and the window's load steps.
    bool load();

    // The control of that objectName, or null with a warning.
    template <typename T>
    T* find(const QString& name) const {
        T* control = principal->findChild<T*>(name);
        if (!control) {
            warnMissing(name);
        }
        return control;
    }
    // The folder's base photo as the 300 x 320 picture box shows it.
    QImage basePhoto() const;
    // What the picture box shows now.
    QImage shown() const;
    // The window's two timers and its picture box, by objectName.
    QTimer& timer1() const;
    QTimer& timer2() const;
    PictureBox* fprincipal() const;
    // The pointer code the window's own cursor stands for.
    int mousePointer() const;

  private:
    static void warnMissing(const QString& name);
};

}  // namespace crinova::test
