#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QFile>
#endif

// The data file: one line per sheet, CR LF, code page 1254, opened for appending and kept open
// while reading. Never leaves a torn or lost line.
class DataFile
{
public:
    DataFile() = default;
    ~DataFile();
    Q_DISABLE_COPY_MOVE(DataFile)

    // "" when the name can be used as a data file name; otherwise a Turkish message for the
    // operator naming the problem. An empty or blank name is the caller's business and gives "".
    static QString nameProblem(const QString &name);

    // Opens path for appending, creating it when missing; truncate empties an existing file
    // first. false with errorString() when it cannot be created or opened.
    bool open(const QString &path, bool truncate);
    // Whether the existing file's last line lacked its line end when it was opened; the next
    // record is then written on a line of its own.
    bool hadTornTail() const { return m_hadTornTail; }

    // Appends record + CR LF in one write and flushes it to the disk before returning. On false
    // (see errorString()) nothing of the line is left in the file and the sheet must not be
    // counted.
    bool writeRecord(const QByteArray &record);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    // What must precede the next record so that it starts a line: "", "\n" or "\r\n".
    QByteArray m_lineEndDue;
    bool m_hadTornTail = false;
#ifdef Q_OS_WIN
    QFile m_file;
#else
    int m_fd = -1;
    bool m_regular = false; // only a regular file can be cut back after a failed write
#endif
};
