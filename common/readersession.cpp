#include "readersession.h"

#include <QTimer>

ReaderSession::Pause::Pause(ReaderSession *session) : m_session(session)
{
    ++session->m_pauses;
    session->m_heartbeat->stop();
}

ReaderSession::Pause::~Pause()
{
    if (m_session)
        m_session->releasePause();
}

ReaderSession::ReaderSession(const ReaderTimings &timings, QObject *parent)
    : QObject(parent), m_timings(timings), m_line(new SerialLine(this)),
      m_heartbeat(new QTimer(this)), m_commands(m_line, timings)
{
    m_line->setObjectName(QStringLiteral("MSComm1"));
    m_heartbeat->setObjectName(QStringLiteral("Timer2"));
    m_heartbeat->setSingleShot(true);
    m_heartbeat->setInterval(timings.heartbeatMs);
    connect(m_heartbeat, &QTimer::timeout, this, &ReaderSession::heartbeatTick);
    connect(m_line, &SerialLine::portLost, this, &ReaderSession::portLost);
    // Queued: the exchange that just ended is still on the stack and must finish first.
    connect(m_line, &SerialLine::waitsFinished, this, &ReaderSession::runIdleCalls,
            Qt::QueuedConnection);
}

ReaderSession::~ReaderSession()
{
    m_line->abortWaits();
}

bool ReaderSession::open(const QString &portName, const QString &settings)
{
    m_line->close();
    return m_line->open(portName, settings);
}

bool ReaderSession::wake()
{
    m_present = m_commands.wake();
    return m_present;
}

void ReaderSession::startHeartbeat()
{
    m_heartbeatOn = true;
    arm();
}

void ReaderSession::shutDown()
{
    m_shutDown = true;
    m_heartbeatOn = false;
    m_heartbeat->stop();
    m_idleCalls.clear();
    // A wait in progress ends here; its caller sees the aborted outcome and stops.
    m_line->abortWaits();
}

std::unique_ptr<ReaderSession::Pause> ReaderSession::pauseHeartbeat()
{
    return std::make_unique<Pause>(this);
}

void ReaderSession::releasePause()
{
    if (m_pauses > 0 && --m_pauses == 0)
        arm();
}

void ReaderSession::arm()
{
    if (m_heartbeatOn && !m_shutDown && m_pauses == 0)
        m_heartbeat->start();
}

void ReaderSession::heartbeatTick()
{
    m_heartbeat->stop();
    // Someone's exchange waits for its reply: a ping now would take that reply.
    if (isBusy() || m_pauses > 0) {
        arm();
        return;
    }
    QPointer<ReaderSession> self(this);
    const bool wasPresent = m_present;
    if (m_present) {
        m_present = m_commands.heartbeatPing();
        if (!self || m_shutDown)
            return;
        emit presenceChecked(m_present);
    }
    if (!self || m_shutDown)
        return;
    if (!wasPresent || !m_present) {
        m_present = m_commands.wake();
        if (!self || m_shutDown)
            return;
        emit presenceChecked(m_present);
    }
    if (self)
        arm();
}

void ReaderSession::whenIdle(QObject *context, std::function<void()> call)
{
    if (m_shutDown)
        return;
    if (!isBusy()) {
        call();
        return;
    }
    m_idleCalls.append({context, std::move(call)});
}

void ReaderSession::runIdleCalls()
{
    while (!m_idleCalls.isEmpty() && !isBusy() && !m_shutDown) {
        const IdleCall next = m_idleCalls.takeFirst();
        if (next.context)
            next.call();
    }
}
