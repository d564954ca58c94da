#include <QtTest>

#include "program/database_maintenance.h"
#include "program/folder_names.h"

using namespace crinova;

class FolderNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void cataloguePaths();
    void styleOfAPath_data();
    void styleOfAPath();
    void copiesAreNamedByTheirMoment();
};

void FolderNamesTest::cataloguePaths() {
    QCOMPARE(catalogueHairPath(QStringLiteral("corto"), QStringLiteral("c01")),
             QStringLiteral("\\fotos\\corto\\c01.jpg"));
    QCOMPARE(catalogueMaskPath(QStringLiteral("corto"), QStringLiteral("c01")),
             QStringLiteral("\\fotos\\corto\\c01m.jpg"));
    QCOMPARE(catalogueThumbnailPath(QStringLiteral("corto"), QStringLiteral("c01")),
             QStringLiteral("\\fotos\\visualizacion\\corto\\c01.jpg"));
}

void FolderNamesTest::styleOfAPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isStyle");
    QTest::addColumn<QString>("largura");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("catalogue hair") << "\\fotos\\largo\\melena" << true << "largo"
                                    << "melena";
    QTest::newRow("catalogue hair with extension") << "\\fotos\\medio\\m2.jpg" << true << "medio"
                                                   << "m2";
    QTest::newRow("sample hair beside the program") << "\\pelo2.jpg" << false << ""
                                                    << "";
    QTest::newRow("thumbnail folder is deeper")
        << "\\fotos\\visualizacion\\corto\\c1.jpg" << false << ""
        << "";
    QTest::newRow("other top folder") << "\\clientes\\x\\foto1.bmp" << false << ""
                                      << "";
    QTest::newRow("not relative to the program") << "fotos\\corto\\c1.jpg\\x" << false << ""
                                                 << "";
}

void FolderNamesTest::styleOfAPath() {
    QFETCH(QString, path);
    QFETCH(bool, isStyle);
    const std::optional<CatalogueStyleName> style = catalogueStyleOf(path);
    QCOMPARE(style.has_value(), isStyle);
    if (isStyle) {
        QFETCH(QString, largura);
        QFETCH(QString, nombre);
        QCOMPARE(style->largura, largura);
        QCOMPARE(style->nombre, nombre);
    }
}

void FolderNamesTest::copiesAreNamedByTheirMoment() {
    const QDateTime when(QDate(2024, 3, 9), QTime(7, 5, 1));
    QCOMPARE(backupName(when), QStringLiteral("\\copias\\crinova-20240309-070501.db"));
    QCOMPARE(beforeRestoreName(when),
             QStringLiteral("\\copias\\antes-de-restaurar-20240309-070501.db"));
    QCOMPARE(damagedCopyName(when), QStringLiteral("\\copias\\danada-20240309-070501.db"));
}

QTEST_GUILESS_MAIN(FolderNamesTest)
#include "tst_folder_names.moc"
