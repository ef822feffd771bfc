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
using namespace Qt::StringLiterals;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
// Titles with the separator, a field without a title, a field of one character.
const QByteArray kQuoting =
    "40=12=00=D=\r\n03=05=02=03=H=Y=AB=X=[SORU;1]\r\n06=06=02=03=H=Y=AB=X=\r\n";
const QString kSinavHead = u"NUMARA;CEVAP;KITAPCIK\r\n"_s;

const auto sinavRecord = [](const QByteArray &number) { return number + kAnswers1 + "A"; };
const auto sinavRow = [](const QByteArray &number) {
    return QString::fromLatin1(number + ";" + kAnswers1 + ";A\r\n");
};

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
        const auto row = [](const char *name, const QByteArray &fmt, const QByteArray &data,
                            char16_t separator, const QString &csv, const QList<int> &wrong = {}) {
            QTest::newRow(name) << fmt << data << QChar(separator) << csv << wrong;
        };
        row("fields", kSinav, sinavRecord("00000001") + "\r\n" + sinavRecord("00000002") + "\r\n",
            u';', kSinavHead + sinavRow("00000001") + sinavRow("00000002"));
        // Short, long, empty and torn lines are each left out on their own; LF ends are read too.
        row("wrong lengths", kSinav,
            sinavRecord("00000001") + "\r\n" + sinavRecord("0000002") + "\r\n" +
                sinavRecord("00000003") + "\n" + sinavRecord("000000004") + "\r\n\r\n" +
                sinavRecord("00000006") + "\r\n" + sinavRecord("0000").left(20),
            u';', kSinavHead + sinavRow("00000001") + sinavRow("00000003") + sinavRow("00000006"),
            {2, 4, 5, 7});
        row("turkish letters", kAnket, QByteArray("7\xDE") + "24ABC\r\n0\xC7" + "31EDA\r\n", u';',
            u"SINIF;ŞUBE;YAŞ;CEVAP\r\n7;Ş;24;ABC\r\n0;Ç;31;EDA\r\n"_s);
        row("semicolon quoting", kQuoting, "\"x;,\r\n AB;\r\n", u';',
            u"\"SORU;1\";Alan 2\r\n\"\"\"x;\";,\r\n\" AB\";\";\"\r\n"_s);
        row("comma quoting", kQuoting, "\"x;,\r\n AB;\r\n", u',',
            u"SORU;1,Alan 2\r\n\"\"\"x;\",\",\"\r\n\" AB\",;\r\n"_s);
    }
    void table()
    {
        QFETCH(QByteArray, fmt);
        QFETCH(QByteArray, data);
        QFETCH(QChar, separator);
        QFETCH(QString, csv);
        const csvexport::Form form = csvexport::readForm(fmt);
        QCOMPARE(form.faults, QStringList());
        const csvexport::Table table = csvexport::toCsv(form, data, separator);
        QCOMPARE(table.csv, kBom + csv.toUtf8());
        QList<int> lines;
        for (const csvexport::WrongRecord &wrong : table.wrongRecords)
            lines << wrong.line;
        QTEST(lines, "wrongLines");
        QCOMPARE(table.records, int(csv.count(u"\r\n"_s) - 1));
    }

    void program_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("csv"); // "" when no table may be written
        const QByteArray table = kBom + kSinavHead.toUtf8() + sinavRow("00000001").toUtf8();
        const auto row = [](const char *name, const QString &arguments, int exitCode,
                            const QString &message, const QByteArray &csv = {}) {
            QTest::newRow(name) << arguments.split(u' ') << exitCode << message << csv;
        };
        row("written", u"sinav.fmt iyi.DAT out.csv"_s, 0, u"1 kayıt out.csv dosyasına yazıldı."_s,
            table);
        row("wrong record reported, the rest written", u"sinav.fmt yarim.DAT out.csv"_s, 1,
            u"yarim.DAT: 2. satır 12 karakter, bu formun kaydı 34 karakter; satır tabloya "
            "alınmadı."_s,
            table);
        row("never over the data file", u"sinav.fmt iyi.DAT iyi.DAT"_s, 2,
            u"CSV dosyası okunan dosyanın üzerine yazılamaz: iyi.DAT"_s);
        row("missing data file", u"sinav.fmt yok.DAT out.csv"_s, 1, u"yok.DAT okunamadı: "_s);
        row("faulty form", u"bozuk.fmt iyi.DAT out.csv"_s, 1,
            u"bozuk.fmt kullanılamaz:\n  fmt dosyasının  2. satırı Hatalı>>03=12=02=09"_s);
        row("unknown option", u"--tab sinav.fmt iyi.DAT"_s, 2,
            u"Bilinmeyen seçenek: --tab\nKullanım: markcsv"_s);
    }
    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QByteArray, csv);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        const QByteArray good = sinavRecord("00000001") + "\r\n";
        TestFiles::write(u"sinav.fmt"_s, kSinav);
        TestFiles::write(u"bozuk.fmt"_s, "40=12=00=D=\r\n03=12=02=09=H=D=01=X=\r\n");
        TestFiles::write(u"iyi.DAT"_s, good);
        TestFiles::write(u"yarim.DAT"_s, good + sinavRecord("0000").left(12));
        QString err;
        QTextStream stream(&err);
        QCOMPARE(csvexport::run(arguments, stream), exitCode);
        stream.flush();
        QVERIFY2(err.contains(message), qPrintable(err));
        QCOMPARE(TestFiles::read(u"iyi.DAT"_s), good);
        QCOMPARE(TestFiles::read(u"out.csv"_s), csv.isEmpty() ? QByteArray("<missing>") : csv);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }

    // Sheets read by form1 from the simulated reader, a blank and a double mark among them,
    // on a form whose marks are on the right: the table shows the values the sheets carry.
    void dataFileTheStationWrote()
    {
        StationRig rig;
        rig.addForm(u"anket.fmt"_s, kAnket);
        QVERIFY(rig.addSheet(u"anket.fmt"_s, {"7", "\xDE", "24", "ABC"}));
        QVERIFY(rig.addSheet(u"anket.fmt"_s, {" ", "\xC7", "31", "E*A"}));
        QVERIFY(rig.start());
        rig.choose(u"anket.fmt"_s);
        rig.typeDataName(u"ANKET"_s);
        rig.clickRead();
        QTRY_COMPARE(rig.cellText(3, 1), u"E*A"_s);
        rig.clickExit();
        QString err;
        QTextStream stream(&err);
        const QString csv = rig.fx.home() + u"/anket.csv"_s;
        const QStringList arguments = {rig.fx.fmtFolder() + u"anket.fmt"_s,
                                       rig.dataPath(u"ANKET"_s), csv};
        QCOMPARE(csvexport::run(arguments, stream), 0);
        QCOMPARE(TestFiles::read(csv),
                 kBom + u"SINIF;ŞUBE;YAŞ;CEVAP\r\n7;Ş;24;ABC\r\n\" \";Ç;31;E*A\r\n"_s.toUtf8());
    }
};

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
