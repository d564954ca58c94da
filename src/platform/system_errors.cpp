#include "platform/system_errors.h"

#include <array>
#include <utility>

namespace crinova {

QString spanishSystemError(const QString& systemText) {
    // Each system text, matched case-insensitively wherever it appears (Qt adds its own words
    // around SQLite's), and what it means to the stylist. More specific texts come first.
    static const std::array<std::pair<const char*, const char*>, 24> known{{
        {"attempt to write a readonly database",
         "La base de datos es de solo lectura: no se pueden guardar cambios en ella."},
        {"database is locked",
         "La base de datos está ocupada por otro programa. Espere a que termine y vuelva a "
         "intentarlo."},
        {"database table is locked",
         "La base de datos está ocupada por otro programa. Espere a que termine y vuelva a "
         "intentarlo."},
        {"unable to open database file", "No se puede abrir el archivo de la base de datos."},
        {"is not a database", "El archivo no es una base de datos."},
        {"database disk image is malformed", "El archivo de la base de datos está dañado."},
        {"database or disk is full", "El disco está lleno."},
        {"disk I/O error", "El disco ha fallado al leer o escribir."},
        {"no such table", "A la base de datos le falta una tabla."},
        {"no such column", "A la base de datos le falta un campo."},
        {"has no column named", "A la base de datos le falta un campo."},
        {"Permission denied", "No tiene permiso para usar el archivo o la carpeta."},
        {"is not writable", "El archivo ya existe y no se puede modificar."},
        {"No such file or directory", "El archivo o la carpeta no existe."},
        {"No space left on device", "El disco está lleno."},
        {"File name too long", "El nombre del archivo es demasiado largo para el disco."},
        {"File too large", "El archivo es demasiado grande para el disco."},
        {"Read-only file system", "El disco es de solo lectura."},
        {"refers to a directory", "Con ese nombre hay un directorio, no un archivo."},
        {"Is a directory", "Con ese nombre hay un directorio, no un archivo."},
        {"Unsupported image format", "El formato de la imagen no es compatible."},
        {"Unable to read image data", "Los datos de la imagen no se pueden leer."},
        {"Device not writable", "No se puede escribir en el archivo."},
        {"Image is empty", "No hay ninguna imagen."},
    }};
    const QString text = systemText.simplified();
    for (const auto& [english, spanish] : known) {
        if (text.contains(QLatin1String(english), Qt::CaseInsensitive)) {
            return QString::fromUtf8(spanish);
        }
    }
    if (text.isEmpty()) {
        return QStringLiteral("El sistema no ha dicho el motivo.");
    }
    return QStringLiteral("El sistema ha indicado un error (%1).").arg(text);
}

QString shortenedMiddle(const QString& text, int maxChars) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const bool hidden =
            c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
        shown += hidden ? QChar(0xFFFD) : c;
    }
    if (shown.size() <= maxChars) {
        return shown;
    }
    qsizetype head = (maxChars - 1) / 2;
    qsizetype tail = maxChars - 1 - head;
    // Never half a character made of two UTF-16 units.
    if (shown.at(head - 1).isHighSurrogate()) {
        --head;
    }
    if (shown.at(shown.size() - tail).isLowSurrogate()) {
        --tail;
    }
    return shown.left(head) + QChar(0x2026) + shown.right(tail);
}

}  // namespace crinova
