#pragma once

#include <QDate>
#include <QImage>
#include <QString>
#include <vector>

#include "client_view/saved_looks.h"
#include "printing/print_layouts.h"

namespace crinova {

// The client's page: A4 upright, in twips from its top-left corner.
inline constexpr double kExportPageWidth = 11906;
inline constexpr double kExportPageHeight = 16838;

struct ExportLayout {
    TwipsRect logo;
    TwipsRect name;  // the client's name, centred in this band
    TwipsRect date;
    std::vector<TwipsRect> looks;     // each look's picture, 15 : 16 as the looks are
    std::vector<TwipsRect> captions;  // the band under each picture for its name
};

// The logo (7000 x 2000) centred at the top, the name and the date under it, then the looks in a
// grid filling the rest of the page within half-inch margins: one look alone, two side by side,
// three or four in two rows of two, five or six in two rows of three; each as large as its cell
// allows with a 500-twip caption band under it, centred in its cell.
ExportLayout exportLayout(int looks);

// A name made fit for a folder or a file on any system: characters a file name cannot hold
// (/ \ : * ? " < > | and control characters) become "_", spaces and dots at either end go, and
// an empty result is `fallback`.
QString cleanFileName(const QString& name, const QString& fallback);

// The folder written for a client on a day: "<name cleaned> <yyyy-MM-dd>".
QString exportFolderName(const QString& clientName, const QDate& date);

struct ClientExport {
    QString folder;  // where the stylist chose to write (a USB stick)
    QString clientName;
    QDate date;
    QImage logo;
    std::vector<SavedLook> looks;
};

// Writes, in a new folder named by exportFolderName inside `folder` (with " (2)", " (3)"... when
// that name is taken), the page "Peinados.pdf" (logo, name, date, the looks with their captions)
// and each look as "Peinado <N>.jpg". Every file is written whole or not at all; when one fails
// the files already written and the new folder are removed. Answers the new folder, or an empty
// text and a Spanish reason in `error`.
QString exportForClient(const ClientExport& job, QString* error);

}  // namespace crinova
