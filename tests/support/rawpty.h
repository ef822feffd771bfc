#pragma once

#include <QByteArray>
#include <QString>

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
    QString slavePath() const { return m_slavePath; }

    void send(const QByteArray &bytes);
    // Everything the program sent so far, waiting up to limitMs for at least minBytes.
    QByteArray receive(int minBytes = 1, int limitMs = 2000);
    // The far end goes away.
    void hangUp();

private:
    int m_master = -1;
    QString m_slavePath;
};
