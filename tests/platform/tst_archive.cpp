#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

#include <QTemporaryDir>

#include "platform/archive.h"

using namespace crinova;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An archive with entries of any names, written with the library directly.
void writeRawArchive(const QString& path, const QList<const char*>& names) {
    struct archive* out = archive_write_new();
    archive_write_set_format_pax_restricted(out);
    QCOMPARE(archive_write_open_filename(out, QFile::encodeName(path).constData()), ARCHIVE_OK);
    for (const char* name : names) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name);
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, 3);
        archive_write_header(out, entry);
        archive_write_data(out, "bad", 3);
        archive_entry_free(entry);
    }
    archive_write_close(out);
    archive_write_free(out);
}

}  // namespace

class ArchiveTest : public QObject {
    Q_OBJECT
  private slots:
    void filesComeBackByteForByte();
    void anExistingNameIsNeverOverwritten();
    void aFailureLeavesNoArchive();
    void entryNames_data();
    void entryNames();
    void badArchivesAreRefusedInSpanish_data();
    void badArchivesAreRefusedInSpanish();
};

void ArchiveTest::filesComeBackByteForByte() {
    QTemporaryDir dir;
    QByteArray big(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>((i * 7 + i / 4096) & 0xFF);
    }
    writeBytes(dir.filePath("in/big.bin"), big);
    writeBytes(dir.filePath("in/ñandú.bmp"), "pájaro");
    const std::vector<ArchiveEntry> entries{
        {"dentro", {}, {}, true},
        {"dentro/big.bin", dir.filePath("in/big.bin"), {}, false},
        {"dentro/ñandú.bmp", dir.filePath("in/ñandú.bmp"), {}, false},
        {"lista.txt", {}, "3\n", false},
    };
    std::vector<std::pair<qint64, qint64>> told;
    QString error;
    QVERIFY2(writeTarArchive(
                 entries, dir.filePath("copia.tar"),
                 [&](qint64 done, qint64 total) { told.emplace_back(done, total); }, &error),
             qPrintable(error));
    // Progress grows to the whole: the file bytes and the in-memory ones.
    const qint64 total = big.size() + QByteArray("pájaro").size() + 2;
    QVERIFY(told.size() >= 4);
    for (std::size_t i = 1; i < told.size(); ++i) {
        QVERIFY(told[i].first >= told[i - 1].first);
        QCOMPARE(told[i].second, total);
    }
    QCOMPARE(told.back().first, total);
    QVERIFY(!QFileInfo::exists(dir.filePath(".copia.tar.part")));

    QVERIFY(QDir().mkpath(dir.filePath("out")));
    QStringList names;
    QVERIFY2(extractTarArchive(dir.filePath("copia.tar"), dir.filePath("out"), &names, &error),
             qPrintable(error));
    QCOMPARE(names, (QStringList{"dentro", "dentro/big.bin", "dentro/ñandú.bmp", "lista.txt"}));
    QCOMPARE(bytesOf(dir.filePath("out/dentro/big.bin")), big);
    QCOMPARE(bytesOf(dir.filePath("out/dentro/ñandú.bmp")), QByteArray("pájaro"));
    QCOMPARE(bytesOf(dir.filePath("out/lista.txt")), QByteArray("3\n"));
}

void ArchiveTest::anExistingNameIsNeverOverwritten() {
    QTemporaryDir dir;
    writeBytes(dir.filePath("copia.tar"), "earlier");
    QString error;
    QVERIFY(!writeTarArchive({{"a", {}, "a", false}}, dir.filePath("copia.tar"), {}, &error));
    QVERIFY(error.contains(QStringLiteral("Ya existe")));
    QCOMPARE(bytesOf(dir.filePath("copia.tar")), QByteArray("earlier"));
}

void ArchiveTest::aFailureLeavesNoArchive() {
    QTemporaryDir dir;
    writeBytes(dir.filePath("a.bin"), "a");
    // The second file went away before it was read.
    QString error;
    QVERIFY(!writeTarArchive(
        {{"a.bin", dir.filePath("a.bin"), {}, false}, {"b.bin", dir.filePath("b.bin"), {}, false}},
        dir.filePath("copia.tar"), {}, &error));
    QVERIFY(error.contains(dir.filePath("b.bin")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bin"});
    // A folder where nothing can be created.
    QVERIFY(!writeTarArchive({{"a.bin", dir.filePath("a.bin"), {}, false}},
                             dir.filePath("missing-folder/copia.tar"), {}, &error));
    QVERIFY(error.contains(QStringLiteral("No se ha podido crear")));
}

void ArchiveTest::entryNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "clientes/07/a.bmp" << true;
    QTest::newRow("folder") << "clientes/" << true;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("up") << "clientes/../../x" << false;
    QTest::newRow("dot") << "./x" << false;
    QTest::newRow("backslash") << "clientes\\..\\x" << false;
    QTest::newRow("empty") << "" << false;
}

void ArchiveTest::entryNames() {
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(isSafeEntryName(name), safe);
}

void ArchiveTest::badArchivesAreRefusedInSpanish_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("told");  // what the stylist reads of what happened
    QTest::newRow("a name leaving the folder") << "up"
                                               << "con un nombre no permitido (../fuera.txt)";
    QTest::newRow("cut in the middle of a file") << "cut"
                                                 << "se corta antes de su final";
    QTest::newRow("the same entry twice") << "twice"
                                          << "tiene dos veces la entrada a.bin";
    QTest::newRow("an empty file") << "empty"
                                   << "está vacío";
    QTest::newRow("a compressed archive") << "gzip"
                                          << "está comprimido (gzip)";
    QTest::newRow("not an archive") << "text"
                                    << "no es un archivo .tar";
}

void ArchiveTest::badArchivesAreRefusedInSpanish() {
    QFETCH(QString, kind);
    QFETCH(QString, told);
    QTemporaryDir dir;
    const QString archive = dir.filePath("copia.tar");
    if (kind == "up" || kind == "twice") {
        writeRawArchive(archive, kind == "up" ? QList<const char*>{"../fuera.txt"}
                                              : QList<const char*>{"a.bin", "a.bin"});
    } else if (kind == "cut") {
        writeBytes(dir.filePath("a.bin"), QByteArray(200000, 'a'));
        QVERIFY(
            writeTarArchive({{"a.bin", dir.filePath("a.bin"), {}, false}}, archive, {}, nullptr));
        QVERIFY(QFile(archive).resize(100000));  // in the middle of the file's data
    } else {
        writeBytes(archive, kind == "empty"  ? QByteArray()
                            : kind == "gzip" ? QByteArray("\x1f\x8b\x08\x00rest", 8)
                                             : QByteArray(4000, 'x'));
    }
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    QString error;
    bool unwritable = false;
    QVERIFY(!extractTarArchive(archive, dir.filePath("out"), nullptr, &error, {}, &unwritable));
    QVERIFY2(error.contains(told), qPrintable(error));
    QVERIFY(!unwritable);  // the archive's fault, not the disk's
    QVERIFY(!error.contains(QStringLiteral("Unrecognized")) &&
            !error.contains(QStringLiteral("Truncated")));
    QVERIFY(!QFileInfo::exists(dir.filePath("fuera.txt")));
}

QTEST_GUILESS_MAIN(ArchiveTest)
#include "tst_archive.moc"
