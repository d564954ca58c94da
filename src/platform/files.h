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

// Nothing the program writes or deletes may lead out of its folder through a link planted there.
// Answers an empty text when writing at `path` (a full path under the folder, existing or about to
// be made) stays inside the folder once every link on the way is followed; otherwise a Spanish
// sentence naming the link and where it leads. With `wholeFolder` (a folder about to be emptied or
// removed) the path itself must not be a link at all: emptying it would empty its target.
QString linkLeadingOut(const ProgramFolder& folder, const QString& path, bool wholeFolder = false);

// Removes a folder with everything in it, never following a link inside it (a link is removed as
// a file). Refused with `linkLeadingOut`'s sentence when the folder is a link or leads out. A
// missing folder is no error.
bool removeFolder(const ProgramFolder& folder, const QString& path, QString* error = nullptr);

}  // namespace crinova
