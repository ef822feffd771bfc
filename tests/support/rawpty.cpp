#include "rawpty.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

RawPty::RawPty()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    termios tio{};
    ::tcgetattr(m_master, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_master, TCSANOW, &tio);
    m_link = m_dir.filePath(QStringLiteral("device"));
    QFile::link(QString::fromLocal8Bit(::ptsname(m_master)), m_link);
}

RawPty::~RawPty()
{
    hangUp();
}

void RawPty::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray RawPty::receive(int minBytes, int limitMs)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    while (m_master >= 0) {
        const int left = int(limitMs - clock.elapsed());
        pollfd pfd{m_master, POLLIN, 0};
        const int timeout = got.size() >= minBytes ? 0 : qMax(left, 0);
        if (::poll(&pfd, 1, timeout) <= 0 || !(pfd.revents & POLLIN))
            break;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    return got;
}

void RawPty::hangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    QFile::remove(m_link);
}
