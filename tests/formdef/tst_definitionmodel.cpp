#include "definitionmodel.h"
#include "fmtline.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace formdef;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(formdef::FieldDef)

namespace {

FieldDef field(const QString &r1, const QString &r2, const QString &c1, const QString &c2,
               const QString &orientation, const QString &set, const QString &title = {},
               const QString &check = {})
{
    return {r1, r2, c1, c2, orientation, set, title, check};
}

// Grid row as its eleven cells, joined by "|".
QString rowText(const DefinitionModel &model, int row)
{
    QStringList cells;
    for (int column = 0; column < GridColumn::Count; ++column)
        cells << model.cell(row, column);
    return cells.join(u'|');
}

const auto label = [](int number, const char *title) {
    return u"(Sıra No : %1 )  "_s.arg(number) + title;
};

} // namespace

class TestDefinitionModel : public QObject
{
    Q_OBJECT

private slots:
    void entryChecks_data()
    {
        QTest::addColumn<FieldDef>("entry");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const auto ok = [](const char *name, const FieldDef &entry) {
            QTest::newRow(name) << entry << int(EntryFault::None) << QString() << QString();
        };
        const auto no = [](const char *name, const FieldDef &entry, EntryFault fault,
                           const QString &message, const char *focus) {
            QTest::newRow(name) << entry << int(fault) << message << QString::fromLatin1(focus);
        };
        // The count is 40: the checks run in order and stop at the first failure.
        no("zero start row, rows also reversed", field("0", "5", "3", "1", "Y", "A"),
           EntryFault::ZeroNumber, u"Satır veya Sütun sıfır olamaz."_s, "SAT1");
        ok("end row equal to the count", field("40", "40", "1", "1", "Y", "A"));
        no("end row one beyond the count, rows reversed", field("42", "41", "1", "1", "Y", "A"),
           EntryFault::BeyondCount, u"Bitiş satırı, siyah çizgi sayısından büyük olamaz."_s,
           "SAT2");
        no("rows reversed", field("5", "3", "1", "1", "Y", "A"), EntryFault::RowsReversed,
           u"Başlangıç satırı, bitişten büyük olamaz."_s, "SAT1");
        no("columns reversed", field("3", "5", "4", "1", "Y", "A"), EntryFault::ColumnsReversed,
           u"Başlangıç sütunu, bitişten büyük olamaz."_s, "SUT1");
        ok("Dikey 3-12 with ten", field("3", "12", "2", "9", "D", "0123456789"));
        no("Dikey 3-12 with nine", field("3", "12", "2", "9", "D", "012345678"),
           EntryFault::SetLength, u"Karakter uzunluğu satır aralığı ile uyumsuz."_s, "KARAKTER");
        no("the same as Yatay needs eight", field("3", "12", "2", "9", "Y", "0123456789"),
           EntryFault::SetLength, u"Karakter uzunluğu sütun aralığı ile uyumsuz."_s, "KARAKTER");
        ok("one cell Yatay", field("7", "7", "7", "7", "Y", "A"));
        ok("one cell Dikey, Turkish texts",
           field("7", "7", "7", "7", "D", u"Ş"_s, u"ŞUBE"_s, u"-Ğ"_s));
        no("negative start row", field("-1", "1", "1", "1", "Y", "A"), EntryFault::NotWholeNumber,
           u"Satır ve Sütun 1 ile 99 arasında tam sayı olmalıdır."_s, "SAT1");
        no("column 49", field("1", "1", "48", "49", "Y", "AB"), EntryFault::BeyondColumns,
           u"Bitiş sütunu, 48' den büyük olamaz."_s, "SUT2");
        const QString badSet =
            u"Karakterlerde = [ ] ( ) , kullanılamaz; başta ve sonda boşluk olamaz."_s;
        no("= in the set", field("1", "1", "1", "3", "Y", "A=B"), EntryFault::SetCharacters, badSet,
           "KARAKTER");
        no("blank before the set", field("1", "1", "1", "3", "Y", " AB"), EntryFault::SetCharacters,
           badSet, "KARAKTER");
        no("] in the title", field("1", "1", "1", "1", "Y", "A", "a]"), EntryFault::TitleCharacters,
           u"Başlıkta [ ] ( ) , kullanılamaz."_s, "BASLIK");
        no(", in the check text", field("1", "1", "1", "1", "Y", "A", "", "-A,B"),
           EntryFault::CheckCharacters, u"Kontrol bilgisinde ( ) , kullanılamaz."_s, "KBILGI");
    }
    void entryChecks()
    {
        QFETCH(FieldDef, entry);
        DefinitionModel model;
        model.setCount("40");
        const QSignalSpy changes(&model, &DefinitionModel::gridChanged);
        const EntryCheck check = model.addOrReplace(0, entry);
        QTEST(int(check.fault), "fault");
        QTEST(check.message, "message");
        QTEST(check.focus, "focus");
        // A refused entry leaves the grid as it was; an accepted one is appended.
        QCOMPARE(model.rowCount(), check.fault == EntryFault::None ? 1 : 0);
        QCOMPARE(changes.size(), model.rowCount());
    }

