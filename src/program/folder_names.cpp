#include "program/folder_names.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace crinova {

QString sampleHairName(int number) {
    return QStringLiteral("\\pelo%1.jpg").arg(number);
}

QString sampleMaskName(int number) {
    return QStringLiteral("\\mpelo%1.jpg").arg(number);
}

QString slotFileName(int number) {
    return QStringLiteral("\\foto%1.bmp").arg(number);
}

QString clientPhotoCopyName(int number) {
    return kClientsFolder + QStringLiteral("\\foto%1.bmp").arg(number);
}

QString catalogueHairPath(const QString& largura, const QString& nombre) {
    return QStringLiteral("\\fotos\\") + largura + QLatin1Char('\\') + nombre +
           QStringLiteral(".jpg");
}

QString catalogueMaskPath(const QString& largura, const QString& nombre) {
    return QStringLiteral("\\fotos\\") + largura + QLatin1Char('\\') + nombre +
           QStringLiteral("m.jpg");
}

QString catalogueThumbnailPath(const QString& largura, const QString& nombre) {
    return QStringLiteral("\\fotos\\visualizacion\\") + largura + QLatin1Char('\\') + nombre +
           QStringLiteral(".jpg");
}

QString catalogueAlphaPath(const QString& largura, const QString& nombre) {
    return QStringLiteral("\\fotos\\") + largura + QLatin1Char('\\') + nombre +
           QStringLiteral("a.png");
}

QString softAlphaName(const QString& hairName) {
    QString name = hairName;
    if (name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive)) {
        name.chop(4);
    }
    return name + QStringLiteral("a.png");
}

std::optional<CatalogueStyleName> catalogueStyleOf(const QString& hairPath) {
    const QStringList parts = hairPath.split(QLatin1Char('\\'));
    if (parts.size() != 4 || !parts[0].isEmpty() || parts[1] != QLatin1String("fotos")) {
        return std::nullopt;
    }
    return CatalogueStyleName{parts[2], QFileInfo(parts[3]).completeBaseName()};
}

QString clientFolderName(const QString& codigo) {
    QString name;
    for (const QChar c : codigo) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-')) {
            name += c;
        } else {
            name += QStringLiteral("_%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    // A lone "_" is no escape, so it is free for the empty code.
    return kClientsFolder + QLatin1Char('\\') + (name.isEmpty() ? QStringLiteral("_") : name);
}

QString legacyClientFolderName(const QString& codigo) {
    QString safe;
    for (const QChar c : codigo.trimmed()) {
        safe += (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
                    ? c
                    : QLatin1Char('_');
    }
    return kClientsFolder + QLatin1Char('\\') + (safe.isEmpty() ? QStringLiteral("_") : safe);
}

QString hiddenHairPath(const QString& photoPath) {
    const QFileInfo info(photoPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-sinpelo.png"));
}

}  // namespace crinova
