#pragma once

#include <QString>

namespace crinova {

// The folder every file of the program lives in, and the one place that turns the program's
// relative names ("\clientes\foto3.bmp", always beginning with a backslash) into full paths.
class ProgramFolder {
  public:
    // The folder as given, without a trailing separator.
    explicit ProgramFolder(const QString& folder);

    // The folder of the running executable.
    static ProgramFolder ofExecutable();

    const QString& path() const { return folder_; }

    // Program folder followed directly by the relative name, with "\" turned into "/".
    QString fullPath(const QString& relativeName) const;

    // The relative name ("\clientes\x.jpg") of a full path under this folder, or an empty string
    // when the path lies elsewhere.
    QString relativeName(const QString& fullPath) const;

    // A stored file name made usable: a relative name (beginning with "\") becomes a full path
    // under this folder, anything else is taken as a path of its own.
    QString resolve(const QString& storedName) const;

  private:
    QString folder_;
};

// Whether a file exists; it never creates or changes the file.
bool fileExists(const QString& path);

// Deletes a file; a missing file is no error. Answers whether the file is gone.
bool deleteFile(const QString& path);

}  // namespace crinova
