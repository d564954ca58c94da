#include "platform/record_sets.h"

#include <sys/stat.h>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <algorithm>

#include "platform/system_errors.h"

namespace crinova {
namespace {

// How long a statement waits for another program to let go of the database before it is told
// that the database is busy: long enough for another copy's short write, short enough not to
// freeze the window.
constexpr int kBusyWaitMs = 1000;

// The file's device and inode: a file replaced under an open connection has others.
QByteArray fileIdentity(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return QByteArray("gone");
    }
    return QByteArray::number(static_cast<qulonglong>(info.st_dev)) + ':' +
           QByteArray::number(static_cast<qulonglong>(info.st_ino));
}

}  // namespace

RecordSet::RecordSet(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)), open_(true) {}

void RecordSet::MoveFirst() {
    position_ = 0;
}

void RecordSet::MoveNext() {
    Move(1);
}

void RecordSet::Move(int rows) {
    const long long target = static_cast<long long>(position_) + rows;
    position_ = static_cast<int>(std::clamp<long long>(target, -1, RecordCount()));
}

QString RecordSet::Fields(const QString& column) const {
    const QVariant value = Value(column);
    return value.isNull() ? QString() : value.toString();
}

QVariant RecordSet::Value(const QString& column) const {
    if (position_ < 0 || position_ >= RecordCount()) {
        return {};
    }
    const int index = columns_.indexOf(column.toLower());
    if (index < 0) {
        return {};
    }
    return rows_[static_cast<std::size_t>(position_)][static_cast<std::size_t>(index)];
}

void RecordSet::Close() {
    rows_.clear();
    columns_.clear();
    position_ = 0;
    open_ = false;
}

bool Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values) const {
    // The server prepares only queries and data changes, not BEGIN or CREATE: a statement with
    // nothing to bind goes as it is.
    if (values.isEmpty() && dialect_ == Dialect::PostgreSQL) {
        return query.exec(sql);
    }
    bool ok = query.prepare(sql);
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    return ok && query.exec();
}

Database::~Database() {
    close();
}

bool Database::open(const QString& path, bool create, QString* error) {
    close();
    reopen_ = {};
    busy_ = false;
    identity_.clear();
    auto fail = [&](const QString& reason) {
        if (error) {
            *error = QStringLiteral("No se ha podido abrir la base de datos:\n%1\n\n%2")
                         .arg(path, reason);
        }
        close();
        return false;
    };
    if (!create && !QFileInfo(path).isFile()) {
        return fail(QStringLiteral("El archivo no existe."));
    }
    connection_ = QStringLiteral("crinova-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    path_ = path;
    dialect_ = Dialect::SQLite;
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs);
        if (!create) {
            options += QStringLiteral(";QSQLITE_OPEN_READWRITE");
        }
        db.setConnectOptions(options);
        if (!db.open()) {
            reason = failureReason(db.lastError().databaseText(), db.lastError().nativeErrorCode());
        } else {
            // SQLite opens any file lazily; reading the schema is what finds a file that is not a
            // database or is damaged, or one that another program holds.
            QSqlQuery check(db);
            if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
                reason = failureReason(check.lastError().databaseText(),
                                       check.lastError().nativeErrorCode());
            }
            if (!busy_ && (!reason.isEmpty() || !check.next() ||
                           check.value(0).toString() != QLatin1String("ok"))) {
                reason = QStringLiteral("El archivo no es una base de datos o está dañado.");
            }
        }
    }
    // Closed only once nothing uses the connection any more.
    if (!reason.isEmpty()) {
        return fail(reason);
    }
    identity_ = fileIdentity(path);
    return true;
}

bool Database::openServer(const ServerLogin& login, QString* driverError) {
    close();
    connection_ = QStringLiteral("crinova-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    path_.clear();
    dialect_ = Dialect::PostgreSQL;
    reopen_ = {};
    busy_ = false;
    identity_.clear();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
        if (!db.isValid()) {
            failure = QStringLiteral("Qt PostgreSQL driver (QPSQL) not available");
        } else {
            db.setHostName(login.host);
            db.setPort(login.port);
            db.setDatabaseName(login.database);
            db.setUserName(login.user);
            db.setPassword(login.password);
            db.setConnectOptions(login.options);
            if (!db.open()) {
                failure = db.lastError().databaseText().trimmed();
                if (failure.isEmpty()) {
                    failure = db.lastError().text();
                }
            }
            // The driver keeps what it was given; the password has no business staying there.
            db.setPassword(QString());
        }
    }
    if (!failure.isEmpty()) {
        if (driverError) {
            *driverError = failure;
        }
        close();
        return false;
    }
    return true;
}

