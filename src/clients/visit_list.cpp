#include "clients/visit_list.h"

#include <QImageReader>
#include <QListWidget>
#include <QPainter>

namespace crinova {

QImage visitStrip(const ProgramFolder& folder, const Visit& visit, QSize thumbnail) {
    const int count = std::max<int>(1, static_cast<int>(visit.photos.size()));
    QImage strip(thumbnail.width() * count + 2 * (count - 1), thumbnail.height(),
                 QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    int x = 0;
    for (const VisitPhoto& photo : visit.photos) {
        const QString path = visitFilePath(folder, photo.fichero);
        QImageReader reader(path);
        const QSize size = reader.size();
        if (!path.isEmpty() && size.isValid()) {
            // The reader scales while it decodes where the format allows it.
            reader.setScaledSize(size.scaled(thumbnail, Qt::KeepAspectRatio));
            const QImage small = reader.read();
            if (!small.isNull()) {
                painter.drawImage(x + (thumbnail.width() - small.width()) / 2,
                                  (thumbnail.height() - small.height()) / 2, small);
            }
        }
        x += thumbnail.width() + 2;
    }
    return strip;
}

void fillVisitList(QListWidget* list, const ProgramFolder& folder,
                   const std::vector<Visit>& visits) {
    const QSignalBlocker block(list);
    list->clear();
    int widest = 0;
    for (const Visit& visit : visits) {
        const QImage strip = visitStrip(folder, visit, kVisitThumbnail);
        widest = std::max(widest, strip.width());
        list->addItem(
            new QListWidgetItem(QIcon(QPixmap::fromImage(strip)), visitDateShown(visit.fecha)));
    }
    list->setIconSize(QSize(widest, kVisitThumbnail.height()));
    list->setCurrentRow(visits.empty() ? -1 : 0);
}

}  // namespace crinova
