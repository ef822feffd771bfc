#include "eyevalueswindow.h"
#include "protocol.h"
#include "readerrig.h"
#include "readervalueswindow.h"
#include "sensorcontrolwindow.h"
#include "sensortimeswindow.h"
#include "testformwindow.h"
#include "twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

const QColor kWhite = colorFromBgr(0xFFFFFF);
const QColor kLightBlue = colorFromBgr(0xFFC0C0);
const QColor kYellow = colorFromBgr(0x00FFFF);
const QColor kMagenta = colorFromBgr(0xFF00FF);
const QColor kLightOrange = colorFromBgr(0x80C0FF);
const QColor kGreen = colorFromBgr(0x00C000);
const QColor kRed = colorFromBgr(0x0000FF);
const QColor kDarkBlue = colorFromBgr(0xC00000);

const QByteArray kRewind(1, Reader::kEyeRewind);
const QByteArray kLine(48, Reader::kEyeNext);

// Line 1: eye 1 empty, eye 2 grey 1 (28), eye 3 grey 5 (140), eye 4 a full mark (255).
// Line 2: eye 1 marked, eye 3 empty, eye 2 marked. Line 3: eye 1 empty, eye 3 grey 9.
const QByteArray kSheet = ".15X\nXX\n..9\n";

// The grid's colours at these (line, eye) cells, in turn.
QList<QColor> cellColours(const TestFormWindow *form5, const QList<std::pair<int, int>> &cells)
{
    QList<QColor> colours;
    for (const auto &[line, eye] : cells)
        colours << form5->msg_goz->item(line - 1, eye - 1)->background().color();
    return colours;
}

// Records the button's caption each time it paints.
class PaintedCaptions : public QObject
{
public:
    explicit PaintedCaptions(QPushButton *button) { button->installEventFilter(this); }
    QStringList captions;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            captions.append(static_cast<QPushButton *>(watched)->text());
        return false;
    }
};

} // namespace

