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
        QVERIFY(QDir(m_dir.path()).mkpath(u"fmt"_s) && QDir(m_dir.path()).mkpath(u"data"_s));
    }

    // Five lines as they stand, whatever ends them; what cannot work is refused and named.
    void readOptikIni_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("wordInMessage"); // null: read
        const QString ini = m_dir.filePath(u"optik.ini"_s);
        const QByteArray good =
            "/dev/ttyUSB0\r\n38400,N,8,1\r\nfmt\\\r\ndata\r\n.DAT\r\nextra line\r\n";
        QTest::newRow("CR LF") << ini << good << QString();
        QTest::newRow("LF") << ini << QByteArray(good).replace("\r\n", "\n") << QString();
        QTest::newRow("CR") << ini << QByteArray(good).replace("\r\n", "\r") << QString();
        const QByteArray settings = "\r\n38400,N,8,1\r\n";
        QTest::newRow("four lines") << ini << "1" + settings + "fmt\r\ndata\r\n" << u"eksik"_s;
        QTest::newRow("empty") << ini << QByteArray() << u"eksik"_s;
        QTest::newRow("no fmt folder") << ini << "1" + settings + "nothere\\\r\ndata\r\n.DAT\r\n"
                                       << u"nothere"_s;
        QTest::newRow("no data folder") << ini << "1" + settings + "fmt\r\ngone\r\n.DAT\r\n"
                                        << u"gone"_s;
        QTest::newRow("port 0") << ini << "0" + settings + "fmt\r\ndata\r\n.DAT\r\n" << u"port"_s;
        const QString none = m_dir.filePath(u"none/optik.ini"_s);
        QTest::newRow("missing file is named") << none << QByteArray() << none;
    }
    void readOptikIni()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, wordInMessage);
        if (QFileInfo(file).dir().exists())
            TestFiles::write(file, contents);
        StationSettings s;
        QString error;
        QCOMPARE(::readOptikIni(file, &s, &error), wordInMessage.isNull());
        QVERIFY2(error.contains(wordInMessage), qPrintable(error));
        if (!wordInMessage.isNull())
            return;
        QCOMPARE(s.portName(), u"/dev/ttyUSB0"_s);
        QCOMPARE(s.portSettings, u"38400,N,8,1"_s);
        QCOMPARE(s.fmtFolder, m_dir.filePath(u"fmt/"_s));
        QCOMPARE(s.dataFolder, m_dir.filePath(u"data/"_s));
        QCOMPARE(s.dataExtension, u".DAT"_s);
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
