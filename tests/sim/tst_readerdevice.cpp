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

// The worked example form, once as the lines are joined on the line, once as the file's lines
// stand.
const QByteArray kExampleJoined = "40=12=00=D=03=12=02=09=H=D=0123456789=X="
                                  "14=38=02=06=H=Y=ABCDE=X=03=03=11=12=H=Y=AB=X=";
const QByteArray kExampleFile = Samples::kSinav;

} // namespace

class TestReaderDevice : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<QByteArray>("reply");

        using List = QList<QByteArray>;
        QTest::newRow("presence in two writes") << List{"\x01", "Y"} << QByteArray("Y");
        QTest::newRow("attention in four writes") << List{"@", "O", "E", "M"} << bytes({1});
        QTest::newRow("attention and presence at once") << List{"@OEM\x01Y"} << QByteArray("\x01Y");
        QTest::newRow("broken attention does not swallow a ping")
            << List{"@O", "\x01Y"} << QByteArray("Y");
        QTest::newRow("presence cut short by a tray query") << List{"\x01\x22"} << bytes({0});
        QTest::newRow("unknown bytes are ignored") << List{"\xFE\x99\x01Y"} << QByteArray("Y");
        QTest::newRow("no reply but from the sensors")
            << List{"\x3A\x3C\x3B\x2E\x23\x24\x25\x26\x27"} << bytes({0, 0, 0, 0, 0});
        QTest::newRow("empty tray: no paper, feed jams, no data")
            << List{"\x22", "\x2A", "\x2F"} << bytes({0, ReaderDevice::kEmptyTrayStatus});
        QTest::newRow("cell command split across writes")
            << List{bytes({0x07}), bytes({9, 0xAB}), bytes({0xCD, 0x08}), bytes({9})}
            << bytes({0x06, 0xAB, 0xCD});
        QTest::newRow("argument bytes equal to commands")
            << List{bytes({0x07, 5, 0x22, 0x2A, 0x08, 5})} << bytes({0x06, 0x22, 0x2A});
        QTest::newRow("cells out of range") << List{bytes({0x07, 31, 1, 1, 0x08, 31, 0x08, 0})}
                                            << bytes({ReaderDevice::kCellRefused, 0, 0, 0, 0});
    }

    void commands()
    {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(QByteArray, reply);
        ReaderDevice device;
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

        QTest::newRow("lines joined") << kExampleJoined << 34 << QByteArray("AB");
        QTest::newRow("titles, checks and CR LF") << kExampleFile << 34 << QByteArray("AB");
        QTest::newRow("header caption")
            << QByteArray("40=12=00=D=[DENEME SINAVI]14=38=02=06=H=Y=ABCDE=X=") << 25
            << QByteArray("ABCDE");
        QTest::newRow("set holding command bytes")
            << QByteArray("05=04=00=D=01=01=01=04=H=Y=\x22*/:=X=") << 1 << QByteArray("\x22*/:");
        QTest::newRow("set too short")
            << QByteArray("40=12=00=D=03=12=02=09=H=D=012345678=X=") << 0 << QByteArray();
        QTest::newRow("column beyond the eyes")
            << QByteArray("40=49=00=D=01=01=48=49=H=Y=AB=X=") << 0 << QByteArray();
        QTest::newRow("unclosed title")
            << QByteArray("40=12=00=D=03=03=11=12=H=Y=AB=X=[KITAPCIK") << 0 << QByteArray();
        QTest::newRow("truncated header") << QByteArray("40=12=00") << 0 << QByteArray();
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

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QByteArray>("data");

        // A one-row field A-D in columns 1-4, then a field coded down rows 2-4 in columns 6-7. The
        // limit is on the eye values' scale: the default marks grey level 5 (eye value 140).
        const int limit = ReaderDevice::kDefaultLowerLimit;
        QTest::newRow("blank") << QByteArray() << limit << QByteArray("   ");
        QTest::newRow("one mark") << QByteArray("..X.") << limit << QByteArray("C  ");
        QTest::newRow("several marks") << QByteArray("X..X") << limit << QByteArray("*  ");
        QTest::newRow("grey below the limit") << QByteArray("4...") << limit << QByteArray("   ");
        QTest::newRow("grey at the limit") << QByteArray("5...") << limit << QByteArray("A  ");
        QTest::newRow("one below the grey") << QByteArray("5...") << 141 << QByteArray("   ");
        QTest::newRow("full mark at limit 255") << QByteArray("9.X.") << 255 << QByteArray("C  ");
        QTest::newRow("faint mark beside a full one")
            << QByteArray("4.X.") << limit << QByteArray("C  ");
        QTest::newRow("limit 0 marks no empty cell")
            << QByteArray(".1..") << 0 << QByteArray("B  ");
        QTest::newRow("coded down the rows")
            << QByteArray("....\n.....X.\n.....XX\n") << limit << QByteArray(" *Y");
        QTest::newRow("last row of a vertical field")
            << QByteArray("#status 0\r\n\r\n\r\n\r\n......X\r\n") << limit << QByteArray("  Z");
    }

    void decoding()
    {
        QFETCH(QByteArray, sheet);
        QFETCH(int, limit);
        QFETCH(QByteArray, data);
        ReaderDevice device;
        device.receive(download("04=07=00=D=01=01=01=04=H=Y=ABCD=X=02=04=06=07=H=D=XYZ=X="));
        QString error;
        QVERIFY2(device.addSheetText(sheet, QStringLiteral("s"), &error), qPrintable(error));
        QCOMPARE(device.receive(bytes({0x07, ReaderDevice::kLowerLimitCell, 0, limit})),
                 bytes({6}));
        QCOMPARE(device.receive("\x2A"), bytes({0}));
        QCOMPARE(device.receive("\x2F"), data);
        QCOMPARE(device.receive("\x2F"), data); // asked again, sent again
    }

    void timingMarksOnTheRight()
    {
        // Drawn as the sheet lies: row 1 of the form is the bottom line, column 1 the right edge.
        ReaderDevice device;
        device.receive(download("03=02=00=T=01=01=01=03=H=Y=CBA=X=02=03=01=02=H=D=10=X="));
        const QByteArray sheet = QByteArray(47, '.') + "X\n" + QByteArray(46, '.') + "X.\n" +
                                 QByteArray(45, '.') + "X..\n";
        QVERIFY(device.addSheetText(sheet, QStringLiteral("t")));
        device.receive("\x2A");
        // Each field comes last character first: the digits read "10" from left to right.
        QCOMPARE(device.receive("\x2F"), QByteArray("A01"));
    }

    void levelReadAppliesOnce()
    {
        ReaderDevice device;
        device.receive(download("01=04=00=D=01=01=01=04=H=Y=ABCD=X="));
        QVERIFY(device.addSheetText("3..7", QStringLiteral("s")));
        device.receive("\x2A");
        // Levels are eye values, as the limit in memory is: 3 × 28 and 8 × 28.
        QCOMPARE(device.receive("\x37\x54\x2F"), QByteArray("*"));
        QCOMPARE(device.receive("\x2F"), QByteArray("D"));
        QCOMPARE(device.receive("\x37\xE0\x2F"), QByteArray(" "));
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
        // Every cell up to 30 keeps what is written; the marking limit starts at grey level 5.
        QCOMPARE(device.receive(bytes({0x08, 4})), bytes({128, ReaderDevice::kDefaultLowerLimit}));
        QCOMPARE(device.receive(bytes({0x07, 30, 1, 2, 0x08, 30})), bytes({6, 1, 2}));
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
