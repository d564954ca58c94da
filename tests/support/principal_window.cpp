#include "principal_window.h"

#include "platform/pointers.h"

namespace crinova::test {

PrincipalWindow::PrincipalWindow(TestProgramFolder::Contents contents) : folder(contents) {}

bool PrincipalWindow::create() {
    if (!openProgramDatabase(database, folder.folder(), nullptr)) {
        qWarning("the test folder's database cannot be opened");
        return false;
    }
    principal = std::make_unique<Principal>(
        Principal::Services{folder.folder(), database, dialogs, system, printer, camera});
    return true;
}

bool PrincipalWindow::load() {
    return create() && principal->Form_Load();
}

QImage PrincipalWindow::basePhoto() const {
    return loadPicture(folder.path(kBasePhoto)).picture.copy(0, 0, 300, 320);
}

QImage PrincipalWindow::shown() const {
    return PrincipalProbe::buffers(*principal).fprincipal.image();
}

QTimer& PrincipalWindow::timer1() const {
    return *find<QTimer>(QStringLiteral("Timer1"));
}

QTimer& PrincipalWindow::timer2() const {
    return *find<QTimer>(QStringLiteral("Timer2"));
}

PictureBox* PrincipalWindow::fprincipal() const {
    return find<PictureBox>(QStringLiteral("fprincipal"));
}

int PrincipalWindow::mousePointer() const {
    for (const int code : {kPointerCross, kPointerMove, kPointerBusy}) {
        if (principal->cursor().shape() == cursorFor(code).shape()) {
            return code;
        }
    }
    return kPointerDefault;
}

void PrincipalWindow::warnMissing(const QString& name) {
    qWarning("no control named %s", qPrintable(name));
}

}  // namespace crinova::test
