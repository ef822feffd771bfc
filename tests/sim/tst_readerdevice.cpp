#include "protocol.h"
#include "readerdevice.h"
#include "samples.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray download(const QByteArray &text)
{
    return Reader::kFormatBegin + text + Reader::kFormatEnd;
}

QByteArray bytes(std::initializer_list<int> codes)
{
    QByteArray result;
    for (const int code : codes)
        result += char(code);
    return result;
}

// The worked example form as its lines are joined on the line.
const QByteArray kExampleJoined = "40=12=00=D=03=12=02=09=H=D=0123456789=X="
                                  "14=38=02=06=H=Y=ABCDE=X=03=03=11=12=H=Y=AB=X=";

} // namespace

class TestReaderDevice : public QObject
{
    Q_OBJECT

private slots:
    // Commands to a device that holds the form and the sheet given, if any; the replies joined.
    void exchanges_data()
    {
        QTest::addColumn<QByteArray>("form");
        QTest::addColumn<QByteArray>("sheet"); // null: none
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<QByteArray>("reply");
        using List = QList<QByteArray>;
        using B = QByteArray;
        const auto command = [](const char *name, const List &writes, const B &reply) {
            QTest::newRow(name) << B() << B() << writes << reply;
        };
        command("presence in two writes", {"\x01", "Y"}, "Y");
        command("attention in four writes", {"@", "O", "E", "M"}, bytes({1}));
        command("attention and presence at once", {"@OEM\x01Y"}, "\x01Y");
        command("broken attention does not swallow a ping", {"@O", "\x01Y"}, "Y");
        command("presence cut short by a tray query", {"\x01\x22"}, bytes({0}));
        command("unknown bytes are ignored", {"\xFE\x99\x01Y"}, "Y");
        command("no reply but from the sensors", {"\x3A\x3C\x3B\x2E\x23\x24\x25\x26\x27"},
                bytes({0, 0, 0, 0, 0}));
        command("empty tray: no paper, feed jams, no data", {"\x22", "\x2A", "\x2F"},
                bytes({0, ReaderDevice::kEmptyTrayStatus}));
        command("cell command split across writes",
                {bytes({0x07}), bytes({9, 0xAB}), bytes({0xCD, 0x08}), bytes({9})},
                bytes({0x06, 0xAB, 0xCD}));
        command("argument bytes equal to commands", {bytes({0x07, 5, 0x22, 0x2A, 0x08, 5})},
                bytes({0x06, 0x22, 0x2A}));
        command("cells out of range", {bytes({0x07, 31, 1, 1, 0x08, 31, 0x08, 0})},
                bytes({ReaderDevice::kCellRefused, 0, 0, 0, 0}));
        command("cells keep what is written", {bytes({0x07, 30, 1, 2, 0x08, 30})},
                bytes({6, 1, 2}));
        command("marking limit at grey level 5", {bytes({0x08, 4})},
                bytes({128, ReaderDevice::kDefaultLowerLimit}));
        // A one-row field A-D in columns 1-4, then a field coded down rows 2-4 in columns 6-7. The
        // limit is on the eye values' scale: the default marks grey level 5 (eye value 140).
        const auto decode = [](const char *name, const char *sheet, int limit, const B &data) {
            QTest::newRow(name) << B("04=07=00=D=01=01=01=04=H=Y=ABCD=X=02=04=06=07=H=D=XYZ=X=")
                                << B(sheet)
                                << List{bytes({0x07, ReaderDevice::kLowerLimitCell, 0, limit}),
                                        "\x2A", "\x2F", "\x2F"}
                                << bytes({6, 0}) + data + data; // asked again, sent again
        };
        const int limit = ReaderDevice::kDefaultLowerLimit;
        decode("blank", "", limit, "   ");
        decode("one mark", "..X.", limit, "C  ");
        decode("several marks", "X..X", limit, "*  ");
        decode("grey below the limit", "4...", limit, "   ");
        decode("grey at the limit", "5...", limit, "A  ");
        decode("one below the grey", "5...", 141, "   ");
        decode("full mark at limit 255", "9.X.", 255, "C  ");
        decode("faint mark beside a full one", "4.X.", limit, "C  ");
        decode("limit 0 marks no empty cell", ".1..", 0, "B  ");
        decode("coded down the rows", "....\n.....X.\n.....XX\n", limit, " *Y");
        decode("last row down", "#status 0\r\n\r\n\r\n\r\n......X\r\n", limit, "  Z");
        // Drawn as the sheet lies: row 1 of the form is the bottom line, column 1 the right edge;
        // each field comes last character first, so the digits read "10" from left to right.
        QTest::newRow("timing marks on the right")
            << B("03=02=00=T=01=01=01=03=H=Y=CBA=X=02=03=01=02=H=D=10=X=")
            << B(47, '.') + "X\n" + B(46, '.') + "X.\n" + B(45, '.') + "X..\n"
            << List{"\x2A", "\x2F"} << B("\0A01", 4);
        // A level read applies once; levels are eye values, as the limit is: 3 × 28 and 8 × 28.
        QTest::newRow("level read")
            << B("01=04=00=D=01=01=01=04=H=Y=ABCD=X=") << B("3..7")
            << List{"\x2A", "\x37\x54\x2F", "\x2F", "\x37\xE0\x2F"} << B("\0*D ", 4);
    }
    void exchanges()
    {
        QFETCH(QByteArray, form);
        QFETCH(QByteArray, sheet);
        QFETCH(QList<QByteArray>, writes);
        QFETCH(QByteArray, reply);
        ReaderDevice device;
        if (!form.isEmpty())
            device.receive(download(form));
        QString error;
        if (!sheet.isNull())
            QVERIFY2(device.addSheetText(sheet, QStringLiteral("s"), &error), qPrintable(error));
        QByteArray replies;
        for (const QByteArray &write : writes)
            replies += device.receive(write);
        QCOMPARE(replies.toHex(' '), reply.toHex(' '));
    }

