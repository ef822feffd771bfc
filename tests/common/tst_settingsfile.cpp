// optik.ini and the port and folder lines it holds.
#include "settingsfile.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeIni(const QByteArray &contents)
    {
        return TestFiles::write(m_dir.filePath(QStringLiteral("optik.ini")), contents);
    }

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
        const QString path = writeIni(QByteArray("/dev/ttyUSB0\r\n38400,N,8,1\r\nfmt\\\r\ndata\r\n"
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
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("wordInMessage");
        QTest::newRow("four lines") << QByteArray("1\r\n38400,N,8,1\r\nfmt\r\ndata\r\n") << "eksik";
        QTest::newRow("empty") << QByteArray() << "eksik";
        QTest::newRow("missing fmt folder")
            << QByteArray("1\r\n38400,N,8,1\r\nnothere\\\r\ndata\r\n.DAT\r\n") << "nothere";
        QTest::newRow("missing data folder")
            << QByteArray("1\r\n38400,N,8,1\r\nfmt\r\ngone\r\n.DAT\r\n") << "gone";
        QTest::newRow("port zero")
            << QByteArray("0\r\n38400,N,8,1\r\nfmt\r\ndata\r\n.DAT\r\n") << "port";
    }

    void refusesWhatCannotWork()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, wordInMessage);
        const QString path = writeIni(contents);
        StationSettings s;
        QString error;
        QVERIFY(!readOptikIni(path, &s, &error));
        QVERIFY2(error.contains(wordInMessage), qPrintable(error));
    }

    void missingFileIsNamed()
    {
        StationSettings s;
        QString error;
        const QString path = m_dir.filePath(QStringLiteral("none/optik.ini"));
        QVERIFY(!readOptikIni(path, &s, &error));
        QVERIFY(error.contains(path));
    }

    void portLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("first port") << "1"
                                    << "/dev/ttyS0";
        QTest::newRow("fourth port") << "4"
                                     << "/dev/ttyS3";
        QTest::newRow("device path") << "/tmp/omr/reader"
                                     << "/tmp/omr/reader";
        QTest::newRow("no number") << "COM"
                                   << "";
        QTest::newRow("negative") << "-1"
                                  << "";
    }

    void portLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QCOMPARE(portNameFor(line), name);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
