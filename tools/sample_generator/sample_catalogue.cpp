#include "sample_catalogue.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>

#include <map>
#include <utility>

#include "portrait.h"
#include "sample_folder.h"
#include "views.h"

namespace crinova::samples {

namespace {

// The dialog's colour filter groups shades into four families.
enum class Family { Dark, Blonde, Red, Fantasy };

enum Views : unsigned { kNoViews = 0, kSide = 1, kNape = 2, kBoth = kSide | kNape };

// Shades by family; a row's colour must belong to its family.
constexpr QRgb kJet = 0x1c1614, kEspresso = 0x2b201b, kDarkBrown = 0x3e271b, kMocha = 0x4a3222,
               kChestnut = 0x5a3b26;
constexpr QRgb kGolden = 0xd2a85e, kHoney = 0xc8964c, kSand = 0xdcbc80, kPlatinum = 0xe8d8b0,
               kAsh = 0xc4b08a, kDarkBlonde = 0xb08a52, kButter = 0xe2c274;
constexpr QRgb kCopper = 0xb0522a, kAuburn = 0x8a3324, kGinger = 0xc8683a, kCherry = 0x9a2632;
constexpr QRgb kViolet = 0x6c3c8c, kBlue = 0x2f5fa8, kPink = 0xd0508c, kTeal = 0x2a8c98,
               kGreen = 0x2f8a5e;
// Streak colours, kept close to the base family so a row still reads as its colour.
constexpr QRgb kToffee = 0x8c5e3a, kCaramel = 0xb07a42, kPale = 0xf0e2c0, kLightCopper = 0xd88656,
               kRose = 0xf2a6c8, kMint = 0x9ee0c8;

struct Row {
    Person person;
    Length length;
    Texture texture;
    Family family;
    QRgb colour;
    QRgb highlight;  // 0: none (Highlights then streaks a lighter shade of the colour)
    Parting parting;
    bool fringe;
    double volume;
    unsigned views;
};

std::vector<Row> catalogueRows() {
    using enum Person;
    using enum Length;
    using enum Texture;
    using enum Family;
    using enum Parting;
    return {
        // Fourteen long straight blondes fill three pages of the dialog (6, 6, 2); each differs.
        {Woman, Long, Straight, Blonde, kGolden, 0, Centre, false, 0.5, kBoth},
        {Woman, Long, Straight, Blonde, kPlatinum, 0, Left, true, 0.3, kNoViews},
        {Woman, Long, Straight, Blonde, kHoney, kSand, Right, false, 0.75, kSide},
        {Woman, Long, Straight, Blonde, kSand, 0, Centre, true, 0.35, kNoViews},
        {Woman, Long, Straight, Blonde, kAsh, 0, Left, false, 0.9, kNape},
        {Woman, Long, Straight, Blonde, kDarkBlonde, kPlatinum, Right, true, 0.45, kNoViews},
        {Woman, Long, Straight, Blonde, kButter, 0, Left, false, 0.4, kNoViews},
        {Woman, Long, Straight, Blonde, kPlatinum, 0, Right, false, 0.65, kBoth},
        {Woman, Long, Straight, Blonde, kHoney, 0, Centre, true, 0.55, kNoViews},
        {Woman, Long, Straight, Blonde, kSand, kPale, Right, false, 1.0, kNoViews},
        {Woman, Long, Straight, Blonde, kAsh, 0, Centre, true, 0.3, kNoViews},
        {Woman, Long, Straight, Blonde, kDarkBlonde, kSand, Left, false, 0.35, kNoViews},
        {Woman, Long, Straight, Blonde, kGolden, kPale, Left, true, 0.85, kNoViews},
        {Woman, Long, Straight, Blonde, kButter, 0, Right, true, 0.6, kNoViews},
        // Six short dark curly cuts.
        {Woman, Short, Curly, Dark, kJet, 0, Centre, false, 0.6, kBoth},
        {Woman, Short, Curly, Dark, kDarkBrown, 0, Left, true, 0.4, kNoViews},
        {Woman, Short, Curly, Dark, kEspresso, 0, Right, false, 0.9, kNoViews},
        {Woman, Short, Curly, Dark, kChestnut, 0, Centre, true, 0.7, kNoViews},
        {Woman, Short, Curly, Dark, kMocha, 0, Left, false, 0.2, kNoViews},
        {Woman, Short, Curly, Dark, kDarkBrown, 0, Right, false, 1.0, kNoViews},
        // A few of every other kind.
        {Woman, Long, Wavy, Red, kCopper, 0, Left, false, 0.6, kNape},
        {Woman, Long, Wavy, Red, kAuburn, 0, Centre, true, 0.8, kNoViews},
        {Woman, Long, Curly, Dark, kEspresso, 0, Centre, false, 0.7, kBoth},
        {Woman, Long, Highlights, Dark, kDarkBrown, kToffee, Left, false, 0.5, kSide},
        {Woman, Long, Highlights, Dark, kJet, kCaramel, Right, true, 0.6, kNoViews},
        {Woman, Long, UpDo, Fantasy, kPink, kRose, Centre, false, 0.7, kBoth},
        {Woman, Long, Straight, Fantasy, kBlue, 0, Right, false, 0.5, kNoViews},
        {Woman, Medium, Straight, Dark, kJet, 0, Centre, true, 0.4, kNape},
        {Woman, Medium, Straight, Dark, kChestnut, 0, Left, false, 0.6, kNoViews},
        {Woman, Medium, Wavy, Blonde, kGolden, 0, Right, false, 0.6, kSide},
        {Woman, Medium, Wavy, Blonde, kSand, 0, Left, true, 0.4, kNoViews},
        {Woman, Medium, Highlights, Red, kAuburn, kLightCopper, Centre, false, 0.5, kNoViews},
        {Woman, Medium, UpDo, Blonde, kHoney, 0, Left, false, 0.4, kNape},
        {Woman, Medium, Curly, Fantasy, kViolet, 0, Centre, false, 0.6, kNoViews},
        {Woman, Short, Straight, Red, kGinger, 0, Left, true, 0.5, kBoth},
        {Woman, Short, Highlights, Fantasy, kTeal, kMint, Right, false, 0.5, kNoViews},
        {Woman, Short, Wavy, Red, kCherry, 0, Right, false, 0.6, kNoViews},
        {Man, Short, Straight, Dark, kJet, 0, Left, false, 0.5, kSide},
        {Man, Short, Straight, Dark, kDarkBrown, 0, Right, false, 0.3, kNoViews},
        {Man, Short, Straight, Dark, kChestnut, 0, Centre, true, 0.7, kNoViews},
        {Man, Short, Wavy, Blonde, kDarkBlonde, 0, Left, false, 0.6, kNoViews},
        {Man, Short, Curly, Red, kCopper, 0, Centre, false, 0.5, kNape},
        {Man, Short, Highlights, Blonde, kAsh, kPlatinum, Right, false, 0.6, kNoViews},
        {Man, Medium, Wavy, Dark, kEspresso, 0, Left, false, 0.6, kBoth},
        {Man, Medium, Wavy, Dark, kChestnut, 0, Right, true, 0.4, kNoViews},
        {Man, Medium, Straight, Blonde, kSand, 0, Centre, false, 0.5, kNoViews},
        {Man, Long, Straight, Dark, kJet, 0, Centre, false, 0.5, kSide},
        {Man, Long, UpDo, Dark, kDarkBrown, 0, Centre, false, 0.5, kNape},
        {Man, Long, Curly, Fantasy, kBlue, 0, Left, false, 0.6, kNoViews},
        {Child, Short, Straight, Blonde, kGolden, 0, Left, true, 0.5, kBoth},
        {Child, Short, Straight, Blonde, kPlatinum, 0, Right, false, 0.4, kNoViews},
        {Child, Short, Curly, Dark, kDarkBrown, 0, Centre, false, 0.6, kNoViews},
        {Child, Medium, Straight, Red, kGinger, 0, Centre, true, 0.5, kSide},
        {Child, Medium, Wavy, Dark, kChestnut, 0, Left, false, 0.5, kNoViews},
        {Child, Long, UpDo, Red, kCopper, 0, Centre, false, 0.5, kNoViews},
        {Child, Long, Highlights, Fantasy, kPink, kRose, Right, false, 0.5, kNoViews},
        {Child, Long, Straight, Dark, kJet, 0, Left, true, 0.4, kNoViews},
        {Child, Medium, Wavy, Fantasy, kGreen, 0, Right, false, 0.5, kNoViews},
    };
}

QString personWord(Person person) {
    switch (person) {
        case Person::Man:
            return QStringLiteral("hombre");
        case Person::Child:
            return QStringLiteral("niño");
        case Person::Woman:
            break;
    }
    return QStringLiteral("mujer");
}

QString lengthWord(Length length) {
    switch (length) {
        case Length::Short:
            return QStringLiteral("corto");
        case Length::Medium:
            return QStringLiteral("medmelena");
        case Length::Long:
            break;
    }
    return QStringLiteral("largo");
}

QString textureWord(Texture texture) {
    switch (texture) {
        case Texture::Wavy:
            return QStringLiteral("ondulado");
        case Texture::Curly:
            return QStringLiteral("rizado");
        case Texture::Highlights:
            return QStringLiteral("mechas");
        case Texture::UpDo:
            return QStringLiteral("recogidos");
        case Texture::Straight:
            break;
    }
    return QStringLiteral("liso");
}

QString familyWord(Family family) {
    switch (family) {
        case Family::Blonde:
            return QStringLiteral("dorado");
        case Family::Red:
            return QStringLiteral("rojo");
        case Family::Fantasy:
            return QStringLiteral("fantasia");
        case Family::Dark:
            break;
    }
    return QStringLiteral("Negro");
}

// The views show the style on a person of its kind.
PersonLook lookFor(const HairStyle& style) {
    PersonLook look = modelLook();
    look.person = style.person;
    return look;
}

bool writeEntry(const QDir& dir, const CatalogueEntry& entry, QString* error) {
    const QString base =
        dir.filePath(QStringLiteral("fotos/%1/%2").arg(entry.largura, entry.nombre));
    const QString thumbnail = dir.filePath(
        QStringLiteral("fotos/visualizacion/%1/%2.jpg").arg(entry.largura, entry.nombre));
    const HairPictures pictures = drawHairStyle(entry.style);
    // Half size is plenty for the 60 x 64 box and keeps the hair on black like the samples.
    const QImage small = pictures.hair.scaled(pictures.hair.size() / 2, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation);
    if (!writeJpeg(pictures.hair, base + QStringLiteral(".jpg"), kOverlayQuality, error) ||
        !writeJpeg(pictures.mask, base + QStringLiteral("m.jpg"), kOverlayQuality, error) ||
        !writeJpeg(small, thumbnail, kPhotoQuality, error)) {
        return false;
    }
    // A view left over from an earlier run would show for a style that has none.
    const auto view = [&](bool wanted, const QString& suffix, const auto& draw) {
        const QString path = base + suffix;
        if (wanted) {
            return writeJpeg(draw(), path, kPhotoQuality, error);
        }
        QFile stale(path);
        if (stale.exists() && !stale.remove()) {
            if (error) {
                *error = QStringLiteral("cannot remove %1: %2").arg(path, stale.errorString());
            }
            return false;
        }
        return true;
    };
    const PersonLook look = lookFor(entry.style);
    return view(entry.sideView, QStringLiteral("l.jpg"),
                [&] { return drawSideView(entry.style, Facing::Left, look); }) &&
           view(entry.napeView, QStringLiteral("n.jpg"),
                [&] { return drawNapeView(entry.style, look); });
}

}  // namespace

std::vector<CatalogueEntry> catalogueEntries() {
    std::vector<CatalogueEntry> entries;
    // Names like "lm01": length, person and a count, unique within a length folder.
    std::map<std::pair<Length, Person>, int> counts;
    std::uint32_t seed = 1000;
    for (const Row& row : catalogueRows()) {
        CatalogueEntry entry;
        entry.style.person = row.person;
        entry.style.length = row.length;
        entry.style.texture = row.texture;
        entry.style.colour = QColor(row.colour);
        if (row.highlight != 0) {
            entry.style.highlight = QColor(row.highlight);
        }
        entry.style.parting = row.parting;
        entry.style.fringe = row.fringe;
        entry.style.volume = row.volume;
        entry.style.seed = ++seed;
        entry.sideView = (row.views & kSide) != 0;
        entry.napeView = (row.views & kNape) != 0;
        entry.tpersona = personWord(row.person);
        entry.largura = lengthWord(row.length);
        entry.tipo = textureWord(row.texture);
        entry.color = familyWord(row.family);
        const int number = ++counts[{row.length, row.person}];
        entry.nombre = QStringLiteral("%1%2%3")
                           .arg(entry.largura.at(0), entry.tpersona.at(0))
                           .arg(number, 2, 10, QLatin1Char('0'));
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool writeCatalogue(const QString& folder, QString* error) {
    const QDir dir(folder);
    for (Length length : {Length::Short, Length::Medium, Length::Long}) {
        const QString word = lengthWord(length);
        for (const QString& sub :
             {QStringLiteral("fotos/") + word, QStringLiteral("fotos/visualizacion/") + word}) {
            if (!dir.mkpath(sub)) {
                if (error) {
                    *error = QStringLiteral("cannot create folder %1").arg(dir.filePath(sub));
                }
                return false;
            }
        }
    }

    // Drawing dominates the generator's run time and every style is independent, so they are
    // drawn on all cores; the pictures come out the same whatever the order.
    const std::vector<CatalogueEntry> entries = catalogueEntries();
    QThreadPool pool;
    QMutex mutex;
    bool failed = false;
    for (const CatalogueEntry& entry : entries) {
        pool.start([&dir, &entry, &mutex, &failed, error] {
            QString reason;
            if (!writeEntry(dir, entry, &reason)) {
                const QMutexLocker lock(&mutex);
                if (!failed && error) {
                    *error = reason;
                }
                failed = true;
            }
        });
    }
    pool.waitForDone();
    return !failed;
}

}  // namespace crinova::samples
