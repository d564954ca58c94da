#include "principal_window.h"

namespace crinova::test {

PrincipalWindow::PrincipalWindow(TestProgramFolder::Contents contents) : folder(contents) {}

bool PrincipalWindow::create() {
    if (!openProgramDatabase(database, folder.folder(), nullptr)) {
        qWarning("the test folder's database cannot be opened");
        return false;
    }
    principal = std::make_unique<Principal>(
        Principal::Services{folder.folder(), database, dialogs, system, printer});
    return true;
}

bool PrincipalWindow::load() {
    return create() && principal->Form_Load();
}

QImage PrincipalWindow::basePhoto() const {
    return loadPicture(folder.path(kBasePhoto)).picture.copy(0, 0, 300, 320);
}

QImage PrincipalWindow::shown() const {
    return principal->buffers().fprincipal.image();
}

void PrincipalWindow::warnMissing(const QString& name) {
    qWarning("no control named %s", qPrintable(name));
}

}  // namespace crinova::test
