#include "ptyreader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Bytes nobody reads pile up here once the terminal's own buffer is full; a real line would
// lose them, and so does this one beyond this much.
constexpr int kOutputLimit = 64 * 1024;
constexpr int kWaitSliceMs = 10;
// How much of the past the reader keeps for whoever inspects it: far more than one test
// sends, far less than a day of reading.
constexpr qsizetype kKeptExchanges = 20000;
constexpr qsizetype kKeptBytes = 1024 * 1024;

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

void closeFd(int *fd)
{
    if (*fd >= 0)
        ::close(*fd);
    *fd = -1;
}

} // namespace

PtyReader::PtyReader(const QString &trayFolder, const QString &linkPath)
    : m_linkPath(linkPath), m_device(trayFolder)
{}

PtyReader::~PtyReader()
{
    stop();
}

bool PtyReader::start(QString *error)
{
    if (isRunning())
        return true;
    if (!openTerminal(error))
        return false;
    if (!pointLink(error)) {
        closeTerminal();
        return false;
    }
    m_stopping = false;
    m_thread = std::thread(&PtyReader::run, this);
    return true;
}

void PtyReader::stop()
{
    stopThread();
    closeTerminal();
    const QFileInfo link(m_linkPath);
    if (link.isSymLink())
        QFile::remove(m_linkPath);
}

bool PtyReader::isRunning() const
{
    return m_thread.joinable();
}

QString PtyReader::slavePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_slavePath;
}

void PtyReader::setSwitchedOff(bool off)
{
    withDevice([off](ReaderDevice &device) { device.setSwitchedOff(off); });
}

void PtyReader::hangUp()
{
    // The link goes too, as an unplugged adapter's device file does: left dangling, it could
    // come to name another program's terminal once the system hands the number out again.
    stop();
}

bool PtyReader::comeBack(QString *error)
{
    return start(error);
}

QList<QByteArray> PtyReader::receivedCommands()
{
    QMutexLocker lock(&m_mutex);
    QList<QByteArray> commands;
    for (const ReaderDevice::Exchange &exchange : m_device.exchanges())
        commands.append(exchange.command);
    return commands;
}

QByteArray PtyReader::receivedBytes()
{
    QMutexLocker lock(&m_mutex);
    return m_receivedBytes;
}

void PtyReader::clearReceived()
{
    QMutexLocker lock(&m_mutex);
    m_receivedBytes.clear();
    m_device.clearExchanges();
}

bool PtyReader::waitForReceived(int byteCount, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    for (;;) {
        {
            QMutexLocker lock(&m_mutex);
            if (m_receivedBytes.size() >= byteCount)
                return true;
            if (deadline.hasExpired())
                return false;
            m_received.wait(&m_mutex,
                            QDeadlineTimer(qMin<qint64>(kWaitSliceMs, deadline.remainingTime())));
            if (m_receivedBytes.size() >= byteCount)
                return true;
        }
        QCoreApplication::processEvents();
    }
}

QByteArray PtyReader::applyFaults(const QByteArray &reply, bool silent, bool partial, bool garbage)
{
    if (silent || reply.isEmpty())
        return QByteArray();
    // Half of a one-byte reply cannot be sent; it passes whole (silence covers losing it).
    QByteArray sent = partial ? reply.left((reply.size() + 1) / 2) : reply;
    if (garbage) {
        for (char &byte : sent)
            byte = char(~quint8(byte)); // never the byte that was due
    }
    return sent;
}

