#include "sample_folder.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>

#include "logo.h"
#include "portrait.h"
#include "program/large_companions.h"
#include "views.h"

namespace crinova::samples {

bool writeJpeg(const QImage& image, const QString& path, int quality, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        }
        return false;
    }
    QImageWriter writer(&file, "jpg");
    writer.setQuality(quality);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        file.cancelWriting();
        if (error) {
            *error = QStringLiteral("cannot encode %1: %2").arg(path, writer.errorString());
        }
        return false;
    }
    if (!file.commit()) {
        if (error) {
            *error = QStringLiteral("cannot save %1: %2").arg(path, file.errorString());
        }
        return false;
    }
    return true;
}

bool writePng(const QImage& image, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "png") || !file.commit()) {
        if (error) {
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        }
        return false;
    }
    return true;
}

bool writeIcons(const QString& folder, QString* error) {
    for (int size : kIconSizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(apps)) {
            if (error) {
                *error = QStringLiteral("cannot create %1").arg(apps);
            }
            return false;
        }
        if (!writePng(drawIcon(size), apps + QStringLiteral("/crinova.png"), error)) {
            return false;
        }
    }
    return true;
}

namespace {

HairStyle makeStyle(Person person, Length length, Texture texture, QColor colour, Parting parting,
                    double volume, std::uint32_t seed) {
    HairStyle style;
    style.person = person;
    style.length = length;
    style.texture = texture;
    style.colour = colour;
    style.parting = parting;
    style.volume = volume;
    style.seed = seed;
    return style;
}

}  // namespace

std::vector<SampleStyle> sampleStyles() {
    // 2 is the default pair: medium wavy chestnut with a fringe.
    HairStyle chestnut = makeStyle(Person::Woman, Length::Medium, Texture::Wavy,
                                   QColor(0x7c, 0x45, 0x26), Parting::Left, 0.6, 2);
    chestnut.fringe = true;
    HairStyle violet = makeStyle(Person::Woman, Length::Long, Texture::UpDo,
                                 QColor(0x6c, 0x3c, 0x8c), Parting::Centre, 0.6, 6);
    violet.highlight = QColor(0xc9, 0xa6, 0xe6);
    return {
        {makeStyle(Person::Woman, Length::Long, Texture::Straight, QColor(0xd2, 0xa8, 0x5e),
                   Parting::Centre, 0.5, 1),
         true, true},
        {chestnut, false, false},
        {makeStyle(Person::Woman, Length::Short, Texture::Curly, QColor(0x3e, 0x27, 0x1b),
                   Parting::Centre, 0.6, 3),
         false, true},
        {makeStyle(Person::Woman, Length::Long, Texture::Wavy, QColor(0xb0, 0x52, 0x2a),
                   Parting::Right, 0.7, 4),
         true, true},
        {makeStyle(Person::Man, Length::Short, Texture::Straight, QColor(0x2b, 0x25, 0x28),
                   Parting::Left, 0.5, 5),
         false, false},
        {violet, false, false},
    };
}

bool writeSampleFolder(const QString& folder, QString* error) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("clientes"))) {
        if (error) {
            *error = QStringLiteral("cannot create folder %1").arg(dir.filePath("clientes"));
        }
        return false;
    }
    auto write = [&](const QImage& image, const QString& name, int quality) {
        return writeJpeg(image, dir.filePath(name), quality, error);
    };

    // Each picture the composition uses also gets its large companion, drawn again at that size
    // (it is drawn, so it can be drawn at any size) and stamped for the small one just written.
    const QSize large = frameSize() * kLargeFactor;
    const QTransform enlarge = QTransform::fromScale(kLargeFactor, kLargeFactor);
    auto companion = [&](const QImage& image, const QString& name, const char* extension) {
        const QString small = dir.filePath(name);
        return writeLargeCompanion(image, largeCompanionPath(small, QString::fromLatin1(extension)),
                                   small, {}, error);
    };
    if (!write(drawPortrait(PortraitKind::Base), QStringLiteral("vexasinmo.jpg"), kPhotoQuality) ||
        !write(drawPortrait(PortraitKind::Reference), QStringLiteral("vexainicial.jpg"),
               kPhotoQuality) ||
        !companion(drawPortrait(modelLook(), std::nullopt, large), QStringLiteral("vexasinmo.jpg"),
                   "jpg") ||
        !companion(drawPortrait(modelLook(), modelOwnHairStyle(), large),
                   QStringLiteral("vexainicial.jpg"), "jpg")) {
        return false;
    }

    const std::vector<SampleStyle> styles = sampleStyles();
    for (std::size_t i = 0; i < styles.size(); ++i) {
        const QString number = QString::number(i + 1);
        const HairPictures pictures = drawHairStyle(styles[i].style);
        const HairPictures big = splitHairLayer(drawHairLayer(styles[i].style, large, enlarge));
        if (!write(pictures.hair, QStringLiteral("pelo%1.jpg").arg(number), kOverlayQuality) ||
            !write(pictures.mask, QStringLiteral("mpelo%1.jpg").arg(number), kOverlayQuality) ||
            !companion(big.hair, QStringLiteral("pelo%1.jpg").arg(number), "jpg") ||
            !companion(big.mask, QStringLiteral("mpelo%1.jpg").arg(number), "png")) {
            return false;
        }
        if (styles[i].sideView &&
            !write(drawSideView(styles[i].style), QStringLiteral("pelo%1l.jpg").arg(number),
                   kPhotoQuality)) {
            return false;
        }
        if (styles[i].napeView &&
            !write(drawNapeView(styles[i].style), QStringLiteral("pelo%1n.jpg").arg(number),
                   kPhotoQuality)) {
            return false;
        }
    }

    if (!write(drawLogo(), QStringLiteral("logotipo.jpg"), kPhotoQuality)) {
        return false;
    }
    // The window icon, read from the program folder like every other picture.
    if (!writePng(drawIcon(256), QDir(folder).filePath(QStringLiteral("crinova.png")), error)) {
        return false;
    }

    PersonLook first;
    first.skin = QColor(0x8d, 0x5b, 0x3f);
    first.eyes = QColor(0x3b, 0x26, 0x18);
    first.lips = QColor(0x9a, 0x4b, 0x50);
    first.ownHair = QColor(0x1b, 0x14, 0x12);
    first.top = QColor(0xc9, 0x9f, 0x3c);
    first.background = QColor(0xd4, 0xdd, 0xe3);
    const HairStyle firstHair = makeStyle(Person::Woman, Length::Medium, Texture::Curly,
                                          QColor(0x1e, 0x16, 0x14), Parting::Centre, 0.8, 31);

    PersonLook second;
    second.person = Person::Man;
    second.skin = QColor(0xef, 0xca, 0xae);
    second.eyes = QColor(0x5b, 0x82, 0xaa);
    second.lips = QColor(0xc2, 0x84, 0x78);
    second.ownHair = QColor(0x6a, 0x4a, 0x30);
    second.top = QColor(0x34, 0x45, 0x6a);
    second.background = QColor(0xec, 0xe2, 0xd4);
    const HairStyle secondHair = makeStyle(Person::Man, Length::Short, Texture::Straight,
                                           QColor(0x6e, 0x4b, 0x2f), Parting::Right, 0.6, 32);

    return write(drawPortrait(first, firstHair, QSize(300, 320)),
                 QStringLiteral("clientes/cliente1.jpg"), kPhotoQuality) &&
           write(drawPortrait(second, secondHair, QSize(400, 420)),
                 QStringLiteral("clientes/cliente2.jpg"), kPhotoQuality);
}

}  // namespace crinova::samples
