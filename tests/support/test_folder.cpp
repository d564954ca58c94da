#include "test_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <stdexcept>

namespace crinova::test {
namespace {

void copyTree(const QString& from, const QString& to, bool catalogue) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = source.mid(from.size());
        if (!catalogue && relative.startsWith(QLatin1String("/fotos/"))) {
            continue;
        }
        const QString target = to + relative;
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target)) {
            throw std::runtime_error("cannot copy the sample folder");
        }
    }
}

}  // namespace

TestProgramFolder::TestProgramFolder(Contents contents) : folder_(dir_.path()) {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    if (contents != Empty) {
        copyTree(QStringLiteral(CRINOVA_TEST_SAMPLES), dir_.path(),
                 contents == SamplesWithCatalogue);
    }
}

void TestProgramFolder::writePicture(const QString& relativeName, const QImage& picture,
                                     const char* format) const {
    const QString target = path(relativeName);
    QDir().mkpath(QFileInfo(target).path());
    QImageWriter writer(target, format);
    if (QByteArray(format) == "jpg") {
        writer.setQuality(100);
    }
    if (!writer.write(picture)) {
        throw std::runtime_error("cannot write a test picture");
    }
}

void TestProgramFolder::writeBytes(const QString& relativeName, const QByteArray& bytes) const {
    const QString target = path(relativeName);
    QDir().mkpath(QFileInfo(target).path());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a test file");
    }
}

bool TestProgramFolder::exists(const QString& relativeName) const {
    return QFileInfo::exists(path(relativeName));
}

}  // namespace crinova::test
