// The data file as the disk sees it: lines, appending, emptying, torn tails and write errors.
#include "datafile.h"
#include "testfiles.h"

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

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void appendsWholeLines_data()
    {
        QTest::addColumn<QByteArray>("existing"); // null: no file yet
        QTest::addColumn<bool>("truncate");
        QTest::addColumn<bool>("torn");
        QTest::addColumn<QByteArray>("kept"); // what precedes the new lines
        QTest::newRow("no file yet") << QByteArray() << false << false << QByteArray();
        QTest::newRow("whole lines")
            << QByteArray("ABC\r\n") << false << false << QByteArray("ABC\r\n");
        QTest::newRow("LF-only lines")
            << QByteArray("ABC\n") << false << false << QByteArray("ABC\n");
        QTest::newRow("empty file") << QByteArray("") << false << false << QByteArray();
        QTest::newRow("last line cut") << QByteArray("ABC\r\n\xFF\x80\xDD") << false << true
                                       << QByteArray("ABC\r\n\xFF\x80\xDD\r\n");
        QTest::newRow("LF lost after CR")
            << QByteArray("ABC\r\nDE\r") << false << true << QByteArray("ABC\r\nDE\r\n");
        QTest::newRow("emptied, torn tail and all")
            << QByteArray("OLD1\r\nOLD2") << true << false << QByteArray();
    }
    void appendsWholeLines()
    {
        QFETCH(QByteArray, existing);
        QFETCH(bool, truncate);
        QFETCH(QByteArray, kept);
        const QString path = pathOf(QStringLiteral("SINAV1.DAT"));
        QFile::remove(path);
        if (!existing.isNull())
            TestFiles::write(path, existing);
        QByteArray high; // every byte a record can hold beyond ASCII
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        DataFile data;
        QVERIFY2(data.open(path, truncate), qPrintable(data.errorString()));
        // Created or emptied at once, before the first record.
        QCOMPARE(TestFiles::read(path), truncate ? QByteArray("") : existing);
        QTEST(data.hadTornTail(), "torn");
        QVERIFY(data.writeRecord(high));
        QVERIFY(data.writeRecord("Z")); // the repair happens once
        // On the disk while the file is still open.
        QCOMPARE(TestFiles::read(path), kept + high + "\r\nZ\r\n");
        data.close();
        QVERIFY(!data.isOpen());
        QVERIFY(data.open(path, false));
        QVERIFY(!data.hadTornTail());
        QVERIFY(data.writeRecord("FG"));
        QCOMPARE(TestFiles::read(path), kept + high + "\r\nZ\r\nFG\r\n");
    }

    void openError_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        TestFiles::write(pathOf(QStringLiteral("plain")), "x");
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
        const QString path = TestFiles::write(pathOf(QStringLiteral("limit.dat")), "ABC\r\n");
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
        QCOMPARE(TestFiles::read(path), QByteArray("ABC\r\n"));
        QVERIFY(data.writeRecord("XY"));
        QCOMPARE(TestFiles::read(path), QByteArray("ABC\r\nXY\r\n"));
    }

    void nameProblem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("named"); // what the message shows; null when the name is fine
        const auto row = [](const QString &name, const QString &named) {
            QTest::newRow(qPrintable(name)) << name << named;
        };
        for (const QString ch : {"/", "\\", "<", ">", ":", "\"", "|", "?", "*"})
            row("A" + ch + "B", ch);
        for (const QString name : {".", "..", "A\tB", "A\u0081B", "SINAV.", "SINAV "})
            row(name, QStringLiteral("Data dosyası ad")); // a message about the name itself
        row("CON", "CON");
        row("Nul.dat", "Nul");
        row("AUX .DAT", "AUX");
        row("lpt9", "lpt9");
        row("COM¹", "COM¹");
        row("SINAV日", "日"); // not in code page 1254
        row("A😀", "😀");       // outside the basic plane
        // A blank name is the caller's business.
        for (const QString name : {"€sınav_Ğ.2024.DAT", "SINAV1", "CONSOLE", "COM10", "   "})
            row(name, QString());
    }
    void nameProblem()
    {
        QFETCH(QString, name);
        QFETCH(QString, named);
        const QString problem = DataFile::nameProblem(name);
        QCOMPARE(problem.isEmpty(), named.isNull());
        QVERIFY2(problem.contains(named), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
