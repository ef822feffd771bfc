#pragma once

#include "readerdevice.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <thread>

// The simulated reader on a real serial line: a pseudo-terminal whose master side a thread of
// its own serves with a ReaderDevice, and a stable link to its slave side that the programs
// open as their port. Usable inside a test process; the test drives the program under test
// while this thread answers.
//
// Faults on demand, switchable at any time from any thread: silence (commands are still
// acted on, the replies are lost), late replies, replies cut to their first half, garbage in
// place of replies, a switched-off reader, and hang-up (the far end vanishes).
class PtyReader
{
public:
    // Called on the reader's thread for every command: the bytes received and those put on
    // the line in reply (after the faults; empty for none).
    using Logger = std::function<void(const QByteArray &received, const QByteArray &sent)>;

    explicit PtyReader(const QString &trayFolder, const QString &linkPath);
    ~PtyReader();
    PtyReader(const PtyReader &) = delete;
    PtyReader &operator=(const PtyReader &) = delete;

    bool start(QString *error);
    void stop(); // ends the thread, closes the terminal, removes the link
    bool isRunning() const;
    QString slavePath() const;
    QString linkPath() const { return m_linkPath; }

    void setSilent(bool silent) { m_silent = silent; }
    void setReplyDelayMs(int ms) { m_delayMs = ms; }
    void setPartialReplies(bool partial) { m_partial = partial; }
    void setGarbage(bool garbage) { m_garbage = garbage; }
    void setSwitchedOff(bool off);
    bool silent() const { return m_silent; }

    // hangUp closes the terminal and removes the link: the program's port fails. comeBack
    // opens a new terminal and points the link at it; the device keeps its state.
    void hangUp();
    bool comeBack(QString *error = nullptr);

    // Set before start().
    void setLogger(const Logger &logger) { m_logger = logger; }

    QList<QByteArray> receivedCommands();
    QByteArray receivedBytes();
    void clearReceived();
    // For tests: true once at least byteCount bytes have arrived since the last clear; keeps
    // the calling thread's events flowing meanwhile, so its own port can write.
    bool waitForReceived(int byteCount, int limitMs);

    template <typename F> auto withDevice(F f)
    {
        QMutexLocker lock(&m_mutex);
        return f(m_device);
    }

    // The reply as it goes on the line under the fault switches; empty means nothing is sent.
    static QByteArray applyFaults(const QByteArray &reply, bool silent, bool partial, bool garbage);

private:
    struct Pending
    {
        qint64 dueMs;
        QByteArray bytes;
    };

    bool openTerminal(QString *error);
    void closeTerminal();
    bool pointLink(QString *error);
    void run();
    void handleInput(const QByteArray &bytes, qint64 nowMs);
    void stopThread();

    const QString m_linkPath;
    mutable QMutex m_mutex; // guards the device, the received bytes and the slave path
    QWaitCondition m_received;
    ReaderDevice m_device;
    QByteArray m_receivedBytes;
    QString m_slavePath;
    Logger m_logger;

    int m_masterFd = -1;
    int m_slaveFd = -1; // held open so the master never sees a hang-up between two openers
    int m_wakeFds[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};

    std::atomic<bool> m_silent{false};
    std::atomic<int> m_delayMs{0};
    std::atomic<bool> m_partial{false};
    std::atomic<bool> m_garbage{false};

    // Reader thread only.
    QList<Pending> m_pending;
    QByteArray m_output;
};
