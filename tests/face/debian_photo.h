#pragma once

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QString>

namespace crinova::test {

// A file of a Debian package, fetched at test time: the package is downloaded (apt-get download)
// and unpacked (dpkg -x) into `folder` under the build folder, never installed; later runs find it
// there. Empty when the package cannot be had (no network, no apt), and the test then skips.
// Tests run side by side: one process at a time looks, fetches and unpacks, so none reads a file
// another is still writing.
inline QString debianPackageFile(const QString& folder, const QString& package,
                                 const QString& pathInPackage) {
    const QString unpacked = folder + QStringLiteral("/") + package;
    const QString file = unpacked + pathInPackage;
    QDir().mkpath(folder);
    QLockFile lock(unpacked + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);  // a download may take long; only a dead owner's lock is stale
    lock.lock();
    if (QFileInfo::exists(file)) {
        return file;
    }
    auto run = [&](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(folder);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        return process.waitForFinished(90000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    if (!run(QStringLiteral("apt-get"), {QStringLiteral("download"), package})) {
        return {};
    }
    const QStringList debs =
        QDir(folder).entryList({package + QStringLiteral("_*.deb")}, QDir::Files, QDir::Time);
    if (debs.isEmpty() ||
        !run(QStringLiteral("dpkg"), {QStringLiteral("-x"), debs.first(), unpacked})) {
        return {};
    }
    for (const QString& deb : debs) {
        QFile::remove(folder + QStringLiteral("/") + deb);
    }
    return QFileInfo::exists(file) ? file : QString();
}

}  // namespace crinova::test
