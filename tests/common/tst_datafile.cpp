// The data file as the disk sees it: lines, appending, emptying, torn tails and write errors.
#include "datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

class TestDataFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString pathOf(const QString &name) const { return m_dir.filePath(name); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    static void put(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void createsThenAppendsAfterExistingLines()
    {
        const QString path = pathOf(QStringLiteral("SINAV1.DAT"));
        {
            DataFile data;
            QVERIFY2(data.open(path, false), qPrintable(data.errorString()));
            QVERIFY(data.isOpen());
            QVERIFY(QFile::exists(path)); // created before the first record
            QVERIFY(!data.hadTornTail());
            QVERIFY(data.writeRecord("ABC"));
            QVERIFY(data.writeRecord("DE"));
            QCOMPARE(contents(path), QByteArray("ABC\r\nDE\r\n")); // on the disk while open
        }
        DataFile data;
        QVERIFY(data.open(path, false));
        QVERIFY(!data.hadTornTail());
        QVERIFY(data.writeRecord("FG"));
        data.close();
        QVERIFY(!data.isOpen());
        QCOMPARE(contents(path), QByteArray("ABC\r\nDE\r\nFG\r\n"));
    }

    void truncateEmptiesAtOnce()
    {
        const QString path = pathOf(QStringLiteral("trunc.dat"));
        put(path, "OLD1\r\nOLD2"); // even a torn tail is simply gone
        DataFile data;
        QVERIFY(data.open(path, true));
        QCOMPARE(contents(path), QByteArray());
        QVERIFY(!data.hadTornTail());
        QVERIFY(data.writeRecord("NEW"));
        QCOMPARE(contents(path), QByteArray("NEW\r\n"));
    }

    void tornTail_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<bool>("torn");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("last line cut") << QByteArray("ABC\r\n\xFF\x80\xDD") << true
                                       << QByteArray("ABC\r\n\xFF\x80\xDD\r\nXY\r\nZ\r\n");
        QTest::newRow("LF lost after CR")
            << QByteArray("ABC\r\nDE\r") << true << QByteArray("ABC\r\nDE\r\nXY\r\nZ\r\n");
        QTest::newRow("whole lines")
            << QByteArray("ABC\r\n") << false << QByteArray("ABC\r\nXY\r\nZ\r\n");
        QTest::newRow("LF-only lines")
            << QByteArray("ABC\n") << false << QByteArray("ABC\nXY\r\nZ\r\n");
        QTest::newRow("empty file") << QByteArray() << false << QByteArray("XY\r\nZ\r\n");
    }

    void tornTail()
    {
        QFETCH(QByteArray, existing);
        QFETCH(bool, torn);
        QFETCH(QByteArray, after);
        const QString path = pathOf(QStringLiteral("torn.dat"));
        put(path, existing);
        DataFile data;
        QVERIFY(data.open(path, false));
        QCOMPARE(data.hadTornTail(), torn);
        QVERIFY(data.writeRecord("XY"));
        QVERIFY(data.writeRecord("Z")); // the repair happens once
        QCOMPARE(contents(path), after);
    }

    void everyHighByteSurvives()
    {
        QByteArray record;
        for (int b = 0x80; b <= 0xFF; ++b)
            record.append(char(b));
        const QString path = pathOf(QStringLiteral("high.dat"));
        DataFile data;
        QVERIFY(data.open(path, true));
        QVERIFY(data.writeRecord(record));
        QCOMPARE(contents(path), record + "\r\n");
    }

    void writeErrorIsReported()
    {
        DataFile data;
        QVERIFY2(data.open(QStringLiteral("/dev/full"), false), qPrintable(data.errorString()));
        QVERIFY(!data.writeRecord("ABC"));
        QCOMPARE(data.errorString(), qt_error_string(ENOSPC));
    }

    void openError_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        put(pathOf(QStringLiteral("plain")), "x");
        QTest::newRow("a folder") << m_dir.path() << EISDIR;
        QTest::newRow("missing folder") << pathOf(QStringLiteral("none/A.DAT")) << ENOENT;
        QTest::newRow("under a file") << pathOf(QStringLiteral("plain/A.DAT")) << ENOTDIR;
    }

    void openError()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        DataFile data;
        QVERIFY(!data.open(path, false));
        QVERIFY(!data.isOpen());
        QCOMPARE(data.errorString(), qt_error_string(error));
        QVERIFY(!data.writeRecord("ABC"));
    }

    // A disk that fills in the middle of a line: the part written is taken back, so a sheet
    // that is not counted leaves nothing, and the next record is a whole line.
    void failedWriteLeavesNoPartOfTheLine()
    {
        const QString path = pathOf(QStringLiteral("limit.dat"));
        put(path, "ABC\r\n");
        DataFile data;
        QVERIFY(data.open(path, false));
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 8; // room for three of the twelve bytes
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = data.writeRecord("0123456789");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        QCOMPARE(data.errorString(), qt_error_string(EFBIG));
        QCOMPARE(contents(path), QByteArray("ABC\r\n"));
        QVERIFY(data.writeRecord("XY"));
        QCOMPARE(contents(path), QByteArray("ABC\r\nXY\r\n"));
    }

    void nameProblem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("named"); // what the message must show, when anything
        const QStringList badCharacters = {"/", "\\", "<", ">", ":", "\"", "|", "?", "*"};
        for (const QString &ch : badCharacters)
            QTest::addRow("with %s", qPrintable(ch)) << "A" + ch + "B" << true << ch;
        QTest::newRow(".") << "." << true << "";
        QTest::newRow("..") << ".." << true << "";
        QTest::newRow("tab") << "A\tB" << true << "";
        QTest::newRow("C1 control") << "A\u0081B" << true << "";
        QTest::newRow("trailing dot") << "SINAV." << true << "";
        QTest::newRow("trailing blank") << "SINAV " << true << "";
        QTest::newRow("CON") << "CON" << true << "CON";
        QTest::newRow("Nul.dat") << "Nul.dat" << true << "Nul";
        QTest::newRow("AUX .DAT") << "AUX .DAT" << true << "AUX";
        QTest::newRow("lpt9") << "lpt9" << true << "lpt9";
        QTest::newRow("COM superscript 1") << "COM¹" << true << "COM¹";
        QTest::newRow("not in 1254") << "SINAV日" << true << "日";
        QTest::newRow("outside the basic plane") << "A😀" << true << "😀";
        QTest::newRow("plain") << "SINAV1" << false << "";
        QTest::newRow("Turkish letters") << "SINAV_Ğ1" << false << "";
        QTest::newRow("euro sign") << "€2024" << false << "";
        QTest::newRow("with extension") << "sınav.2024.DAT" << false << "";
        QTest::newRow("device name inside") << "CONSOLE" << false << "";
        QTest::newRow("COM10") << "COM10" << false << "";
        QTest::newRow("blank is the caller's") << "   " << false << "";
    }

    void nameProblem()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QFETCH(QString, named);
        const QString problem = DataFile::nameProblem(name);
        QCOMPARE(!problem.isEmpty(), refused);
        QVERIFY2(problem.contains(named), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
