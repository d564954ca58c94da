#include <sys/stat.h>

#include <QtTest>

#include "program/password_file.h"

using namespace crinova;

class PasswordFileTest : public QObject {
    Q_OBJECT
  private slots:
    void fieldsAreEscaped_data();
    void fieldsAreEscaped();
    void ownEntryIsWrittenOnceFirstAndAlone();
};

void PasswordFileTest::fieldsAreEscaped_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << QStringLiteral("clave") << QStringLiteral("clave");
    QTest::newRow("colon") << QStringLiteral("a:b") << QStringLiteral("a\\:b");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << QStringLiteral("a\\\\b");
    QTest::newRow("lone star") << QStringLiteral("*") << QStringLiteral("\\*");
    QTest::newRow("star inside") << QStringLiteral("a*") << QStringLiteral("a*");
}

void PasswordFileTest::fieldsAreEscaped() {
    QFETCH(QString, field);
    QFETCH(QString, written);
    QCOMPARE(escapePasswordField(field), written);
}

void PasswordFileTest::ownEntryIsWrittenOnceFirstAndAlone() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/pgpass"));
    ServerSettings salon;
    salon.servidor = QStringLiteral("salon.local");
    salon.basedatos = QStringLiteral("crinova");
    salon.usuario = QStringLiteral("recepcion");
    QVERIFY(!passwordRemembered(file, salon));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
    QFile existing(file);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("# del técnico\n*:*:*:*:comodin\notro:5432:crinova:recepcion:x\n");
    existing.close();
    const auto lines = [&file] {
        QFile read(file);
        return read.open(QIODevice::ReadOnly) ? QString::fromUtf8(read.readAll()).split('\n')
                                              : QStringList();
    };
    QVERIFY(rememberPassword(file, salon, QStringLiteral("uno:dos"), nullptr));
    QVERIFY(rememberPassword(file, salon, QStringLiteral("tres\\"), nullptr));
    QCOMPARE(lines(),
             QStringList({QStringLiteral("salon.local:5432:crinova:recepcion:tres\\\\"),
                          QStringLiteral("# del técnico"), QStringLiteral("*:*:*:*:comodin"),
                          QStringLiteral("otro:5432:crinova:recepcion:x"), QString()}));
    struct stat mode {};
    QCOMPARE(stat(QFile::encodeName(file).constData(), &mode), 0);
    QCOMPARE(mode.st_mode & 0777, 0600u);  // without which the client library ignores it
    QVERIFY(passwordRemembered(file, salon));
    QString error;
    QVERIFY(!rememberPassword(file, salon, QStringLiteral("dos\nlíneas"), &error));
    QVERIFY(error.contains(QStringLiteral("saltos de línea")));
    QVERIFY(forgetPassword(file, salon, nullptr));
    QVERIFY(!passwordRemembered(file, salon));
    QCOMPARE(lines().size(), 4);
}

QTEST_GUILESS_MAIN(PasswordFileTest)
#include "tst_password_file.moc"
