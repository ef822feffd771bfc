#include "serialline.h"

#include "msgbox.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

struct SerialLine::Wait
{
    int count = 0;
    Outcome outcome = Outcome::TimedOut;
    bool finished = false;
    QEventLoop *loop = nullptr;
};

namespace {

constexpr int kHeadStartMs = 1;

bool isPortFailure(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::NotOpenError:
    case QSerialPort::OpenError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::UnsupportedOperationError:
        return false;
    default:
        return true; // read, write, resource and unknown errors: the line is gone
    }
}

// Why a port would not open, in the system's words: the serial port class says "No error" for a
// missing device, a regular file or a terminal that is not a serial line. Empty when the system
// finds nothing wrong with it.
QString systemReason(const QString &portName)
{
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(portName);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const bool terminal = ::isatty(fd);
    const int error = errno;
    ::close(fd);
    if (!terminal)
        return QString::fromLocal8Bit(std::strerror(error == 0 ? ENOTTY : error));
#else
    Q_UNUSED(portName);
#endif
    return QString();
}

} // namespace

SerialLine::SerialLine(QObject *parent) : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLine::onError);
    connect(m_port, &QSerialPort::readyRead, this, &SerialLine::onReadyRead);
}

SerialLine::~SerialLine()
{
    finishWaits(Outcome::Aborted);
}

bool SerialLine::parseSettings(const QString &settings, qint32 *baud, char *parity, int *dataBits,
                               int *stopBits)
{
    const QStringList parts = settings.split(u',');
    if (parts.size() != 4)
        return false;
    bool ok = false;
    *baud = parts[0].trimmed().toInt(&ok);
    if (!ok || *baud <= 0)
        return false;
    const QString p = parts[1].trimmed().toUpper();
    if (p.size() != 1 || !QStringLiteral("NEOMS").contains(p))
        return false;
    *parity = char(p[0].unicode());
    *dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || *dataBits < 5 || *dataBits > 8)
        return false;
    const QString stop = parts[3].trimmed();
    if (stop == u"1")
        *stopBits = 10;
    else if (stop == u"1.5")
        *stopBits = 15;
    else if (stop == u"2")
        *stopBits = 20;
    else
        return false;
    return true;
}

bool SerialLine::open(const QString &portName, const QString &settings)
{
    if (!checkSettings(settings))
        return false;
    m_portName = portName;
    m_settings = settings;
    m_wantOpen = true;
    return reopen();
}

bool SerialLine::reopen()
{
    if (m_port->isOpen())
        m_port->close();
    if (m_portName.isEmpty()) {
        m_error = QStringLiteral("Seri port adı boş.");
        return false;
    }
    m_port->setPortName(m_portName);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString why = systemReason(m_portName);
        m_error = QStringLiteral("Seri port açılamadı: %1 (%2)")
                      .arg(MsgBox::quoted(m_portName), why.isEmpty() ? m_port->errorString() : why);
        m_port->clearError();
        return false;
    }
    applyLineSettings(m_settings, m_handshaking);
    // Whatever the reader sent before the line was ours (its answer to the farewell of a program
    // that had the port before) would pass for the first reply and put every later one behind.
    m_port->clear(QSerialPort::Input);
    m_port->clearError(); // a pseudo-terminal refuses some line settings; it still carries bytes
    m_lostReported = false;
    m_error.clear();
    return true;
}

