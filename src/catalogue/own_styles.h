#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "face/eye_finder.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "segmentation/strokes.h"

namespace crinova {

// The salon's own styles: catalogue styles made from a photograph. Besides the hair picture, the
// mask and the thumbnail every style has, each keeps its soft alpha and, under
// "\fotos\originales\<largura>\", the photograph and the strokes it was made from.

// The words the hair-type dialog writes into `cabellos`, which the new style's row takes.
inline const QStringList kPersonWords = {QStringLiteral("hombre"), QStringLiteral("mujer"),
                                         QString::fromUtf8("niño")};
inline const QStringList kLengthWords = {QStringLiteral("largo"), QStringLiteral("medmelena"),
                                         QStringLiteral("corto")};
inline const QStringList kTypeWords = {QStringLiteral("liso"), QStringLiteral("ondulado"),
                                       QStringLiteral("rizado"), QStringLiteral("mechas"),
                                       QStringLiteral("recogidos")};
inline const QStringList kColourWords = {QStringLiteral("Negro"), QStringLiteral("dorado"),
                                         QStringLiteral("rojo"), QStringLiteral("fantasia")};

// The size of every hair picture: the main picture's.
inline const QSize kStyleSize(300, 320);

// A `cabellos` row.
struct StyleRow {
    QString tpersona;
    QString largura;
    QString tipo;
    QString color;
    QString nombre;
};

// The longest name a style may have.
inline constexpr int kLongestStyleName = 60;

enum class NameRefusal { None, Empty, Characters, TooLong, Used };

// Whether `nombre` can name a new style in the `largura` folder: letters, digits, "-" and "_"
// only, at most kLongestStyleName of them, and no row nor picture of that name there (nor a
// picture a style of that name would write over: "xm" is the mask of "x").
NameRefusal checkStyleName(const QString& nombre, const QString& largura,
                           const ProgramFolder& folder, Database& database);
QString nameRefusalMessage(NameRefusal refusal, const QString& nombre, const QString& largura);

// A free name for a style made from the photo `photoPath`: the photo's name with every other
// character turned into "_", then "-2", "-3", ... until one is free.
QString proposeStyleName(const QString& photoPath, const QString& largura,
                         const ProgramFolder& folder, Database& database);

// The pictures of a style from a selection's strands' colour and alpha (frame-sized): the hair
// picture, the strands' colour where the alpha is at least 128 and pure black elsewhere; the
// mask, pure black where the alpha is at least 128 and pure white elsewhere; the alpha itself;
// the thumbnail, the hair picture at half size.
struct StylePictures {
    QImage hair;
    QImage mask;
    QImage alpha;
    QImage thumbnail;
};
StylePictures stylePictures(const QImage& colour, const QImage& alpha);

// The photograph a style is made from, as chosen: upright, decoded at a size the selection needs
// (a JPEG of more than kSourceSide pixels is decoded at a half, a quarter or an eighth, not larger
// than it must), and its bytes as they are.
inline constexpr int kSourceSide = 2000;
struct SourcePhoto {
    QImage picture;    // RGB32, null when the file could not be read
    QSize size;        // the file's own size in pixels
    double scale = 1;  // picture pixels per photo pixel
    QByteArray bytes;
    QString suffix;  // "jpg", "png" or "bmp", from the content
    QString error;   // the Spanish reason, naming the file, when `picture` is null
};
SourcePhoto loadSourcePhoto(const QString& path);

// What a style keeps to be opened again: the photograph, where its eyes are (the photo's own
// pixels) and the strokes, plus its row.
struct StyleSource {
    StyleRow row;
    QByteArray photo;
    QString suffix;
    EyePair eyes;
    std::vector<Stroke> strokes;
};

// The relative names of every file of a style, its own files included when it has them.
QStringList styleFiles(const QString& largura, const QString& nombre, const QString& suffix);
// The same with the kept photograph under every suffix it may have: all that a style may leave.
QStringList styleFilesAnySource(const QString& largura, const QString& nombre);

// Adds the style as one unit: every file written under a temporary name, the row inserted in one
// transaction (with `replace`, the row of that name is replaced), then the files renamed into
// place (any of the style's files already there are put aside first and brought back if a later
// one fails). Any failure leaves neither row nor file and says why in `error` (Spanish).
bool saveOwnStyle(Database& database, const ProgramFolder& folder, const StylePictures& pictures,
                  const StyleSource& source, bool replace, QString* error);

// The photograph and strokes kept for a salon's style, when `photoPath` is the photograph kept
// in "\fotos\originales\<largura>\" with its strokes beside it.
std::optional<StyleSource> readStyleSource(const ProgramFolder& folder, const QString& photoPath,
                                           Database& database);

// Whether the style is one of the salon's own (it keeps its strokes).
bool isOwnStyle(const ProgramFolder& folder, const QString& largura, const QString& nombre);

// Deletes every file of a salon's own style; answers false, naming the first file left, when
// one could not be deleted.
bool removeOwnStyleFiles(const ProgramFolder& folder, const QString& largura, const QString& nombre,
                         QString* error);

}  // namespace crinova
