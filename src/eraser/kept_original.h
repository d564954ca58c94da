#pragma once

#include <QString>

namespace crinova {

// Where the photograph at `photoPath` is kept as it was before the eraser first wrote over it: the
// folder "originales" beside it, under the same name ("\clientes\ana.jpg" is kept as
// "\clientes\originales\ana.jpg").
QString keptOriginalPath(const QString& photoPath);

// Keeps the photograph at `photoPath` once, byte for byte, before it is first written over. A copy
// kept earlier is never replaced, and a photo that is not there yet has nothing to keep: both
// answer true. The copy is written whole or not at all; when it cannot be made the answer is false
// and `error`, when given, says in Spanish where and why.
bool keepOriginal(const QString& photoPath, QString* error = nullptr);

}  // namespace crinova