class TestEyeSensorWindows : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_rig = new ReaderRig;
        QVERIFY(m_rig->start());
    }

    void cleanup() { delete m_rig; }

    void names_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("controls"); // name|caption|tooltip
        QTest::newRow("Form12")
            << 12
            << QStringList{
                   "Form12|OPTİK GÖZ DEĞERLERİ|",
                   "Label1_48|0|No lu göz değeri",
                   "Text1|1|İzlenecek satırın numarası",
                   "Label49|TM Numarası|",
                   "Label2|Alt Değer|",
                   "Command3|Tm No ya Git|Verilen TM nolu satırın göz değerlerini gösterir",
                   "Command5|Önceki|Bir önceki TM nolu satırın Göz değerlerini gösterir",
                   "Command2|Çıkış|Programdan çıkar",
               };
        QTest::newRow("Form9") << 9
                               << QStringList{
                                      "Form9|Sensör Kontrolü|",
                                      "Label1|Tepsi Sensörü|Tepside Kağı var/yok algılayan sensör",
                                      "Label5|Clear Butonu|Clear butonu test",
                                      "Text5||1-Sensör de kağıt var 0-Kağıt yok",
                                      "Command7||Yeşil-Sensör de kağıt var Kırmızı-Kağıt yok",
                                      "Command1|İzle|Sensörleri izlemek için aktif eder",
                                  };
        QTest::newRow("Form5") << 5 << QStringList{"Form5|Form5|",       "Command1|YENİLE|",
                                                   "Text2|100|",         "Label2|ÜSTÜNDE KALANLAR|",
                                                   "Label3|000 OLMALI|", "Label4|000 OLMAMALI|"};
    }
    void names()
    {
        QFETCH(int, window);
        QFETCH(QStringList, controls);
        QWidget *shown = window == 12  ? static_cast<QWidget *>(m_rig->open<EyeValuesWindow>())
                         : window == 9 ? static_cast<QWidget *>(m_rig->open<SensorControlWindow>())
                                       : m_rig->open<TestFormWindow>();
        checkControls(shown, controls);
        if (QTest::currentTestFailed())
            return;
        if (window == 5) {
            auto *form5 = static_cast<TestFormWindow *>(shown);
            QCOMPARE(form5->msg_goz->objectName(), QStringLiteral("msg_goz"));
            QCOMPARE(form5->msg_goz->verticalHeaderItem(63)->text(), QStringLiteral("64"));
            QCOMPARE(backgroundOf(form5->Label4), kDarkBlue);
        }
    }

    void eyeValuesBytesAndSteps()
    {
        m_rig->feedSheet(kSheet);
        auto *form12 = m_rig->open<EyeValuesWindow>();
        QVERIFY(m_rig->reader.waitForReceived(50, ReaderRig::kLimitMs));
        QCOMPARE(m_rig->sent(), kRewind + kRewind + kLine);
        QTRY_COMPARE(form12->Label1[3]->text(), QStringLiteral("255"));
        QCOMPARE(form12->Label1[48 + 47]->text(), QStringLiteral("48")); // the number over eye 48
        const auto step = [&](QPushButton *button, const QByteArray &bytes, const char *line,
                              const char *eye3) {
            m_rig->reader.clearReceived();
            button->click();
            QCOMPARE(m_rig->sent(), bytes);
            QCOMPARE(form12->Text1->text(), QLatin1String(line));
            QCOMPARE(form12->Label1[2]->text(), QLatin1String(eye3));
        };
        step(form12->Command5, kRewind + kLine, "1", "140"); // "Önceki" on line 1 stays there
        step(form12->Command1, kLine, "2", "0");
        step(form12->Command1, kLine, "3", "252");
        form12->Text1->setText(QStringLiteral("2"));
        step(form12->Command3, kRewind + kLine + kLine, "2", "0");
        step(form12->Command5, kRewind + kLine, "1", "140");
        // A line number the reader does not hold is refused before a byte goes out.
        form12->Text1->setText(QStringLiteral("65"));
        m_rig->reader.clearReceived();
        form12->Command3->click();
        QCOMPARE(m_rig->messages.texts(),
                 QStringList{"\"TM Numarası\" 1 ile 64 arasında bir tam sayı olmalıdır."});
        QCOMPARE(m_rig->sent(), QByteArray());
    }

    void eyeColours()
    {
        m_rig->feedSheet(kSheet);
        auto *form12 = m_rig->open<EyeValuesWindow>();
        QTRY_COMPARE(form12->Label1[3]->text(), QStringLiteral("255"));
        m_rig->reader.clearReceived();
        const auto colours = [form12] {
            return QList<QColor>{backgroundOf(form12->Label1[0]), backgroundOf(form12->Label1[1]),
                                 backgroundOf(form12->Label1[2]), backgroundOf(form12->Label1[3])};
        };
        // Zero is always yellow; below the threshold light blue; at or above it white.
        QCOMPARE(colours(), (QList<QColor>{kYellow, kWhite, kWhite, kWhite}));
        form12->Text2->setText(QStringLiteral("141"));
        QCOMPARE(colours(), (QList<QColor>{kYellow, kLightBlue, kLightBlue, kWhite}));
        form12->Text2->setText(QStringLiteral("140")); // equal: not kept light blue
        QCOMPARE(colours(), (QList<QColor>{kYellow, kLightBlue, kWhite, kWhite}));
        form12->Text2->setText(QStringLiteral("999"));
        QCOMPARE(colours(), (QList<QColor>{kYellow, kLightBlue, kLightBlue, kLightBlue}));
        QCOMPARE(m_rig->sent(), QByteArray()); // no reader traffic for colours
    }

    void sensorsQueriedAndWatched()
    {
        m_rig->reader.withDevice(
            [](ReaderDevice &device) { device.setSensor(Reader::kExitSensor, 1); });
        auto *form9 = m_rig->open<SensorControlWindow>();
        QVERIFY(m_rig->reader.waitForReceived(5, ReaderRig::kLimitMs));
        QTRY_COMPARE(form9->values[3]->text(), QStringLiteral("1"));
        QCOMPARE(m_rig->sent(), QByteArray("\x22\x23\x24\x25\x26"));
        for (const QPushButton *lamp : std::as_const(form9->lamps))
            QCOMPARE(backgroundOf(lamp), kRed); // nothing is coloured before "İzle"
        // Watching: the exit sensor's lamp follows its state; the pass ends when the window does.
        int passes = 0;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, form9, [&] {
            if (passes == 0 && backgroundOf(form9->lamps[3]) == kGreen) {
                ++passes;
                m_rig->reader.withDevice(
                    [](ReaderDevice &device) { device.setSensor(Reader::kExitSensor, 0); });
            } else if (passes == 1 && backgroundOf(form9->lamps[3]) == kRed) {
                ++passes;
                form9->close();
            }
        });
        watcher.start(1);
        QPointer<SensorControlWindow> guard(form9);
        form9->Command1->click();
        QTRY_VERIFY(!guard);
        QCOMPARE(passes, 2);
        QVERIFY(m_rig->sent().startsWith("\x22\x23\x24\x25\x26\x22\x23\x24\x25\x26"));
        QCOMPARE(m_rig->messages.count(), 0);
    }

    void testFormRefreshColoursAndCheck()
    {
        m_rig->feedSheet(kSheet);
        auto *form5 = m_rig->open<TestFormWindow>();
        QVERIFY(m_rig->reader.waitForReceived(1, ReaderRig::kLimitMs));
        QTRY_COMPARE(m_rig->sent(), kRewind);
        m_rig->reader.clearReceived();
        PaintedCaptions painted(form5->Command1);
        form5->Command1->click();
        QCOMPARE(m_rig->sent(), kRewind + QByteArray(3072, Reader::kEyeNext));
        QCOMPARE(form5->msg_goz->item(0, 1)->text(), QStringLiteral("028"));
        QCOMPARE(form5->msg_goz->item(0, 3)->text(), QStringLiteral("255"));
        QCOMPARE(form5->msg_goz->item(63, 47)->text(), QStringLiteral("000"));
        QCOMPARE(form5->Command1->text(), QStringLiteral("YENİLE"));
        // The line counter is painted as it advances, though no event is let through.
        QVERIFY(painted.captions.contains(QStringLiteral(" 1")));
        QVERIFY(painted.captions.contains(QStringLiteral(" 64")));
        m_rig->reader.clearReceived();
        form5->Text2->setText(QStringLiteral("200")); // 99 and 200
        const QList<std::pair<int, int>> line1{{1, 1}, {1, 2}, {1, 3}, {1, 4}};
        QCOMPARE(cellColours(form5, line1),
                 (QList<QColor>{kWhite, kMagenta, kYellow, kLightOrange}));
        form5->Text1->setText(QString()); // 0 and 200: nothing is magenta
        QCOMPARE(cellColours(form5, {{1, 2}}), QList<QColor>{kYellow});
        // Line 1 (eye 1 empty): eye 3 reads, should not; line 2 (eye 1 marked): eye 3 reads 0.
        form5->Command2->click();
        // Even eyes are not checked.
        QCOMPARE(cellColours(form5, {{1, 3}, {2, 3}, {3, 3}, {1, 4}, {1, 2}}),
                 (QList<QColor>{kGreen, kDarkBlue, kGreen, kLightOrange, kYellow}));
        QCOMPARE(form5->Command2->text(), QStringLiteral("TEST FORM KONTROL"));
        QCOMPARE(m_rig->sent(), QByteArray());
    }

    void readerFaults_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("pulled");
        for (const int window : {12, 5}) {
            QTest::addRow("Form%d, silent reader", window) << window << false;
            QTest::addRow("Form%d, pulled cable", window) << window << true;
        }
    }
    void readerFaults()
    {
        QFETCH(int, window);
        QFETCH(bool, pulled);
        m_rig->feedSheet(kSheet);
        if (pulled)
            m_rig->reader.hangUp();
        else
            m_rig->reader.setSilent(true);
        QWidget *shown = window == 12 ? static_cast<QWidget *>(m_rig->open<EyeValuesWindow>())
                                      : m_rig->open<TestFormWindow>();
        auto *form5 = qobject_cast<TestFormWindow *>(shown);
        if (form5) {
            QTest::qWait(0); // its opening rewind
            form5->Command1->click();
        }
        const QString message = pulled ? "Optik okuyucu ile bağlantı kesildi; değerler okunamadı."
                                       : "Optik okuyucu cevap vermedi; değerler okunamadı.";
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->messages.texts(), QStringList{message},
                                  ReaderRig::kLimitMs);
        if (form5) {
            QCOMPARE(form5->Command1->text(), QStringLiteral("YENİLE"));
            QCOMPARE(form5->msg_goz->item(0, 3)->text(), QString()); // no half-read grid
        }
        // Usable again once the reader is back.
        QTRY_VERIFY(!pulled || !m_rig->session.line()->isOpen());
        if (pulled)
            QVERIFY(m_rig->reader.comeBack());
        else
            m_rig->reader.setSilent(false);
        m_rig->messages.clear();
        if (auto *form12 = qobject_cast<EyeValuesWindow *>(shown)) {
            form12->Command3->click();
            QCOMPARE(form12->Label1[3]->text(), QStringLiteral("255"));
        } else {
            form5->Command1->click();
            QCOMPARE(form5->msg_goz->item(0, 3)->text(), QStringLiteral("255"));
        }
        QCOMPARE(m_rig->messages.count(), 0);
    }

    void heartbeat()
    {
        QVERIFY(ReaderRig::restart(m_rig, ReaderRig::kLongWaitMs, 5));
        m_rig->session.startHeartbeat();
        QVERIFY(m_rig->reader.waitForReceived(6, ReaderRig::kLimitMs)); // "@OEM", then pings
        using Look = ReaderWindow::Look;
        const QList<std::function<QWidget *()>> openers = {
            [this] { return m_rig->open<ReaderValuesWindow>(Look::Station); },
            [this] { return m_rig->open<SensorTimesWindow>(Look::Service); },
            [this] { return m_rig->open<EyeValuesWindow>(); },
            [this] { return m_rig->open<SensorControlWindow>(); },
        };
        for (const auto &open : openers) {
            QWidget *window = open();
            QVERIFY(m_rig->reader.waitForReceived(5, ReaderRig::kLimitMs));
            QTRY_VERIFY(!m_rig->session.isBusy());
            // Every byte on the line is the window's own, and the heartbeat's timer stands still.
            QVERIFY(!m_rig->sent().contains("\x01Y") && !m_rig->sent().contains("@OEM"));
            QVERIFY(!m_rig->session.heartbeatTimer()->isActive());
            window->close(); // the title bar's way: no reminder
            QTRY_VERIFY(m_rig->opener.hasFocus());
            m_rig->reader.clearReceived();
            QVERIFY(m_rig->reader.waitForReceived(2, ReaderRig::kLimitMs));
            QVERIFY(m_rig->sent().startsWith("\x01Y"));
        }
        QCOMPARE(m_rig->messages.count(), 0);
        // The test form window leaves the heartbeat running.
        m_rig->open<TestFormWindow>();
        QTRY_VERIFY(m_rig->sent().contains("\x01Y"));
    }

private:
    ReaderRig *m_rig = nullptr;
};

QTEST_MAIN(TestEyeSensorWindows)
#include "tst_eyesensorwindows.moc"