    void formatDownload_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expectedLength");
        QTest::addColumn<QByteArray>("lastSet");
        using B = QByteArray;
        QTest::newRow("lines joined") << kExampleJoined << 34 << B("AB");
        QTest::newRow("titles, checks and CR LF") << Samples::kSinav << 34 << B("AB");
        QTest::newRow("header caption")
            << B("40=12=00=D=[DENEME SINAVI]14=38=02=06=H=Y=ABCDE=X=") << 25 << B("ABCDE");
        QTest::newRow("set holding command bytes")
            << B("05=04=00=D=01=01=01=04=H=Y=\x22*/:=X=") << 1 << B("\x22*/:");
        QTest::newRow("set too short") << B("40=12=00=D=03=12=02=09=H=D=012345678=X=") << 0 << B();
        QTest::newRow("column beyond the eyes")
            << B("40=49=00=D=01=01=48=49=H=Y=AB=X=") << 0 << B();
        QTest::newRow("unclosed title")
            << B("40=12=00=D=03=03=11=12=H=Y=AB=X=[KITAPCIK") << 0 << B();
        QTest::newRow("truncated header") << B("40=12=00") << 0 << B();
    }
    void formatDownload()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expectedLength);
        QFETCH(QByteArray, lastSet);
        ReaderDevice device;
        // One write per character, as the station sends it; the download itself gets no reply.
        QByteArray replies;
        for (const char byte : download(text))
            replies += device.receive(QByteArray(1, byte));
        QVERIFY(replies.isEmpty());
        QCOMPARE(device.downloadedText(), text);
        QCOMPARE(device.expectedLength(), expectedLength);
        QCOMPARE(device.hasFormat(), !lastSet.isEmpty());
        if (device.hasFormat())
            QCOMPARE(device.format().fields.last().characterSet, lastSet);
        else
            QVERIFY(!device.formatError().isEmpty());
        // Whatever the text was, the device is back to commands afterwards.
        QCOMPARE(device.receive("\x01Y"), QByteArray("Y"));
    }

    void overlongDownloadIsDropped()
    {
        ReaderDevice device;
        device.receive(download(kExampleJoined));
        QVERIFY(device.hasFormat());
        device.receive(QByteArray(1, Reader::kFormatBegin) +
                       QByteArray(ReaderDevice::kFormatLimit, '0'));
        QVERIFY(!device.hasFormat());
        QCOMPARE(device.receive("\x01Y"), QByteArray("Y"));
    }

    void tray()
    {
        QTemporaryDir dir;
        const auto put = [&dir](const char *name, const QByteArray &text) {
            TestFiles::write(dir.filePath(QLatin1String(name)), text);
        };
        put("b", "X\n");
        put("a", "#status 3\n# timing marks smudged\n.X\n");
        put(".hidden", "X\n");
        ReaderDevice device(dir.path());
        device.receive(download("01=02=00=D=01=01=01=02=H=Y=AB=X="));
        // The tray query looks, it does not take.
        QCOMPARE(device.receive("\x22\x22"), bytes({1, 1}));
        QCOMPARE(device.sheetsInTray(), 2);
        QCOMPARE(device.receive("\x2A\x2F"), bytes({3})); // a failed sheet sends no data
        QCOMPARE(device.lastSheet().name, QStringLiteral("a"));
        QCOMPARE(device.receive("\x2A\x2F"), QByteArray("\0A", 2));
        // Sheets dropped in later are found, an unreadable one jams; those in memory come last.
        SheetImage inMemory;
        inMemory.name = QStringLiteral("memory");
        inMemory.setGrey(0, 1, SheetImage::kFullMark);
        device.addSheet(inMemory);
        put("c", "XX\n");
        put("d", "..O..\n");
        QCOMPARE(device.receive("\x2A\x2F"), QByteArray("\0*", 2));
        QCOMPARE(device.receive("\x2A\x2F"), bytes({ReaderDevice::kUnreadableSheetStatus}));
        QVERIFY(device.lastError().startsWith(QStringLiteral("d: ")));
        QCOMPARE(device.receive("\x2A\x2F"), QByteArray("\0B", 2));
        QCOMPARE(device.receive("\x22\x2A\x2F"), bytes({0, ReaderDevice::kEmptyTrayStatus}));
        QCOMPARE(device.consumedSheets(), QStringList({"a", "b", "c", "d", "memory"}));
    }

    void eyeValues()
    {
        // Grey level d reads 28 × d, a full mark 255; the stream holds 64 lines, zeros past the
        // sheet and past line 64 even where the sheet goes on.
        ReaderDevice device;
        QByteArray sheet = "1" + QByteArray(46, '.') + "X\n.5\n..9\n";
        for (int line = 4; line <= 65; ++line)
            sheet += line == 64 ? "...X\n" : line == 65 ? "X\n" : "\n";
        QVERIFY(device.addSheetText(sheet, QStringLiteral("s")));
        device.receive("\x2A");
        const QByteArray next(48, Reader::kEyeNext);
        const QByteArray zeros(46, '\0');
        QCOMPARE(device.receive("\x2E" + next), bytes({28}) + zeros + bytes({255}));
        QCOMPARE(device.receive(next), bytes({0, 140}) + zeros);
        QCOMPARE(device.receive(next), bytes({0, 0, 252}) + QByteArray(45, '\0'));
        QCOMPARE(device.receive(QByteArray(60 * 48, Reader::kEyeNext)), QByteArray(60 * 48, '\0'));
        QCOMPARE(device.receive(next), bytes({0, 0, 0, 255}) + QByteArray(44, '\0'));
        QCOMPARE(device.receive(next), QByteArray(48, '\0')); // line 65 is not kept
        QCOMPARE(device.receive("\x2E\x20"), bytes({28}));
    }

    void sensorsAndCells()
    {
        ReaderDevice device;
        device.setSensor(Reader::kExitSensor, 1);
        device.setSensor(Reader::kButton2, 9);
        QCOMPARE(device.receive("\x22\x23\x24\x25\x26\x27"), bytes({0, 0, 0, 1, 0, 9}));
        QVERIFY(device.addSheetText("X", QStringLiteral("s")));
        QCOMPARE(device.receive("\x22"), bytes({1})); // the tray sensor sees the sheet
    }

    void exchangesAreLogged()
    {
        ReaderDevice device;
        device.receive("@O");
        device.receive("EM\x32"
                       "AB\xA5\x01Y\xFE");
        QList<QByteArray> log;
        for (const ReaderDevice::Exchange &exchange : device.exchanges())
            log.append(exchange.command.toHex() + '>' + exchange.reply.toHex());
        QCOMPARE(log, QList<QByteArray>({"404f454d>01", "324142a5>", "0159>59", "fe>"}));
    }
};

QTEST_GUILESS_MAIN(TestReaderDevice)
#include "tst_readerdevice.moc"
