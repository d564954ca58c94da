#pragma once

#include <QString>

namespace crinova {

// A Spanish sentence for an error text that SQLite, the C library or Qt's file and image classes
// gave in English ("attempt to write a readonly database", "Permission denied", "Existing file
// ... is not writable"), so no message box shows the stylist English. A text that is not known
// here (Qt's own catalogue may already have made it Spanish) is kept after a general sentence,
// as the detail that a technician can look up. The caller's message says which file it was.
QString spanishSystemError(const QString& systemText);

// A name or path as a message shows it: at most `maxChars` characters, a long one shortened in the
// middle ("/home/ana/…/foto1.bmp") so both its start and its end stay readable, and characters that
// cannot be shown (controls, NUL, direction overrides) replaced by "�".
QString shortenedMiddle(const QString& text, int maxChars = 90);

}  // namespace crinova
