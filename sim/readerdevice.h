#pragma once

#include "readerformat.h"
#include "sheetimage.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>

// The simulated reader's logic: bytes in, reply bytes out. No event loop and no thread of its
// own; whoever drives it (the pseudo-terminal, a test) feeds it what arrives on the line.
// Commands may arrive split across calls or several in one call.
//
// The tray is a folder of sheet files (see SheetImage), fed in file-name order, followed by
// the sheets added in memory. The folder is listed again when it changes or when the sheets
// listed so far are used up, so sheets can be dropped in while the reader runs and a tray of
// thousands costs no more per sheet than a tray of ten; a fed sheet is consumed for good.
class ReaderDevice
{
public:
    // One command as it arrived (with its argument bytes, or the whole format download) and
    // what the device answered; unknown bytes appear one by one with an empty reply.
    struct Exchange
    {
        QByteArray command;
        QByteArray reply;
    };

    static constexpr int kCellCount = 30;
    // The second byte of this cell is the lowest eye value (0 to 255, the scale of the eye
    // stream) at which a cell counts as marked; by default grey level 5 and darker.
    static constexpr int kLowerLimitCell = 4;
    static constexpr int kDefaultLowerLimit = 5 * SheetImage::kEyeStep;
    // The eye stream holds this many lines of the last sheet; lines beyond the sheet read 0.
    static constexpr int kEyeLines = 64;
    static constexpr char kCellWritten = 0x06;
    static constexpr char kCellRefused = 0x15; // cell number out of range
    static constexpr int kEmptyTrayStatus = 1; // the feed reports a jam when there is no sheet
    static constexpr int kUnreadableSheetStatus = 1;
    // A download that never ends would swallow the line for ever; past this size it is dropped.
    static constexpr int kFormatLimit = 256 * 1024;

    explicit ReaderDevice(const QString &trayFolder = QString());

    QByteArray receive(const QByteArray &bytes);

    // Tray.
    QString trayFolder() const { return m_trayFolder; }
    void setTrayFolder(const QString &folder) { m_trayFolder = folder; }
    void addSheet(const SheetImage &sheet) { m_memorySheets.append(sheet); }
    bool addSheetText(const QByteArray &text, const QString &name, QString *error = nullptr);
    int sheetsInTray();
    QStringList consumedSheets() const { return m_consumedNames; }
    // The sheet of the last feed; name empty before the first feed.
    const SheetImage &lastSheet() const { return m_lastSheet; }
    QString lastError() const { return m_lastError; } // e.g. an unreadable sheet file

    // Switches and sensors. The tray sensor 0x22 answers whether a sheet waits in the tray;
    // the others (0x23 .. 0x27) answer what was set here, 0 (no paper) at first.
    void setSwitchedOff(bool off)
    {
        m_switchedOff = off;
        m_offReplies = -1;
    }
    // Switched off for the next `replies` attention commands (they get Chr(2)), then on: the
    // operator switching the reader on while the console keeps calling it.
    void switchOnAfter(int replies)
    {
        m_switchedOff = replies > 0;
        m_offReplies = replies;
    }
    bool switchedOff() const { return m_switchedOff; }
    void setSensor(char query, quint8 value);
    quint8 sensor(char query) const;

    // Memory cells 1 .. kCellCount.
    quint8 cellFirst(int cell) const;
    quint8 cellSecond(int cell) const;
    bool setCell(int cell, quint8 first, quint8 second);
    int lowerLimit() const { return cellSecond(kLowerLimitCell); }

    // The last download: its text as received (between the frame bytes), and the format when
    // the text parsed; formatError() says why it did not.
    bool hasFormat() const { return m_hasFormat; }
    const ReaderFormat &format() const { return m_format; }
    QByteArray downloadedText() const { return m_downloadedText; }
    QString formatError() const { return m_formatError; }
    int expectedLength() const { return m_hasFormat ? m_format.expectedLength() : 0; }

    // The data that send-data returns for the last sheet with the lower limit in memory.
    QByteArray sheetData() const;

    const QList<Exchange> &exchanges() const { return m_exchanges; }
    void clearExchanges() { m_exchanges.clear(); }
    // Keeps the newest `keep` exchanges: a reader that runs for days must not grow for ever.
    void dropOldExchanges(qsizetype keep);

private:
    enum class State { Idle, Presence, Attention, Format, Arguments };

    void take(char byte);
    void command(char byte);
    void finish(const QByteArray &reply);
    void finishArguments();
    void abandon(); // the bytes so far were no command: log them and start afresh
    void finishDownload();
    QByteArray feed();
    const QStringList &folderSheets();
    bool nextSheet(SheetImage *sheet);
    QByteArray dataWithLimit(int level) const; // level < 0: the limit in memory

    QString m_trayFolder;
    QList<SheetImage> m_memorySheets;
    QStringList m_consumedNames;
    QSet<QString> m_consumed;
    QStringList m_listed;      // folder sheets not yet fed, in name order
    qint64 m_listedStamp = -1; // the folder's modification time when it was listed
    SheetImage m_lastSheet;
    bool m_lastSheetRead = false; // fed with status 0: its data may be sent
    QString m_lastError;

    bool m_switchedOff = false;
    int m_offReplies = -1; // attention replies until switched on; -1 none counted
    std::array<quint8, 5> m_sensors{}; // 0x23 .. 0x27
    std::array<quint8, kCellCount + 1> m_first{};
    std::array<quint8, kCellCount + 1> m_second{};

    bool m_hasFormat = false;
    ReaderFormat m_format;
    QByteArray m_downloadedText;
    QString m_formatError;

    int m_pendingLevel = -1; // from a level read, for the next send-data only
    int m_eyeLine = 0;
    int m_eye = 0;

    State m_state = State::Idle;
    QByteArray m_command; // bytes of the command in progress
    int m_argumentsNeeded = 0;
    QByteArray m_reply; // replies of the current receive() call
    QList<Exchange> m_exchanges;
};
