#include <QApplication>
#include <QIcon>

#include "main_window/principal.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/program_lock.h"
#include "platform/qt_camera.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_printer.h"
#include "platform/record_sets.h"
#include "platform/system.h"
#include "platform/translations.h"
#include "program/program_database.h"

int main(int argc, char* argv[]) {
    crinova::useSpanishSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Crinova"));
    QApplication::setOrganizationName(QStringLiteral("Crinova"));
    // The classic look: frame captions sit on the frame line, as the window was laid out for.
    QApplication::setStyle(QStringLiteral("Windows"));
    crinova::allowLargePictures();

    const crinova::ProgramFolder folder = crinova::ProgramFolder::ofExecutable();
    crinova::installSpanish(app, crinova::qtTranslationsFolder(), {folder.path()});
    // The installed icon theme's first, the program folder's own picture without one.
    QApplication::setWindowIcon(QIcon::fromTheme(
        QStringLiteral("crinova"), QIcon(folder.fullPath(QStringLiteral("\\crinova.png")))));
    crinova::QtDialogs dialogs;
    crinova::HostSystem system;
    crinova::QtPrinter printer;
    crinova::QtCamera camera;

    // One copy per program folder: a second start says so and calls the first one to the front.
    crinova::ProgramLock lock(folder);
    if (lock.take() == crinova::ProgramLock::Outcome::HeldElsewhere) {
        dialogs.MsgBox(QStringLiteral("Crinova ya está abierto en esta carpeta."),
                       crinova::MessageButtons::Ok, crinova::MessageIcon::Information,
                       QStringLiteral("CRINOVA"));
        lock.callFirstCopy();
        return 0;
    }

    crinova::Database database;
    QString error;
    if (!crinova::openProgramDatabase(database, folder, &error)) {
        dialogs.MsgBox(error + QStringLiteral("\n\nCrinova seguirá funcionando, pero sin la base "
                                              "de datos no hay catálogo ni fichas de clientes."),
                       crinova::MessageButtons::Ok, crinova::MessageIcon::Exclamation,
                       QStringLiteral("Error en la Base de Datos"));
    }

    crinova::Principal principal({folder, database, dialogs, system, printer, camera});
    dialogs.setParent(&principal);
    QObject::connect(&lock, &crinova::ProgramLock::calledToFront, &principal, [&principal] {
        // As far as the window manager lets a program take the front.
        principal.setWindowState(principal.windowState() & ~Qt::WindowMinimized);
        principal.show();
        principal.raise();
        principal.activateWindow();
    });
    if (!principal.Form_Load()) {
        return 1;
    }
    principal.show();
    return QApplication::exec();
}