bool SerialLine::applyLineSettings(const QString &settings, int handshaking)
{
    qint32 baud = 0;
    char parity = 'N';
    int dataBits = 8, stopBits = 10;
    if (!parseSettings(settings, &baud, &parity, &dataBits, &stopBits))
        return false;
    const auto parityValue = parity == 'E'   ? QSerialPort::EvenParity
                             : parity == 'O' ? QSerialPort::OddParity
                             : parity == 'M' ? QSerialPort::MarkParity
                             : parity == 'S' ? QSerialPort::SpaceParity
                                             : QSerialPort::NoParity;
    const auto stopValue = stopBits == 20   ? QSerialPort::TwoStop
                           : stopBits == 15 ? QSerialPort::OneAndHalfStop
                                            : QSerialPort::OneStop;
    // The serial port class knows no Xon/Xoff and RTS together; RTS is kept for both, since
    // Xon/Xoff bytes would be taken out of the reader's binary replies.
    const auto flowValue = handshaking == 1   ? QSerialPort::SoftwareControl
                           : handshaking >= 2 ? QSerialPort::HardwareControl
                                              : QSerialPort::NoFlowControl;
    m_applying = true;
    // Every setting is tried, so one that is refused leaves the others in force.
    bool applied = m_port->setBaudRate(baud);
    applied &= m_port->setParity(parityValue);
    applied &= m_port->setDataBits(QSerialPort::DataBits(dataBits));
    applied &= m_port->setStopBits(stopValue);
    applied &= m_port->setFlowControl(flowValue);
    m_applying = false;
    if (!applied)
        m_error = QStringLiteral("Seri port ayarı uygulanamadı: \"%1\" (%2)")
                      .arg(settings, m_port->errorString());
    m_port->clearError();
    return applied;
}

bool SerialLine::checkSettings(const QString &settings)
{
    qint32 baud = 0;
    char parity = 'N';
    int dataBits = 8, stopBits = 10;
    if (parseSettings(settings, &baud, &parity, &dataBits, &stopBits))
        return true;
    m_error = QStringLiteral("Seri port ayarı geçersiz: \"%1\"").arg(settings);
    return false;
}

bool SerialLine::changeLine(const QString &settings, int handshaking)
{
    if (m_port->isOpen() && !applyLineSettings(settings, handshaking)) {
        const QString error = m_error;
        applyLineSettings(m_settings, m_handshaking); // what the port took before
        m_error = error;
        return false;
    }
    m_settings = settings;
    m_handshaking = handshaking;
    return true;
}

bool SerialLine::setSettings(const QString &settings)
{
    return checkSettings(settings) && changeLine(settings, m_handshaking);
}

bool SerialLine::setHandshaking(int code)
{
    if (code < 0 || code > 3) {
        m_error = QStringLiteral("Akış denetimi kodu geçersiz: %1").arg(code);
        return false;
    }
    return changeLine(m_settings, code);
}

bool SerialLine::setPortName(const QString &portName)
{
    if (portName == m_portName)
        return true;
    const QString old = m_portName;
    m_portName = portName;
    if (!m_wantOpen || reopen())
        return true;
    const QString error = m_error;
    m_portName = old;
    reopen();
    m_error = error;
    return false;
}

void SerialLine::close()
{
    m_wantOpen = false;
    dropPort();
}

void SerialLine::dropPort()
{
    m_closing = false;
    if (m_port->isOpen())
        m_port->close();
}

bool SerialLine::isOpen() const
{
    return m_port->isOpen();
}

bool SerialLine::write(const QByteArray &bytes)
{
    // A lost port is opened again; one its owner closed stays closed.
    if (!m_port->isOpen() && (!m_wantOpen || !reopen()))
        return false;
    if (m_port->write(bytes) != bytes.size())
        return false;
    m_port->flush(); // out now, not on the next turn of the event loop
    return true;
}

void SerialLine::discardInput()
{
    if (m_port->isOpen())
        m_port->readAll();
}

qint64 SerialLine::bytesWaiting() const
{
    return m_port->isOpen() ? m_port->bytesAvailable() : 0;
}