bool Database::hasTable(const QString& name, QString* error, bool* failed) {
    if (target_) {
        return target_->hasTable(name, error, failed);
    }
    const RecordSet rows = OpenRecordset(
        dialect_ == Dialect::SQLite
            ? QStringLiteral("Select name From sqlite_master where type='table' and name=?")
            : QStringLiteral("Select table_name From information_schema.tables "
                             "where table_schema=current_schema() and table_name=?"),
        {name.toLower()}, error);
    if (failed) {
        *failed = !rows.isOpen();
    }
    return rows.RecordCount() > 0;
}

void Database::reopenWhenNeeded(std::function<bool(QString*)> reopen) {
    reopen_ = std::move(reopen);
}

bool Database::ensureOpen(QString* error) {
    if (isOpen()) {
        return true;
    }
    if (!reopen_) {
        if (error) {
            *error = closedReason_.isEmpty() ? QStringLiteral("La base de datos no está abierta.")
                                             : closedReason_;
        }
        return false;
    }
    const std::function<bool(QString*)> reopen = std::move(reopen_);
    reopen_ = {};
    return reopen(error);
}

QString Database::failureReason(const QString& databaseText, const QString& nativeCode) {
    // A server that went away mid-statement gives no SQL state, or a connection one (class 08, or
    // 57P: shut down); the stylist is told which server, as while it is closed.
    if (dialect_ == Dialect::PostgreSQL && !closedReason_.isEmpty() &&
        (nativeCode.isEmpty() || nativeCode.startsWith(QLatin1String("08")) ||
         nativeCode.startsWith(QLatin1String("57P")))) {
        busy_ = false;
        return closedReason_;
    }
    const int primary =
        nativeCode.toInt() & 0xff;  // an extended code keeps the primary in its low byte
    busy_ = primary == 5 || primary == 6 ||
            databaseText.contains(QLatin1String("is locked"), Qt::CaseInsensitive);
    if (!identity_.isEmpty() && fileIdentity(path_) != identity_) {
        return QStringLiteral(
            "Otro programa ha sustituido o movido el archivo de la base de datos mientras Crinova "
            "lo tenía abierto, y Crinova no escribe en un archivo que ya no es el suyo. Cierre "
            "Crinova y vuelva a abrirlo para trabajar con el archivo que hay ahora.");
    }
    return spanishSystemError(databaseText);
}

void Database::close() {
    if (connection_.isEmpty()) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isValid()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

RecordSet Database::OpenRecordset(const QString& sql, const QVariantList& values, QString* error) {
    if (target_) {
        return target_->OpenRecordset(sql, values, error);
    }
    if (!ensureOpen(error)) {
        return {};
    }
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.setForwardOnly(true);
    if (!run(query, sql, values)) {
        if (error) {
            *error = QStringLiteral("La consulta a la base de datos ha fallado:\n%1")
                         .arg(failureReason(query.lastError().databaseText(),
                                            query.lastError().nativeErrorCode()));
        }
        return {};
    }
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i) {
        columns << record.fieldName(i).toLower();
    }
    std::vector<std::vector<QVariant>> rows;
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<std::size_t>(record.count()));
        for (int i = 0; i < record.count(); ++i) {
            row.push_back(query.value(i));
        }
        rows.push_back(std::move(row));
    }
    return RecordSet(std::move(columns), std::move(rows));
}

bool Database::Execute(const QString& sql, const QVariantList& values, QString* error) {
    if (target_) {
        return target_->Execute(sql, values, error);
    }
    if (!ensureOpen(error)) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_));
    const bool ok = run(query, sql, values);
    if (!ok && error) {
        *error = QStringLiteral("La base de datos ha rechazado la operación:\n%1")
                     .arg(failureReason(query.lastError().databaseText(),
                                        query.lastError().nativeErrorCode()));
    }
    return ok;
}

bool Database::transaction(const std::function<bool(QString*)>& statements, QString* error) {
    if (target_) {
        return target_->transaction(statements, error);
    }
    if (!Execute(dialect_ == Dialect::SQLite ? QStringLiteral("BEGIN IMMEDIATE")
                                             : QStringLiteral("BEGIN"),
                 {}, error)) {
        return false;
    }
    if (!statements(error) || !Execute(QStringLiteral("COMMIT"), {}, error)) {
        Execute(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

}  // namespace crinova
