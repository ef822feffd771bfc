#include "datafile.h"

#include "cp1254.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// What the next record needs in front of it so that it starts a line of its own, given the
// file's last byte; a lone CR only lacks its LF.
QByteArray lineEndAfter(char lastByte)
{
    if (lastByte == '\n')
        return {};
    if (lastByte == '\r')
        return QByteArrayLiteral("\n");
    return kLineEnd;
}

bool isReservedDeviceName(const QString &name)
{
    // Windows takes the part before the first dot, trailing blanks dropped, as the device.
    QString base = name.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    QString upper;
    for (QChar ch : base)
        upper.append(ch.unicode() >= 'a' && ch.unicode() <= 'z' ? QChar(ch.unicode() - 32) : ch);
    static const QStringList kPlain = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                       QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (kPlain.contains(upper))
        return true;
    if (upper.size() != 4 ||
        !(upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT"))))
        return false;
    // Windows also reserves the superscript digits, which code page 1254 can hold.
    const QChar digit = upper.at(3);
    return (digit >= QLatin1Char('1') && digit <= QLatin1Char('9')) || digit == QChar(0x00B9) ||
           digit == QChar(0x00B2) || digit == QChar(0x00B3);
}

} // namespace

DataFile::~DataFile()
{
    close();
}

QString DataFile::nameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return {};
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("Data dosyası adı . ya da .. olamaz.");
    for (const char32_t codePoint : name.toUcs4()) {
        const QString ch = QString::fromUcs4(&codePoint, 1);
        if (QChar::category(codePoint) == QChar::Other_Control)
            return QStringLiteral("Data dosyası adında denetim karakteri kullanılamaz.");
        if (codePoint < 0x80 && QStringLiteral("/\\<>:\"|?*").contains(ch))
            return QStringLiteral("Data dosyası adında \"%1\" karakteri kullanılamaz.").arg(ch);
        if (fromCp1254(toCp1254(ch)) != ch)
            return QStringLiteral("Data dosyası adındaki \"%1\" karakteri Türkçe kod sayfasında "
                                  "yok; kullanılamaz.")
                .arg(ch);
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("Data dosyası adı nokta ya da boşlukla bitemez.");
    if (isReservedDeviceName(name))
        return QStringLiteral("%1 bir aygıt adıdır; data dosyası adı olarak kullanılamaz.")
            .arg(name.section(QLatin1Char('.'), 0, 0).trimmed());
    return {};
}

#ifndef Q_OS_WIN

namespace {

int openRetrying(const char *path, int flags)
{
    int fd;
    do
        fd = ::open(path, flags, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int syncData(int fd)
{
    int rc;
    do
        rc = ::fdatasync(fd);
    while (rc < 0 && errno == EINTR);
    // A device or pipe has nothing to sync; what was written has gone where it goes.
    if (rc < 0 && errno == EINVAL)
        rc = 0;
    return rc;
}

// A newly created file's name must reach the disk too, or a power failure can lose the file.
// Best effort: some file systems cannot sync a folder, and the data itself is already safe.
void syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = openRetrying(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool DataFile::open(const QString &path, bool truncate)
{
    close();
    m_path = path;
    m_error.clear();
    m_lineEndDue.clear();
    m_hadTornTail = false;

    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    const bool existed = ::stat(native.constData(), &info) == 0;
    const int flags = O_CREAT | O_APPEND | O_CLOEXEC | (truncate ? O_TRUNC : 0);
    // Read access only serves the look at the last byte; a write-only file still takes records.
    bool readable = true;
    m_fd = openRetrying(native.constData(), flags | O_RDWR);
    if (m_fd < 0 && errno == EACCES) {
        readable = false;
        m_fd = openRetrying(native.constData(), flags | O_WRONLY);
    }
    if (m_fd < 0 || ::fstat(m_fd, &info) < 0) {
        m_error = qt_error_string(errno);
        close();
        return false;
    }
    m_regular = S_ISREG(info.st_mode);

    if (m_regular && readable && info.st_size > 0) {
        char last = '\n';
        ssize_t n;
        do
            n = ::pread(m_fd, &last, 1, info.st_size - 1);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            m_error = qt_error_string(errno);
            close();
            return false;
        }
        m_lineEndDue = lineEndAfter(last);
        m_hadTornTail = !m_lineEndDue.isEmpty();
    }
    if (m_regular && (!existed || truncate)) {
        if (syncData(m_fd) < 0) {
            m_error = qt_error_string(errno);
            close();
            return false;
        }
        if (!existed)
            syncFolderOf(path);
    }
    return true;
}

bool DataFile::writeRecord(const QByteArray &record)
{
    if (m_fd < 0) {
        m_error = qt_error_string(EBADF);
        return false;
    }
    const QByteArray line = m_lineEndDue + record + kLineEnd;
    off_t sizeBefore = -1;
    struct stat info;
    if (m_regular && ::fstat(m_fd, &info) == 0)
        sizeBefore = info.st_size;

    qsizetype done = 0;
    int error = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(m_fd, line.constData() + done, size_t(line.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO; // a write of nothing would loop for ever
            break;
        }
    }
    if (!error && syncData(m_fd) < 0)
        error = errno;
    if (!error) {
        m_lineEndDue.clear();
        return true;
    }

    m_error = qt_error_string(error);
    if (done > 0) {
        // The caller will not count this sheet, so none of its line may stay in the file.
        int rc = -1;
        if (sizeBefore >= 0) {
            do
                rc = ::ftruncate(m_fd, sizeBefore);
            while (rc < 0 && errno == EINTR);
        }
        if (rc == 0)
            syncData(m_fd);
        else
            m_lineEndDue = lineEndAfter(line.at(done - 1)); // next record on a line of its own
    }
    return false;
}

void DataFile::close()
{
    // No retry on EINTR: Linux has released the descriptor already, and every record was synced.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_regular = false;
}

bool DataFile::isOpen() const
{
    return m_fd >= 0;
}

#else // Q_OS_WIN: the same promises through QFile and FlushFileBuffers

bool DataFile::open(const QString &path, bool truncate)
{
    close();
    m_path = path;
    m_error.clear();
    m_lineEndDue.clear();
    m_hadTornTail = false;

    if (!truncate) {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.size() > 0 &&
            existing.seek(existing.size() - 1)) {
            char last = '\n';
            if (existing.getChar(&last)) {
                m_lineEndDue = lineEndAfter(last);
                m_hadTornTail = !m_lineEndDue.isEmpty();
            }
        }
    }
    m_file.setFileName(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append;
    if (truncate)
        mode |= QIODevice::Truncate;
    if (!m_file.open(mode)) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool DataFile::writeRecord(const QByteArray &record)
{
    if (!m_file.isOpen()) {
        m_error = QStringLiteral("Data dosyası açık değil.");
        return false;
    }
    const QByteArray line = m_lineEndDue + record + kLineEnd;
    const qint64 sizeBefore = m_file.size();
    const bool written = m_file.write(line) == line.size() && m_file.flush() &&
                         FlushFileBuffers(HANDLE(_get_osfhandle(m_file.handle())));
    if (written) {
        m_lineEndDue.clear();
        return true;
    }
    m_error = m_file.errorString();
    if (!m_file.resize(sizeBefore))
        m_lineEndDue = kLineEnd;
    return false;
}

void DataFile::close()
{
    m_file.close();
}

bool DataFile::isOpen() const
{
    return m_file.isOpen();
}

#endif