bool PtyReader::openTerminal(QString *error)
{
    const auto fail = [this, error](const char *what) {
        if (error)
            *error = systemError(what);
        closeTerminal();
        return false;
    };
    m_masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_masterFd < 0)
        return fail("posix_openpt");
    if (::grantpt(m_masterFd) != 0 || ::unlockpt(m_masterFd) != 0)
        return fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(m_masterFd, name, sizeof name) != 0)
        return fail("ptsname");
    // Raw both ways: no echo of replies back to us, no line editing, no CR/LF translation.
    termios mode{};
    if (::tcgetattr(m_masterFd, &mode) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&mode);
    if (::tcsetattr(m_masterFd, TCSANOW, &mode) != 0)
        return fail("tcsetattr");
    if (::fcntl(m_masterFd, F_SETFL, ::fcntl(m_masterFd, F_GETFL) | O_NONBLOCK) != 0)
        return fail("fcntl");
    m_slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveFd < 0)
        return fail("open slave");
    if (::pipe2(m_wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return fail("pipe");
    QMutexLocker lock(&m_mutex);
    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

void PtyReader::closeTerminal()
{
    closeFd(&m_masterFd);
    closeFd(&m_slaveFd);
    closeFd(&m_wakeFds[0]);
    closeFd(&m_wakeFds[1]);
    m_pending.clear();
    m_output.clear();
}

bool PtyReader::pointLink(QString *error)
{
    const QByteArray link = QFile::encodeName(m_linkPath);
    struct stat status;
    if (::lstat(link.constData(), &status) == 0 && !S_ISLNK(status.st_mode)) {
        // Only our own kind of file is replaced; anything else there is someone's data.
        if (error)
            *error = QStringLiteral("%1 exists and is not a link").arg(m_linkPath);
        return false;
    }
    // A new link under a temporary name, renamed over the old one: the path never vanishes.
    const QByteArray temporary = link + ".new" + QByteArray::number(qint64(::getpid()));
    ::unlink(temporary.constData());
    if (::symlink(QFile::encodeName(slavePath()).constData(), temporary.constData()) != 0 ||
        std::rename(temporary.constData(), link.constData()) != 0) {
        if (error)
            *error = systemError("link");
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void PtyReader::stopThread()
{
    if (!m_thread.joinable())
        return;
    m_stopping = true;
    const char wake = 0;
    if (::write(m_wakeFds[1], &wake, 1) < 0 && errno != EAGAIN)
        qWarning("PtyReader: cannot wake the reader thread: %s", std::strerror(errno));
    m_thread.join();
    m_stopping = false;
}

void PtyReader::run()
{
    while (!m_stopping) {
        const qint64 now = nowMs();
        while (!m_pending.isEmpty() && m_pending.first().dueMs <= now)
            m_output += m_pending.takeFirst().bytes;
        if (m_output.size() > kOutputLimit)
            m_output = m_output.right(kOutputLimit);
        const int timeout = m_pending.isEmpty() ? -1 : int(m_pending.first().dueMs - now);

        pollfd fds[2] = {{m_masterFd, short(POLLIN | (m_output.isEmpty() ? 0 : POLLOUT)), 0},
                         {m_wakeFds[0], POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            qWarning("PtyReader: poll: %s", std::strerror(errno));
            return;
        }
        if (fds[1].revents & POLLIN) {
            char drain[16];
            while (::read(m_wakeFds[0], drain, sizeof drain) > 0) {
            }
        }
        if (fds[0].revents & POLLIN) {
            char buffer[4096];
            const ssize_t count = ::read(m_masterFd, buffer, sizeof buffer);
            if (count > 0)
                handleInput(QByteArray(buffer, int(count)), nowMs());
        } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // Cannot happen while the slave is held open; do not spin if it does.
            qWarning("PtyReader: the terminal failed");
            return;
        }
        if (!m_output.isEmpty()) { // non-blocking: what does not fit waits for POLLOUT
            const ssize_t written = ::write(m_masterFd, m_output.constData(), m_output.size());
            if (written > 0)
                m_output.remove(0, int(written));
        }
    }
}

void PtyReader::handleInput(const QByteArray &bytes, qint64 now)
{
    // The switches as they stand when the bytes arrive: whoever sees them received may flip
    // a switch at once, and must not change how these are answered.
    const bool silent = m_silent;
    const bool partial = m_partial;
    const bool garbage = m_garbage;
    const int delay = m_delayMs;
    QList<ReaderDevice::Exchange> exchanges;
    {
        QMutexLocker lock(&m_mutex);
        m_receivedBytes += bytes;
        const qsizetype before = m_device.exchanges().size();
        m_device.receive(bytes);
        exchanges = m_device.exchanges().mid(before);
        // What tests look at is recent; a demo or soak that runs for hours keeps only that.
        if (m_device.exchanges().size() > kKeptExchanges)
            m_device.dropOldExchanges(kKeptExchanges / 2);
        if (m_receivedBytes.size() > kKeptBytes)
            m_receivedBytes.remove(0, m_receivedBytes.size() - kKeptBytes / 2);
        m_received.wakeAll();
    }
    for (const ReaderDevice::Exchange &exchange : exchanges) {
        const QByteArray sent = applyFaults(exchange.reply, silent, partial, garbage);
        if (m_logger)
            m_logger(exchange.command, sent);
        if (sent.isEmpty())
            continue;
        if (delay > 0 || !m_pending.isEmpty())
            m_pending.append({now + delay, sent}); // after what is already waiting
        else
            m_output += sent;
    }
}
