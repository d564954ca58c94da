#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

class QSqlQuery;

namespace crinova {

// The rows of one SELECT, held in memory so that the set can be walked to its end and back to its
// first row, and moved forward by a count.
//
// Position: -1 is before the first row (Bof), RecordCount() is past the last row (Eof). A new set
// stands on its first row; an empty set is both Bof and Eof.
class RecordSet {
  public:
    RecordSet() = default;
    RecordSet(QStringList columns, std::vector<std::vector<QVariant>> rows);

    int RecordCount() const { return static_cast<int>(rows_.size()); }
    void MoveFirst();
    void MoveNext();
    void Move(int rows);  // n rows from the current one; stops at Bof or Eof
    bool Eof() const { return position_ >= RecordCount(); }
    bool Bof() const { return position_ < 0 || rows_.empty(); }

    // The value of a column of the current row, as text; column names compare without case.
    // Empty text at Bof/Eof, for a NULL value and for an unknown column.
    QString Fields(const QString& column) const;
    // The same value as it came (bytes stay bytes); a null value at Bof/Eof or for an unknown
    // column.
    QVariant Value(const QString& column) const;

    void Close();
    bool isOpen() const { return open_; }

  private:
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
    int position_ = 0;
    bool open_ = false;
};

// How a server connection is reached: what Qt's PostgreSQL driver is given. `options` are libpq
// connection options separated by ";" ("sslmode=require;connect_timeout=5"). An empty password
// lets libpq look in the user's password file.
struct ServerLogin {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString options;
};

// The SQL dialects the program speaks: its embedded file, or the salon's server.
enum class Dialect { SQLite, PostgreSQL };

// The program's database: one SQLite file, or a connection to the salon's PostgreSQL server. Every
// value that a person typed is bound as a parameter, never pasted into the SQL text.
class Database {
  public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file, or creates it when `create` is true. A file that is not a database,
    // or is damaged, is refused with a Spanish reason in `error`; so is one that another program
    // holds, after a short wait (`busy()` then tells it).
    bool open(const QString& path, bool create, QString* error);
    // Connects to a PostgreSQL server through Qt's driver (QPSQL). On failure `driverError` holds
    // the driver's own text (the caller says it in Spanish; no password is ever in it).
    bool openServer(const ServerLogin& login, QString* driverError);
    bool isOpen() const { return target_ ? target_->isOpen() : !connection_.isEmpty(); }
    void close();
    // The file; empty for a server.
    const QString& path() const { return target_ ? target_->path() : path_; }
    Dialect dialect() const { return target_ ? target_->dialect() : dialect_; }

    // While set, this database stands for `target`: every statement, question and transaction
    // goes there (the client records go to the salon's server while the station works on it).
    // Null: its own connection again.
    void standFor(Database* target) { target_ = target == this ? nullptr : target; }
    // What a statement is told while the database is closed and nothing reopens it (a server
    // that does not answer names itself here).
    void setClosedReason(const QString& reason) { closedReason_ = reason; }

    // Whether the database holds a table of that name (on a server, in the connection's own
    // schema); `failed` when that cannot be read.
    bool hasTable(const QString& name, QString* error, bool* failed);

    // Whether the last failure was another program holding the database (another copy of Crinova,
    // a tool in the middle of a write): nothing is wrong with the file, it is only in use.
    bool busy() const { return target_ ? target_->busy() : busy_; }

    // For a file that another program held when it was to be opened: the next statement that
    // needs the database runs `reopen` first (the same open again), and so on until it opens. A
    // successful open, or another call, replaces it.
    void reopenWhenNeeded(std::function<bool(QString*)> reopen);
    bool reopenPending() const {
        return target_ ? target_->reopenPending() : static_cast<bool>(reopen_);
    }

    // Runs a SELECT with its bound values (positional "?" placeholders). On failure answers a
    // closed empty set and a Spanish reason in `error`.
    RecordSet OpenRecordset(const QString& sql, const QVariantList& values = {},
                            QString* error = nullptr);

    // Runs a statement that changes data or schema; answers whether it worked.
    bool Execute(const QString& sql, const QVariantList& values = {}, QString* error = nullptr);

    // Runs the statements of one write as a single transaction: all or nothing. `statements`
    // answers whether every statement worked (and leaves the reason in the error it is given);
    // on failure, or when the commit fails, everything is rolled back and the reason is kept in
    // `error`. In the file the transaction takes the write lock at once (BEGIN IMMEDIATE).
    bool transaction(const std::function<bool(QString*)>& statements, QString* error = nullptr);

  private:
    bool run(QSqlQuery& query, const QString& sql, const QVariantList& values) const;

    // Opens the database again when a reopen is pending; false with the reason otherwise.
    bool ensureOpen(QString* error);
    // The Spanish reason of a failed statement; notes whether the database was busy.
    QString failureReason(const QString& databaseText, const QString& nativeCode);

    QString connection_;
    QString path_;
    Dialect dialect_ = Dialect::SQLite;
    QByteArray identity_;  // the file's device and inode when it was opened
    bool busy_ = false;
    std::function<bool(QString*)> reopen_;
    Database* target_ = nullptr;
    QString closedReason_;
};

}  // namespace crinova