QByteArray SerialLine::readAll()
{
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

SerialLine::Reply SerialLine::waitYielding(int count, int limitMs)
{
    if (!m_port->isOpen())
        return {Outcome::PortError, {}};
    if (m_port->bytesAvailable() >= count)
        return {Outcome::Data, m_port->readAll()};
    // A reader on a fast line answers within a millisecond; waiting that long without the
    // event loop is not felt by the operator and saves a turn of the loop per reply.
    QElapsedTimer headStart;
    headStart.start();
    while (headStart.elapsed() < kHeadStartMs && m_port->isOpen() &&
           m_port->bytesAvailable() < count) {
        if (!m_port->waitForReadyRead(kHeadStartMs)) {
            if (isPortFailure(m_port->error()))
                return {Outcome::PortError, readAll()};
            m_port->clearError();
            break;
        }
    }
    if (!m_port->isOpen())
        return {Outcome::PortError, {}};
    if (m_port->bytesAvailable() >= count)
        return {Outcome::Data, m_port->readAll()};

    QEventLoop loop;
    Wait wait;
    wait.count = count;
    wait.loop = &loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    connect(&limit, &QTimer::timeout, &loop, [&wait, &loop] {
        wait.outcome = Outcome::TimedOut;
        wait.finished = true;
        loop.quit();
    });
    m_waits.append(&wait);
    limit.start(limitMs);

    QPointer<SerialLine> self(this);
    if (!wait.finished)
        loop.exec();
    if (!self) // the owner went away during the wait
        return {Outcome::Aborted, {}};
    m_waits.removeOne(&wait);
    if (m_waits.isEmpty())
        emit waitsFinished();

    Reply reply;
    reply.outcome = wait.outcome;
    // The whole input is read in every case, so a late or partial reply is consumed here.
    reply.bytes = readAll();
    if (reply.outcome == Outcome::Data && reply.bytes.size() < count)
        reply.outcome = Outcome::TimedOut; // an inner wait took the bytes
    return reply;
}

SerialLine::Reply SerialLine::waitBlocking(int count, int limitMs)
{
    if (!m_port->isOpen())
        return {Outcome::PortError, {}};
    QElapsedTimer clock;
    clock.start();
    Outcome outcome = Outcome::Data;
    while (m_port->bytesAvailable() < count) {
        const qint64 left = limitMs - clock.elapsed();
        if (left <= 0) {
            outcome = Outcome::TimedOut;
            break;
        }
        if (!m_port->waitForReadyRead(int(left))) {
            if (!m_port->isOpen() || isPortFailure(m_port->error())) {
                outcome = Outcome::PortError;
                break;
            }
            m_port->clearError();
        }
    }
    return {outcome, readAll()};
}

void SerialLine::abortWaits()
{
    finishWaits(Outcome::Aborted);
}

void SerialLine::finishWaits(Outcome outcome)
{
    for (Wait *wait : std::as_const(m_waits)) {
        if (!wait->finished) {
            wait->outcome = outcome;
            wait->finished = true;
            wait->loop->quit();
        }
    }
}

void SerialLine::onReadyRead()
{
    // Only the innermost wait can take the bytes; an outer one goes on when it returns.
    if (m_waits.isEmpty())
        return;
    Wait *wait = m_waits.last();
    if (!wait->finished && m_port->bytesAvailable() >= wait->count) {
        wait->outcome = Outcome::Data;
        wait->finished = true;
        wait->loop->quit();
    }
}

void SerialLine::onError()
{
    const QSerialPort::SerialPortError error = m_port->error();
    if (m_applying || !isPortFailure(error) || !m_port->isOpen()) {
        if (error != QSerialPort::NoError && !isPortFailure(error) && !m_applying)
            m_port->clearError();
        return;
    }
    const QString message = QStringLiteral("Seri port bağlantısı koptu: %1 (%2)")
                                .arg(m_portName, m_port->errorString());
    // A vanished far end keeps raising read errors as long as the port is open; close it at
    // once (after the port's own handler has returned) and report the loss only once.
    if (!m_closing) {
        m_closing = true;
        QMetaObject::invokeMethod(this, &SerialLine::dropPort, Qt::QueuedConnection);
    }
    finishWaits(Outcome::PortError);
    if (!m_lostReported) {
        m_lostReported = true;
        m_error = message;
        emit portLost(message);
    }
}
