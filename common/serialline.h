#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSerialPort;

// The one owner of the reader's serial port. Every exchange of every window goes through it:
// writes, discarding input, and waits for a number of bytes that always end with an outcome.
//
// A port that fails (cable pulled, far end gone) is closed at once and reported once through
// portLost(); the next write opens it again, so a heartbeat finds the reader when it is back.
class SerialLine : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Data, TimedOut, PortError, Aborted };

    struct Reply
    {
        Outcome outcome = Outcome::TimedOut;
        QByteArray bytes; // everything that was read, also when the wait failed
        bool ok() const { return outcome == Outcome::Data; }
        // The reply as the exchanges use it: the bytes on success, nothing otherwise.
        QByteArray data() const { return ok() ? bytes : QByteArray(); }
    };

    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // settings: "baud,parity,data bits,stop bits", e.g. "38400,N,8,1".
    bool open(const QString &portName, const QString &settings);
    void close();
    bool isOpen() const;
    QString portName() const { return m_portName; }
    QString errorString() const { return m_error; }

    // The line's settings as the serial settings dialog shows and changes them. Each setter
    // applies at once to an open port; on failure it returns false with errorString() and the
    // line keeps what it had.
    QString settings() const { return m_settings; }
    bool setSettings(const QString &settings);
    // 0 none, 1 Xon/Xoff, 2 RTS, 3 Xon and RTS.
    int handshaking() const { return m_handshaking; }
    bool setHandshaking(int code);
    // A line its owner has open is reopened on the new port; when that port cannot be opened
    // the old one is opened again.
    bool setPortName(const QString &portName);

    // Writes at once; a closed port is opened again first. False when nothing could be written.
    bool write(const QByteArray &bytes);
    bool write(char byte) { return write(QByteArray(1, byte)); }
    void discardInput();
    qint64 bytesWaiting() const;
    QByteArray readAll();

    // Waits until at least count bytes wait, then reads the whole input once. The yielding
    // wait runs the event loop meanwhile; the blocking one does not.
    Reply waitYielding(int count, int limitMs);
    Reply waitBlocking(int count, int limitMs);

    // Ends every yielding wait in progress with Aborted (the owner window is closing).
    void abortWaits();
    bool isWaiting() const { return !m_waits.isEmpty(); }

    static bool parseSettings(const QString &settings, qint32 *baud, char *parity, int *dataBits,
                              int *stopBits);

signals:
    void portLost(const QString &message);
    // The last yielding wait has ended; whoever waited for a quiet line may go on.
    void waitsFinished();

private:
    struct Wait;

    bool reopen();
    bool checkSettings(const QString &settings); // false with the reason in m_error
    bool applyLineSettings(const QString &settings, int handshaking);
    // Applies to the open port and keeps them, or leaves the port as it was.
    bool changeLine(const QString &settings, int handshaking);
    void dropPort();
    void onError();
    void onReadyRead();
    void finishWaits(Outcome outcome);

    QSerialPort *m_port = nullptr;
    QString m_portName;
    QString m_settings;
    int m_handshaking = 0;
    QString m_error;
    bool m_lostReported = false;
    bool m_closing = false;
    bool m_applying = false; // a refused setting is no lost port
    bool m_wantOpen = false; // opened by its owner and not closed since
    QList<Wait *> m_waits;
};
