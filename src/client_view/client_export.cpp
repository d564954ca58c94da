#include "client_view/client_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <functional>

namespace crinova {
namespace {

constexpr double kMargin = 720;  // half an inch
constexpr double kGap = 300;
constexpr double kCaption = 500;
constexpr double kGridTop = 3600;

QString unwritable(const QString& where) {
    return QStringLiteral(
               "No se ha podido escribir en %1. Compruebe que la memoria USB sigue puesta, que "
               "no está llena y que no está protegida contra escritura.")
        .arg(QDir::toNativeSeparators(where));
}

// Writes one file whole or not at all through `write`.
bool writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void drawPage(QPainter& painter, const ClientExport& job) {
    const ExportLayout layout = exportLayout(static_cast<int>(job.looks.size()));
    auto rect = [](const TwipsRect& r) { return QRectF(r.left, r.top, r.width, r.height); };
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!job.logo.isNull()) {
        painter.drawImage(rect(layout.logo), job.logo);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(rect(layout.name), Qt::AlignCenter, job.clientName);
    font.setPointSizeF(12);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(rect(layout.date), Qt::AlignCenter,
                     QLocale(QLocale::Spanish, QLocale::Spain)
                         .toString(job.date, QStringLiteral("d 'de' MMMM 'de' yyyy")));
    font.setPointSizeF(job.looks.size() > 4 ? 9 : 11);
    painter.setFont(font);
    for (std::size_t i = 0; i < job.looks.size(); ++i) {
        painter.drawImage(rect(layout.looks[i]), job.looks[i].picture);
        painter.drawText(rect(layout.captions[i]), Qt::AlignCenter | Qt::TextWordWrap,
                         lookCaption(static_cast<int>(i) + 1, job.looks[i]));
    }
}

}  // namespace

ExportLayout exportLayout(int looks) {
    ExportLayout layout;
    layout.logo = {(kExportPageWidth - 7000) / 2, 400, 7000, 2000};
    const double width = kExportPageWidth - 2 * kMargin;
    layout.name = {kMargin, 2500, width, 550};
    layout.date = {kMargin, 3050, width, 400};
    const int columns = looks <= 1 ? 1 : looks <= 4 ? 2 : 3;
    const int rows = looks <= 2 ? 1 : 2;
    const double height = kExportPageHeight - kMargin - kGridTop;
    const double cellWidth = (width - (columns - 1) * kGap) / columns;
    const double cellHeight = (height - (rows - 1) * kGap) / rows;
    const double pictureHeight = std::min(cellHeight - kCaption, cellWidth * 16 / 15);
    const double pictureWidth = pictureHeight * 15 / 16;
    for (int i = 0; i < looks; ++i) {
        const double cellX = kMargin + (i % columns) * (cellWidth + kGap);
        const double cellY = kGridTop + (i / columns) * (cellHeight + kGap);
        const double top = cellY + (cellHeight - pictureHeight - kCaption) / 2;
        layout.looks.push_back(
            {cellX + (cellWidth - pictureWidth) / 2, top, pictureWidth, pictureHeight});
        layout.captions.push_back({cellX, top + pictureHeight, cellWidth, kCaption});
    }
    return layout;
}

QString cleanFileName(const QString& name, const QString& fallback) {
    QString clean;
    for (const QChar c : name) {
        const bool forbidden =
            c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\:*?\"<>|").contains(c);
        clean += forbidden ? QLatin1Char('_') : c;
    }
    while (!clean.isEmpty() && (clean.front().isSpace() || clean.front() == QLatin1Char('.'))) {
        clean.remove(0, 1);
    }
    while (!clean.isEmpty() && (clean.back().isSpace() || clean.back() == QLatin1Char('.'))) {
        clean.chop(1);
    }
    return clean.isEmpty() ? fallback : clean.left(80);
}

QString exportFolderName(const QString& clientName, const QDate& date) {
    return cleanFileName(clientName, QStringLiteral("Cliente")) + QLatin1Char(' ') +
           date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString exportForClient(const ClientExport& job, QString* error) {
    auto fail = [&](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return QString();
    };
    if (!QFileInfo(job.folder).isDir()) {
        return fail(QStringLiteral("La carpeta %1 no existe. Compruebe que la memoria USB está "
                                   "puesta.")
                        .arg(QDir::toNativeSeparators(job.folder)));
    }
    const QString name = exportFolderName(job.clientName, job.date);
    QString target = QDir(job.folder).filePath(name);
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = QDir(job.folder).filePath(name + QStringLiteral(" (%1)").arg(n));
    }
    if (!QDir().mkdir(target)) {
        return fail(unwritable(job.folder));
    }
    QStringList written;
    auto undo = [&](const QString& failed) {
        for (const QString& file : written) {
            QFile::remove(file);
        }
        QDir().rmdir(target);
        return fail(unwritable(failed));
    };
    for (std::size_t i = 0; i < job.looks.size(); ++i) {
        const QString path = QDir(target).filePath(QStringLiteral("Peinado %1.jpg").arg(i + 1));
        const bool ok = writeWhole(path, [&](QIODevice& device) {
            QImageWriter writer(&device, "jpg");
            writer.setQuality(92);
            return writer.write(job.looks[i].picture);
        });
        if (!ok) {
            return undo(path);
        }
        written << path;
    }
    const QString pdfPath = QDir(target).filePath(QStringLiteral("Peinados.pdf"));
    const bool pdfWritten = writeWhole(pdfPath, [&](QIODevice& device) {
        QPdfWriter pdf(&device);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(1440);  // the painter then measures in twips
        pdf.setTitle(QStringLiteral("Peinados de %1").arg(job.clientName));
        pdf.setCreator(QStringLiteral("Crinova"));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            return false;
        }
        drawPage(painter, job);
        return painter.end();
    });
    if (!pdfWritten) {
        return undo(pdfPath);
    }
    return target;
}

}  // namespace crinova
