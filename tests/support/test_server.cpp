#include "test_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <vector>

namespace crinova::test {
namespace {

const QString kDatabase = QStringLiteral("crinova_prueba");
const QString kRole = QStringLiteral("estilista");

// The newest PostgreSQL server installed: "/usr/lib/postgresql/<version>/bin".
QString serverBin() {
    QStringList versions =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : versions) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        if (QFile::exists(bin + QStringLiteral("/initdb")) &&
            QFile::exists(bin + QStringLiteral("/pg_ctl")) &&
            QFile::exists(bin + QStringLiteral("/psql"))) {
            return bin;
        }
    }
    return QString();
}

// A TCP port nothing listens on now.
int freePort() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    if (probe >= 0) {
        close(probe);
    }
    return port;
}

}  // namespace

TestServer::TestServer() = default;

TestServer::~TestServer() {
    if (running_) {
        stop();
    }
    if (dir_) {
        dir_->remove();
    }
    if (guard_ >= 0) {
        close(guard_);  // the guard finds nothing left to do
    }
}

QString TestServer::password() {
    return QStringLiteral("tijeras:de\\plata*");
}

ServerSettings TestServer::settings() const {
    ServerSettings settings;
    settings.servidor = QStringLiteral("127.0.0.1");
    settings.puerto = port_;
    settings.basedatos = kDatabase;
    settings.usuario = kRole;
    return settings;
}

bool TestServer::run(const QStringList& command, QString* output, bool asOwner) {
    QStringList line = command;
    if (asRoot_ && asOwner) {
        line = QStringList{QStringLiteral("runuser"), QStringLiteral("-u"),
                           QStringLiteral("postgres"), QStringLiteral("--")} +
               line;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_->path());
    process.start(line.first(), line.mid(1));
    const bool done = process.waitForStarted() && process.waitForFinished(60000);
    const QString said = QString::fromLocal8Bit(process.readAll());
    if (output) {
        *output = said;
    }
    if (!done || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        reason_ = QStringLiteral("%1 failed: %2").arg(line.join(QLatin1Char(' ')), said.trimmed());
        return false;
    }
    return true;
}

bool TestServer::start() {
    bin_ = serverBin();
    if (bin_.isEmpty()) {
        reason_ = QStringLiteral("PostgreSQL is not installed (package postgresql)");
        return false;
    }
    asRoot_ = geteuid() == 0;
    const passwd* owner = asRoot_ ? getpwnam("postgres") : nullptr;
    if (asRoot_ && !owner) {
        reason_ = QStringLiteral("running as root and there is no postgres user to run the server");
        return false;
    }
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/crinova-pg-XXXXXX"));
    if (!dir_->isValid() || (owner && chown(QFile::encodeName(dir_->path()).constData(),
                                            owner->pw_uid, owner->pw_gid) != 0)) {
        reason_ = QStringLiteral("no temporary folder for the server");
        return false;
    }
    dir_->setAutoRemove(false);  // removed by the destructor or the guard, after the server stops
    startGuard();
    if (!run({bin_ + QStringLiteral("/initdb"), QStringLiteral("-D"), dir_->filePath("data"),
              QStringLiteral("-U"), QStringLiteral("postgres"),
              QStringLiteral("--auth-local=trust"), QStringLiteral("--auth-host=scram-sha-256"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
              QStringLiteral("--no-sync")})) {
        return false;
    }
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
        port_ = freePort();
        running_ = port_ > 0 && startServer();
    }
    if (!running_) {
        return false;
    }
    const QString script = QStringLiteral(CRINOVA_SERVER_SCRIPT);
    return run(
        {bin_ + QStringLiteral("/psql"), QStringLiteral("-X"), QStringLiteral("-q"),
         QStringLiteral("-h"), dir_->path(), QStringLiteral("-p"), QString::number(port_),
         QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
         QStringLiteral("postgres"), QStringLiteral("-v"), QStringLiteral("base=") + kDatabase,
         QStringLiteral("-v"), QStringLiteral("usuario=") + kRole, QStringLiteral("-v"),
         QStringLiteral("clave=") + password(), QStringLiteral("-f"), script},
        nullptr, false);
}

bool TestServer::startServer() {
    const QString options = QStringLiteral(
                                "-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                                "-c synchronous_commit=off -c full_page_writes=off")
                                .arg(port_)
                                .arg(dir_->path());
    return run({bin_ + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), dir_->filePath("data"),
                QStringLiteral("-l"), dir_->filePath("server.log"), QStringLiteral("-o"), options,
                QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                QStringLiteral("start")});
}

bool TestServer::stop() {
    running_ = !run({bin_ + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), dir_->filePath("data"),
                     QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                     QStringLiteral("stop")});
    return !running_;
}

bool TestServer::startAgain() {
    running_ = startServer();
    return running_;
}

QString TestServer::administer(const QString& sql, bool* ok) {
    QString output;
    const bool done = run(
        {bin_ + QStringLiteral("/psql"), QStringLiteral("-X"), QStringLiteral("-qAt"),
         QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
         dir_->path(), QStringLiteral("-p"), QString::number(port_), QStringLiteral("-U"),
         QStringLiteral("postgres"), QStringLiteral("-d"), kDatabase, QStringLiteral("-c"), sql},
        &output, false);
    if (ok) {
        *ok = done;
    }
    return output.trimmed();
}

void TestServer::startGuard() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    // Everything the guard runs is made before the fork: the child only calls what is safe there.
    QList<QByteArray> arguments{
        "/bin/sh", "-c",
        "dir=$1; shift; cat >/dev/null; \"$@\" -D \"$dir/data\" -m immediate stop; rm -rf \"$dir\"",
        "crinova-guard", QFile::encodeName(dir_->path())};
    if (asRoot_) {
        arguments << "runuser"
                  << "-u"
                  << "postgres"
                  << "--";
    }
    arguments << QFile::encodeName(bin_ + QStringLiteral("/pg_ctl"));
    std::vector<char*> argv;
    for (QByteArray& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        // Its own session, and a grandchild of nobody here: a timeout that kills the test's
        // process tree leaves it to clean up.
        setsid();
        if (fork() == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(ends[0], 0);
            dup2(null, 1);
            dup2(null, 2);
            execv(argv[0], argv.data());
        }
        _exit(0);
    }
    close(ends[0]);
    if (child > 0) {
        waitpid(child, nullptr, 0);
        guard_ = ends[1];
    } else {
        close(ends[1]);
    }
}

}  // namespace crinova::test
