// Data files turned into CSV tables: columns, titles, wrong records, Turkish letters, both
// separators and quoting; the program's answers; and a data file the station itself wrote.
#include "csvexport.h"
#include "samples.h"
#include "stationrig.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Samples;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";

// Titles with the separator, a field without a title, a field of one character.
const QByteArray kQuoting = "40=12=00=D=\r\n"
                            "03=05=02=03=H=Y=AB=X=[SORU;1]\r\n"
                            "06=06=02=03=H=Y=AB=X=\r\n";

QByteArray sinavRecord(const QByteArray &number)
{
    return number + kAnswers1 + "A";
}

QString sinavRow(const QByteArray &number)
{
    return QString::fromLatin1(number + ";" + kAnswers1 + ";A\r\n");
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void table_data()
    {
        QTest::addColumn<QByteArray>("fmt");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QList<int>>("wrongLines");

        const QString sinavHead = QStringLiteral("NUMARA;CEVAP;KITAPCIK\r\n");
        QTest::newRow("fields") << kSinav
                                << sinavRecord("00000001") + "\r\n" + sinavRecord("00000002") +
                                       "\r\n"
                                << QChar(u';')
                                << sinavHead + sinavRow("00000001") + sinavRow("00000002")
                                << QList<int>();
        // Short, long, empty and torn lines are each left out on their own; LF ends are read too.
        QTest::newRow("wrong lengths")
            << kSinav
            << sinavRecord("00000001") + "\r\n" + sinavRecord("0000002") + "\r\n" +
                   sinavRecord("00000003") + "\n" + sinavRecord("000000004") + "\r\n\r\n" +
                   sinavRecord("00000006") + "\r\n" + sinavRecord("0000").left(20)
            << QChar(u';')
            << sinavHead + sinavRow("00000001") + sinavRow("00000003") + sinavRow("00000006")
            << QList<int>{2, 4, 5, 7};
        QTest::newRow("turkish letters")
            << kAnket
            << QByteArray("7\xDE"
                          "24ABC\r\n0\xC7"
                          "31EDA\r\n")
            << QChar(u';') << QStringLiteral("SINIF;ŞUBE;YAŞ;CEVAP\r\n7;Ş;24;ABC\r\n0;Ç;31;EDA\r\n")
            << QList<int>();
        QTest::newRow("semicolon quoting")
            << kQuoting << QByteArray("\"x;,\r\n AB;\r\n") << QChar(u';')
            << QStringLiteral("\"SORU;1\";Alan 2\r\n\"\"\"x;\";,\r\n\" AB\";\";\"\r\n")
            << QList<int>();
        QTest::newRow("comma quoting")
            << kQuoting << QByteArray("\"x;,\r\n AB;\r\n") << QChar(u',')
            << QStringLiteral("SORU;1,Alan 2\r\n\"\"\"x;\",\",\"\r\n\" AB\",;\r\n") << QList<int>();
    }

    void table()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QByteArray, data);
        QFETCH(QChar, separator);
        QFETCH(QString, csv);
        QFETCH(QList<int>, wrongLines);

        const csvexport::Form form = csvexport::readForm(fmt);
        QCOMPARE(form.faults, QStringList());
        const csvexport::Table table = csvexport::toCsv(form, data, separator);
        QCOMPARE(table.csv, kBom + csv.toUtf8());
        QList<int> lines;
        for (const csvexport::WrongRecord &wrong : table.wrongRecords)
            lines << wrong.line;
        QCOMPARE(lines, wrongLines);
        QCOMPARE(table.records, int(csv.count(QStringLiteral("\r\n")) - 1));
    }

    void program_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("csv"); // "" when no table may be written

        const QByteArray table = kBom + "NUMARA;CEVAP;KITAPCIK\r\n" + sinavRow("00000001").toUtf8();
        QTest::newRow("written") << QStringList{"sinav.fmt", "iyi.DAT", "out.csv"} << 0
                                 << QStringLiteral("1 kayıt out.csv dosyasına yazıldı.") << table;
        QTest::newRow("wrong record reported, the rest written")
            << QStringList{"sinav.fmt", "yarim.DAT", "out.csv"} << 1
            << QStringLiteral("yarim.DAT: 2. satır 12 karakter, bu formun kaydı 34 karakter; "
                              "satır tabloya alınmadı.")
            << table;
        QTest::newRow("never over the data file")
            << QStringList{"sinav.fmt", "iyi.DAT", "iyi.DAT"} << 2
            << QStringLiteral("CSV dosyası okunan dosyanın üzerine yazılamaz: iyi.DAT")
            << QByteArray();
        QTest::newRow("missing data file") << QStringList{"sinav.fmt", "yok.DAT", "out.csv"} << 1
                                           << QStringLiteral("yok.DAT okunamadı: ") << QByteArray();
        QTest::newRow("faulty form")
            << QStringList{"bozuk.fmt", "iyi.DAT", "out.csv"} << 1
            << QStringLiteral(
                   "bozuk.fmt kullanılamaz:\n  fmt dosyasının  2. satırı Hatalı>>03=12=02=09")
            << QByteArray();
        QTest::newRow("unknown option")
            << QStringList{"--tab", "sinav.fmt", "iyi.DAT"} << 2
            << QStringLiteral("Bilinmeyen seçenek: --tab\nKullanım: markcsv") << QByteArray();
    }

    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QByteArray, csv);

        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        TestFiles::write(QStringLiteral("sinav.fmt"), kSinav);
        TestFiles::write(QStringLiteral("bozuk.fmt"), "40=12=00=D=\r\n03=12=02=09=H=D=01=X=\r\n");
        TestFiles::write(QStringLiteral("iyi.DAT"), sinavRecord("00000001") + "\r\n");
        TestFiles::write(QStringLiteral("yarim.DAT"),
                         sinavRecord("00000001") + "\r\n" + sinavRecord("0000").left(12));

        QString err;
        QTextStream stream(&err);
        QCOMPARE(csvexport::run(arguments, stream), exitCode);
        stream.flush();
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(TestFiles::read(QStringLiteral("iyi.DAT")), sinavRecord("00000001") + "\r\n");
        QCOMPARE(TestFiles::read(QStringLiteral("out.csv")),
                 csv.isEmpty() ? QByteArray("<missing>") : csv);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }

    // Sheets read by form1 from the simulated reader, a blank and a double mark among them,
    // on a form whose marks are on the right: the table shows the values the sheets carry.
    void dataFileTheStationWrote()
    {
        StationRig rig;
        rig.addForm(QStringLiteral("anket.fmt"), kAnket);
        QVERIFY(rig.addSheet(QStringLiteral("anket.fmt"), {"7", "\xDE", "24", "ABC"}));
        QVERIFY(rig.addSheet(QStringLiteral("anket.fmt"), {" ", "\xC7", "31", "E*A"}));
        QVERIFY(rig.start());
        rig.choose(QStringLiteral("anket.fmt"));
        rig.typeDataName(QStringLiteral("ANKET"));
        rig.clickRead();
        QTRY_COMPARE(rig.cellText(3, 1), QStringLiteral("E*A"));
        rig.clickExit();

        QString err;
        QTextStream stream(&err);
        const QString csvPath = rig.fx.home() + QStringLiteral("/anket.csv");
        QCOMPARE(csvexport::run({rig.fx.fmtFolder() + QStringLiteral("anket.fmt"),
                                 rig.dataPath(QStringLiteral("ANKET")), csvPath},
                                stream),
                 0);
        QCOMPARE(TestFiles::read(csvPath),
                 kBom + QStringLiteral("SINIF;ŞUBE;YAŞ;CEVAP\r\n7;Ş;24;ABC\r\n\" \";Ç;31;E*A\r\n")
                            .toUtf8());
    }
};

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
