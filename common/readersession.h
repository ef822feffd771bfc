#pragma once

#include "readercommands.h"
#include "readertimings.h"
#include "serialline.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QTimer;

// One program's link to the reader: the serial line (MSComm1), the typed commands over it, and
// the heartbeat (Timer2) that keeps looking for the reader while nobody else talks to it. The
// main window makes one and hands it to every window it opens.
//
// Whoever talks to the reader holds a pause of the heartbeat for as long as it does; the
// heartbeat runs again when the last pause is released. A command that would start while
// another exchange waits for its reply waits its turn (whenIdle), so two exchanges never mix
// their bytes on the line.
class ReaderSession : public QObject
{
    Q_OBJECT

public:
    // Keeps the heartbeat stopped while it lives.
    class Pause
    {
    public:
        explicit Pause(ReaderSession *session);
        ~Pause();
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        QPointer<ReaderSession> m_session;
    };

    explicit ReaderSession(const ReaderTimings &timings, QObject *parent = nullptr);
    ~ReaderSession() override;

    SerialLine *line() const { return m_line; }
    ReaderCommands &commands() { return m_commands; }
    const ReaderTimings &timings() const { return m_timings; }
    QTimer *heartbeatTimer() const { return m_heartbeat; }

    // Closes the port if open and opens it with the given settings; false with
    // line()->errorString() when it cannot be opened.
    bool open(const QString &portName, const QString &settings);

    // The wake-up exchange; its result is the reader's presence from now on.
    bool wake();
    bool readerPresent() const { return m_present; }

    // The heartbeat runs from startHeartbeat() on, whenever no pause is held; shutDown() ends
    // it for good and ends every wait in progress.
    void startHeartbeat();
    void shutDown();
    [[nodiscard]] std::unique_ptr<Pause> pauseHeartbeat();
    bool heartbeatPaused() const { return m_pauses > 0; }

    // An exchange is waiting for its reply (event handlers can run meanwhile).
    bool isBusy() const { return m_line->isWaiting(); }
    // Runs call now when no exchange waits, else once the one that waits has ended; dropped
    // when context is gone by then.
    void whenIdle(QObject *context, std::function<void()> call);

signals:
    // After every presence check of the heartbeat.
    void presenceChecked(bool present);
    void portLost(const QString &message);

private:
    struct IdleCall
    {
        QPointer<QObject> context;
        std::function<void()> call;
    };

    void heartbeatTick();
    void arm();
    void releasePause();
    void runIdleCalls();

    ReaderTimings m_timings;
    SerialLine *m_line;
    QTimer *m_heartbeat;
    ReaderCommands m_commands;
    bool m_present = false;
    bool m_heartbeatOn = false;
    bool m_shutDown = false;
    int m_pauses = 0;
    QList<IdleCall> m_idleCalls;
};