    void gridAndMapFollowEveryChange()
    {
        DefinitionModel model;
        model.setCount("20");
        QCOMPARE(model.mapRows(), 20);
        model.addOrReplace(0, field("2", "5", "1", "3", "D", "ABCD", "NO"));
        model.addOrReplace(0, field("8", "9", "4", "6", "Y", "ABC", "CVP"));
        model.addOrReplace(0, field("1", "1", "10", "11", "Y", "AB"));
        QCOMPARE(rowText(model, 0), u"1|2|5|1|3|D|ABCD|NO||1|3"_s);
        QCOMPARE(rowText(model, 1), u"2|8|9|4|6|Y|ABC|CVP||4|2"_s);
        QCOMPARE(rowText(model, 2), u"3|1|1|10|11|Y|AB|||6|1"_s);
        QCOMPARE(model.mapCell(1, 0), label(1, "NO"));
        QCOMPARE(model.mapCell(4, 2), label(1, "NO"));
        QCOMPARE(model.mapCell(5, 2), QString());
        // Replacing field 1 with a smaller rectangle frees the old cells before marking the new.
        QVERIFY(model.isModified());
        model.addOrReplace(1, field("2", "2", "1", "1", "Y", "A", "NO"));
        QCOMPARE(model.mapCell(1, 0), label(1, "NO"));
        QCOMPARE(model.mapCell(4, 2), QString());
        QCOMPARE(model.mapCell(1, 1), QString());
        QCOMPARE(rowText(model, 1), u"2|8|9|4|6|Y|ABC|CVP||2|2"_s);
        // An inserted row numbers the later fields one higher and keeps their positions.
        model.insertRow(1);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(rowText(model, 1), u"2||||||||||"_s);
        QCOMPARE(rowText(model, 2), u"3|8|9|4|6|Y|ABC|CVP||2|2"_s);
        QCOMPARE(model.mapCell(7, 3), label(3, "CVP"));
        QCOMPARE(model.saveText()->count("\r\n"), 1 + 3); // the header and three fields
        // Deleting the first row renumbers from 1 and starts the record at position 1 again.
        model.deleteRow(0);
        model.deleteRow(0);
        QCOMPARE(rowText(model, 0), u"1|8|9|4|6|Y|ABC|CVP||1|2"_s);
        QCOMPARE(rowText(model, 1), u"2|1|1|10|11|Y|AB|||3|1"_s);
        QCOMPARE(model.mapCell(8, 5), label(1, "CVP"));
        QCOMPARE(model.mapCell(1, 0), QString());
        // A smaller count cuts the map; the fields stay.
        model.setCount("8");
        QCOMPARE(model.mapRows(), 8);
        QCOMPARE(model.mapCell(7, 3), label(1, "CVP"));
        QCOMPARE(model.rowCount(), 2);
    }

