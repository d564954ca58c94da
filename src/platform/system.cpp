#include "platform/system.h"

#include <QProcess>
#include <QStringList>

namespace crinova {

bool HostSystem::RequestShutdown() {
    // Detached: the program ends right after asking and must not wait for the answer.
    return QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}

}  // namespace crinova
