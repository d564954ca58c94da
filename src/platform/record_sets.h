#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

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

    void Close();
    bool isOpen() const { return open_; }

  private:
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
    int position_ = 0;
    bool open_ = false;
};

// The program's database: one SQLite file. Every value that a person typed is bound as a parameter,
// never pasted into the SQL text.
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
    bool isOpen() const { return !connection_.isEmpty(); }
    void close();
    const QString& path() const { return path_; }

    // Whether the last failure was another program holding the database (another copy of Crinova,
    // a tool in the middle of a write): nothing is wrong with the file, it is only in use.
    bool busy() const { return busy_; }

    // For a file that another program held when it was to be opened: the next statement that
    // needs the database runs `reopen` first (the same open again), and so on until it opens. A
    // successful open, or another call, replaces it.
    void reopenWhenNeeded(std::function<bool(QString*)> reopen);
    bool reopenPending() const { return static_cast<bool>(reopen_); }

    // Runs a SELECT with its bound values (positional "?" placeholders). On failure answers a
    // closed empty set and a Spanish reason in `error`.
    RecordSet OpenRecordset(const QString& sql, const QVariantList& values = {},
                            QString* error = nullptr);

    // Runs a statement that changes data or schema; answers whether it worked.
    bool Execute(const QString& sql, const QVariantList& values = {}, QString* error = nullptr);

    // Runs the statements of one write as a single transaction: all or nothing. `statements`
    // answers whether every statement worked (and leaves the reason in the error it is given);
    // on failure, or when the commit fails, everything is rolled back and the reason is kept in
    // `error`. The transaction takes the write lock at once (BEGIN IMMEDIATE).
    bool transaction(const std::function<bool(QString*)>& statements, QString* error = nullptr);

  private:
    // Opens the database again when a reopen is pending; false with the reason otherwise.
    bool ensureOpen(QString* error);
    // The Spanish reason of a failed statement; notes whether the database was busy.
    QString failureReason(const QString& databaseText, const QString& nativeCode);

    QString connection_;
    QString path_;
    QByteArray identity_;  // the file's device and inode when it was opened
    bool busy_ = false;
    std::function<bool(QString*)> reopen_;
};

}  // namespace crinova
