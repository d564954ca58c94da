#include "clients/visit_list.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>

#include "platform/pictures.h"

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
        if (!path.isEmpty()) {
            // Read at the thumbnail's size; a pipe or a device is never opened.
            const PictureLoad small =
                loadShownPicture(path, PictureShown::reducedInto(thumbnail), kThumbnailMemoryMb);
            if (small.ok()) {
                painter.drawImage(x + (thumbnail.width() - small.picture.width()) / 2,
                                  (thumbnail.height() - small.picture.height()) / 2, small.picture);
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
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    int most = 1;
    for (const Visit& visit : visits) {
        most = std::max(most, static_cast<int>(visit.photos.size()));
        list->addItem(visitDateShown(visit.fecha));
    }
    list->setIconSize(
        QSize(kVisitThumbnail.width() * most + 2 * (most - 1), kVisitThumbnail.height()));
    list->setCurrentRow(visits.empty() ? -1 : 0);
    showVisitStrips(list, folder, visits);
}

void showVisitStrips(QListWidget* list, const ProgramFolder& folder,
                     const std::vector<Visit>& visits) {
    const int first = std::max(0, list->verticalScrollBar()->value());
    const int end =
        std::min({list->count(), static_cast<int>(visits.size()), first + kVisitRowsRead});
    for (int row = first; row < end; ++row) {
        QListWidgetItem* item = list->item(row);
        if (item->data(Qt::UserRole).toBool()) {
            continue;
        }
        item->setIcon(QIcon(QPixmap::fromImage(
            visitStrip(folder, visits[static_cast<std::size_t>(row)], kVisitThumbnail))));
        item->setData(Qt::UserRole, true);
    }
}

}  // namespace crinova
