#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>

namespace crinova::test {

// A file of a Debian package, fetched at test time: the package is downloaded (apt-get download)
// and unpacked (dpkg -x) into `folder` under the build folder, never installed; later runs find it
// there. Empty when the package cannot be had (no network, no apt), and the test then skips.
inline QString debianPackageFile(const QString& folder, const QString& package,
                                 const QString& pathInPackage) {
    const QString unpacked = folder + QStringLiteral("/") + package;
    const QString file = unpacked + pathInPackage;
    if (QFileInfo::exists(file)) {
        return file;
    }
    QDir().mkpath(folder);
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
