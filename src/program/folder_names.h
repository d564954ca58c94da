#pragma once

#include <QString>
#include <optional>

namespace crinova {

// Relative names of the files beside the program; ProgramFolder::fullPath makes them full paths.
inline const QString kBasePhoto = QStringLiteral("\\vexasinmo.jpg");
inline const QString kReferencePhoto = QStringLiteral("\\vexainicial.jpg");
inline const QString kDefaultHair = QStringLiteral("\\pelo2.jpg");
inline const QString kDefaultMask = QStringLiteral("\\mpelo2.jpg");
inline const QString kLogo = QStringLiteral("\\logotipo.jpg");
inline const QString kDatabase = QStringLiteral("\\crinova.db");
inline const QString kClientsFolder = QStringLiteral("\\clientes");
inline const QString kCatalogueFolder = QStringLiteral("\\fotos");

// "\pelo<N>.jpg" and "\mpelo<N>.jpg": the sample shown in thumbnail N - 1.
QString sampleHairName(int number);
QString sampleMaskName(int number);

// "\foto<N>.bmp": photo slot N; "\clientes\foto<N>.bmp": a client's photo copy.
QString slotFileName(int number);
QString clientPhotoCopyName(int number);

// A catalogue style's pictures: "\fotos\<largura>\<nombre>.jpg" (hair),
// "\fotos\<largura>\<nombre>m.jpg" (mask) and "\fotos\visualizacion\<largura>\<nombre>.jpg"
// (thumbnail). The names are taken as given; callers refuse unsafe ones first.
QString catalogueHairPath(const QString& largura, const QString& nombre);
QString catalogueMaskPath(const QString& largura, const QString& nombre);
QString catalogueThumbnailPath(const QString& largura, const QString& nombre);

// A style's soft alpha beside its pictures, "\fotos\<largura>\<nombre>a.png" (8-bit grey, 255 where
// the hair covers wholly), and the name of the alpha of any hair picture: its name without ".jpg",
// then "a.png". Only styles made from a photograph have one.
QString catalogueAlphaPath(const QString& largura, const QString& nombre);
QString softAlphaName(const QString& hairName);

// Where the salon's own styles keep the photograph and the strokes they were made from.
inline const QString kOwnStylesFolder = QStringLiteral("\\fotos\\originales");

struct CatalogueStyleName {
    QString largura;
    QString nombre;
};

// The style a catalogue hair path names, or nothing when the path is not one (a sample's
// "\pelo<N>.jpg", a picture opened from elsewhere).
std::optional<CatalogueStyleName> catalogueStyleOf(const QString& hairPath);

// A client's own folder, "\clientes\<code>": letters, digits and "-" as they are, every other
// character as "_" and its four hex digits ("a.b" is "a_002eb", "a_b" is "a_005fb"), so that two
// codes never share a folder and no code leaves "\clientes\".
QString clientFolderName(const QString& codigo);
// The folder earlier versions gave a code: every other character as "_", so that codes such as
// "a.b" and "a_b" shared one. Only upgrades look there.
QString legacyClientFolderName(const QString& codigo);

// Where a photo's version with the client's own hair hidden is kept: "<name>-sinpelo.png" beside
// it.
QString hiddenHairPath(const QString& photoPath);

}  // namespace crinova