    void loadThenSave_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("lastRow");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("blank lines numbered without gaps")
            << QByteArray("40=12=00=D=\r\n\r\n03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n   \r\n"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n\r\n")
            << u"40"_s << u"2|14|38|02|06|Y|ABCDE|CEVAP||9|25"_s
            << QByteArray("40=09=00=D=\r\n03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                          "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n");
        QTest::newRow("05 count, highest column anew")
            << QByteArray("05=30=00=D=\r\n01=05=01=04=H=D=ABCDE=X=\r\n") << u"05"_s
            << u"1|01|05|01|04|D|ABCDE|||1|4"_s
            << QByteArray("05=04=00=D=\r\n01=05=01=04=H=D=ABCDE=X=\r\n");
        QTest::newRow("title and check on some lines only")
            << QByteArray("12=10=00=D=\r\n01=01=01=02=H=Y=AB=X=(-B)\r\n02=02=01=01=H=Y=A=X=\r\n"
                          "03=03=01=01=H=Y=A=X=[T]\r\n")
            << u"12"_s << u"3|03|03|01|01|Y|A|T||3|1"_s
            << QByteArray("12=02=00=D=\r\n01=01=01=02=H=Y=AB=X=(-B)\r\n02=02=01=01=H=Y=A=X=\r\n"
                          "03=03=01=01=H=Y=A=X=[T]\r\n");
        // Every sample file saves as it was loaded, but for the caption, which the designer drops.
        const auto sample = [](const char *name) {
            QFile file(QStringLiteral(DEMO_FMT_DIR "/") + QLatin1String(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray sinav = sample("sinav.fmt");
        QTest::newRow("sinav.fmt")
            << sinav << u"40"_s << u"3|03|03|11|12|Y|AB|KITAPCIK|-B|34|1"_s << sinav;
        const QByteArray anket = sample("anket.fmt");
        QTest::newRow("anket.fmt, T with a caption")
            << anket << u"30"_s << u"4|15|29|10|14|Y|EDCBA|CEVAP||5|15"_s
            << "30=14=00=T=" + anket.mid(anket.indexOf("\r\n"));
    }
    void loadThenSave()
    {
        QFETCH(QByteArray, file);
        DefinitionModel model;
        QSignalSpy directions(&model, &DefinitionModel::directionChanged);
        QVERIFY(model.load(readDefinition(file)));
        QTEST(model.count(), "count");
        QTEST(rowText(model, model.rowCount() - 1), "lastRow");
        QCOMPARE(model.direction(), file.at(9) == 'T' ? kMarksRight : kMarksLeft);
        QCOMPARE(directions.size(), file.at(9) == 'T' ? 1 : 0);
        QVERIFY(!model.isModified());
        QCOMPARE(model.mapRows(), model.count().toInt());
        QTEST(model.saveText().value_or("<refused>"), "saved");
    }

    void moreFieldsThanHeldAreNotLoaded()
    {
        DefinitionModel model;
        model.setCount("10");
        model.addOrReplace(0, field("1", "1", "1", "1", "Y", "A"));
        Definition big{"99", kMarksLeft, QList<FieldDef>(kDesignerMaxFields + 1, model.field(0))};
        QVERIFY(!model.load(big));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.count(), u"10"_s);
        // The designer holds a thousand, but the station reads no more than 399.
        big.fields.removeLast();
        QVERIFY(model.load(big));
        QCOMPARE(model.checkForSaving().fault, WriteFault::TooManyFields);
        big.fields.resize(kStationMaxLines - 1);
        big.fields.last().characterSet.clear(); // the station's line check refuses it
        QVERIFY(model.load(big));
        QCOMPARE(model.checkForSaving().fault, WriteFault::Line);
        QCOMPARE(model.checkForSaving().field, kStationMaxLines - 1);
    }
};

QTEST_APPLESS_MAIN(TestDefinitionModel)
#include "tst_definitionmodel.moc"
