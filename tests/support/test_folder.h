#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "platform/files.h"

namespace crinova::test {

// A program folder of a test's own: an empty temporary folder, or a copy of the sample folder that
// the build drew for tests. It is removed when the test ends.
class TestProgramFolder {
  public:
    // Samples: the pictures and database of the sample folder without the catalogue's pictures;
    // SamplesWithCatalogue: all of it.
    enum Contents { Empty, Samples, SamplesWithCatalogue };
    explicit TestProgramFolder(Contents contents = Samples);

    const ProgramFolder& folder() const { return folder_; }
    QString path(const QString& relativeName) const { return folder_.fullPath(relativeName); }

    // Writes a picture under a relative name ("\x.jpg"), as "jpg" or "bmp" content.
    void writePicture(const QString& relativeName, const QImage& picture,
                      const char* format = "bmp") const;
    void writeBytes(const QString& relativeName, const QByteArray& bytes) const;
    bool exists(const QString& relativeName) const;

  private:
    QTemporaryDir dir_;
    ProgramFolder folder_;
};

}  // namespace crinova::test
