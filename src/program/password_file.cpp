#include "program/password_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace crinova {
namespace {

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// The four key fields of an entry, read back as the library reads them; empty for a comment or a
// line with fewer fields.
QStringList keyFields(const QString& line) {
    QStringList fields;
    QString field;
    for (qsizetype i = 0; i < line.size() && fields.size() < 4; ++i) {
        if (line[i] == QLatin1Char('\\') && i + 1 < line.size()) {
            field += line[++i];
        } else if (line[i] == QLatin1Char(':')) {
            fields << field;
            field.clear();
        } else {
            field += line[i];
        }
    }
    return line.startsWith(QLatin1Char('#')) || fields.size() < 4 ? QStringList() : fields;
}

QStringList ownKey(const ServerSettings& server) {
    return {server.servidor, QString::number(server.puerto), server.basedatos, server.usuario};
}

// The file's lines without the program's entry for the server; false when it cannot be read.
bool otherLines(const QString& file, const ServerSettings& server, QStringList* lines,
                bool* found) {
    QFile input(file);
    *found = false;
    if (!input.exists()) {
        return true;
    }
    if (!input.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QStringList key = ownKey(server);
    for (QString line : QString::fromUtf8(input.readAll()).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (keyFields(line) == key) {
            *found = true;
        } else {
            lines->append(line);
        }
    }
    while (!lines->isEmpty() && lines->last().isEmpty()) {
        lines->removeLast();
    }
    return true;
}

bool writeLines(const QString& file, const QStringList& lines, QString* error) {
    const QString cannot = QStringLiteral("No se ha podido escribir el archivo de contraseñas %1.");
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        return fail(error, cannot.arg(file));
    }
    QSaveFile output(file);
    // Owner-only before anything is written into it.
    if (!output.open(QIODevice::WriteOnly) || !output.setPermissions(kOwnerOnly)) {
        return fail(error, cannot.arg(file));
    }
    const QByteArray text = lines.isEmpty() ? QByteArray() : (lines.join('\n') + '\n').toUtf8();
    if (output.write(text) != text.size() || !output.commit()) {
        return fail(error, cannot.arg(file));
    }
    return QFile::setPermissions(file, kOwnerOnly) || fail(error, cannot.arg(file));
}

}  // namespace

QString passwordFilePath() {
    const QString named = qEnvironmentVariable("PGPASSFILE");
    return named.isEmpty() ? QDir::homePath() + QStringLiteral("/.pgpass") : named;
}

QString escapePasswordField(const QString& field) {
    QString escaped;
    for (const QChar c : field) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(':')) {
            escaped += QLatin1Char('\\');
        }
        escaped += c;
    }
    // A field that is just "*" would match any server.
    return escaped == QLatin1String("*") ? QStringLiteral("\\*") : escaped;
}

bool rememberPassword(const QString& file, const ServerSettings& server, const QString& password,
                      QString* error) {
    if (password.contains(QLatin1Char('\n')) || password.contains(QLatin1Char('\r'))) {
        return fail(error, QStringLiteral("Una contraseña con saltos de línea no se puede "
                                          "recordar: habrá que escribirla al empezar."));
    }
    QStringList lines;
    bool found = false;
    if (!otherLines(file, server, &lines, &found)) {
        return fail(error,
                    QStringLiteral("No se ha podido leer el archivo de contraseñas %1.").arg(file));
    }
    QStringList entry;
    for (const QString& field : ownKey(server)) {
        entry << escapePasswordField(field);
    }
    lines.prepend(entry.join(QLatin1Char(':')) + QLatin1Char(':') + escapePasswordField(password));
    return writeLines(file, lines, error);
}

bool forgetPassword(const QString& file, const ServerSettings& server, QString* error) {
    QStringList lines;
    bool found = false;
    if (!otherLines(file, server, &lines, &found)) {
        return fail(error,
                    QStringLiteral("No se ha podido leer el archivo de contraseñas %1.").arg(file));
    }
    return !found || writeLines(file, lines, error);
}

bool passwordRemembered(const QString& file, const ServerSettings& server) {
    QStringList lines;
    bool found = false;
    return otherLines(file, server, &lines, &found) && found;
}

}  // namespace crinova
