#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// The far end of a pseudo-terminal, driven by hand: the test writes the device's bytes and
// reads what the program sent, with no device logic in between.
class RawPty
{
public:
    RawPty();
    ~RawPty();
    RawPty(const RawPty &) = delete;
    RawPty &operator=(const RawPty &) = delete;

    bool isOpen() const { return m_master >= 0; }
    // A link to the terminal that goes away with it, as a device file does when unplugged;
    // open this, not the terminal itself, whose number the system may hand out again.
    QString slavePath() const { return m_link; }

    void send(const QByteArray &bytes);
    // Everything the program sent so far, waiting up to limitMs for at least minBytes.
    QByteArray receive(int minBytes = 1, int limitMs = 2000);
    // The far end goes away.
    void hangUp();

private:
    int m_master = -1;
    QTemporaryDir m_dir;
    QString m_link;
};
