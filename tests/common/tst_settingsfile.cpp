// optik.ini and the port and folder lines it holds.
#include "settingsfile.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("fmt"));
        QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    }

    void readsFiveLinesAsTheyStand_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }

    void readsFiveLinesAsTheyStand()
    {
        QFETCH(QByteArray, lineEnd);
        const QString path =
            TestFiles::write(m_dir.filePath(QStringLiteral("optik.ini")),
                             QByteArray("/dev/ttyUSB0\r\n38400,N,8,1\r\nfmt\\\r\ndata\r\n"
                                        ".DAT\r\nextra line\r\n")
                                 .replace("\r\n", lineEnd));
        StationSettings s;
        QString error;
        QVERIFY2(readOptikIni(path, &s, &error), qPrintable(error));
        QCOMPARE(s.portName(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(s.portSettings, QStringLiteral("38400,N,8,1"));
        QCOMPARE(s.fmtFolder, m_dir.filePath(QStringLiteral("fmt/")));
        QCOMPARE(s.dataFolder, m_dir.filePath(QStringLiteral("data/")));
        QCOMPARE(s.dataExtension, QStringLiteral(".DAT"));
    }

    void refusesWhatCannotWork_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("wordInMessage");
        const QString ini = m_dir.filePath(QStringLiteral("optik.ini"));
        QTest::newRow("four lines")
            << ini << QByteArray("1\r\n38400,N,8,1\r\nfmt\r\ndata\r\n") << "eksik";
        QTest::newRow("empty") << ini << QByteArray() << "eksik";
        QTest::newRow("missing fmt folder")
            << ini << QByteArray("1\r\n38400,N,8,1\r\nnothere\\\r\ndata\r\n.DAT\r\n") << "nothere";
        QTest::newRow("missing data folder")
            << ini << QByteArray("1\r\n38400,N,8,1\r\nfmt\r\ngone\r\n.DAT\r\n") << "gone";
        QTest::newRow("port zero")
            << ini << QByteArray("0\r\n38400,N,8,1\r\nfmt\r\ndata\r\n.DAT\r\n") << "port";
        const QString none = m_dir.filePath(QStringLiteral("none/optik.ini"));
        QTest::newRow("missing file is named") << none << QByteArray() << none;
    }

    void refusesWhatCannotWork()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, wordInMessage);
        if (QFileInfo(file).dir().exists())
            TestFiles::write(file, contents);
        StationSettings s;
        QString error;
        QVERIFY(!readOptikIni(file, &s, &error));
        QVERIFY2(error.contains(wordInMessage), qPrintable(error));
    }

    void portLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number"); // what the name maps back to
        QTest::newRow("first port") << u"1"_s << u"/dev/ttyS0"_s << 1;
        QTest::newRow("fourth port") << u"4"_s << u"/dev/ttyS3"_s << 4;
        QTest::newRow("device path") << u"/tmp/omr/reader"_s << u"/tmp/omr/reader"_s << 0;
        QTest::newRow("look-alike") << u"/dev/ttyS01"_s << u"/dev/ttyS01"_s << 0;
        QTest::newRow("no number") << u"COM"_s << QString() << 0;
        QTest::newRow("negative") << u"-1"_s << QString() << 0;
    }

    void portLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QCOMPARE(portNameFor(line), name);
        QTEST(portNumberFor(name), "number");
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
