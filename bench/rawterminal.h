#pragma once

#include <QString>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The minimal loops' side of the line: the terminal opened with plain system calls, raw, as a
// program without the serial port class would. -1 when it cannot be opened.
inline int openRawTerminal(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}
