// The service console's small windows and its serial settings dialog, driven through their
// controls against the simulated reader: the bytes on the line and what the operator sees.
#include "attention.h"
#include "calibrationwindow.h"
#include "configscrn.h"
#include "databitswindow.h"
#include "machinesearchwindow.h"
#include "protocol.h"
#include "readerrig.h"
#include "serviceeyewindow.h"
#include "servicesensorwindow.h"
#include "settingsfile.h"
#include "timingmarkwindow.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kRewind(1, Reader::kEyeRewind);
const QByteArray kLine(48, Reader::kEyeNext);
const QByteArray kSensors("\x22\x23\x24\x25\x26\x27");
// Eye 1 and eye 3 of each line: 0 140 / 255 0 / 0 252 / 28 0.
const QByteArray kSheet = ".15X\nXX\n..9\n1\n";
const QString kNotSent = u"Optik okuyucu ile bağlantı kesildi; kalibrasyon komutu gönderilemedi."_s;

} // namespace

class TestServiceWindows : public QObject
{
    Q_OBJECT

    ReaderRig *m_rig = nullptr;
    std::unique_ptr<QSignalSpy> m_chosen; // the port numbers ConfigScrn passed on to the console

    QWidget *open(int form)
    {
        return form == 8   ? static_cast<QWidget *>(m_rig->open<TimingMarkWindow>())
               : form == 9 ? static_cast<QWidget *>(m_rig->open<ServiceSensorWindow>())
                           : m_rig->open<ServiceEyeWindow>();
    }
    // name|caption, ';' between controls; the window's own name gives its caption.
    static void checkTexts(QWidget *window, QString controls)
    {
        checkControls(window, controls.replace(u';', u"|;"_s).append(u'|').split(u';'));
    }

    ConfigScrn *openConfig(SerialLine &line)
    {
        auto *dialog = new ConfigScrn(line, &m_rig->opener);
        m_chosen = std::make_unique<QSignalSpy>(dialog, &ConfigScrn::portChosen);
        dialog->show();
        return dialog;
    }
    static QString selected(const ConfigScrn *dialog)
    {
        QStringList names;
        for (const QRadioButton *option : dialog->findChildren<QRadioButton *>())
            if (option->isChecked())
                names.append(option->objectName());
        names.sort();
        return names.join(u' ');
    }

private slots:
    void init()
    {
        m_rig = new ReaderRig;
        QVERIFY(m_rig->start());
    }
    void cleanup()
    {
        m_chosen.reset();
        delete m_rig;
    }

    void timingMarkCalibrationDataBits()
    {
        checkTexts(m_rig->show(new DataBitsWindow(&m_rig->opener)),
                   u"Form7|Data bits;Option1|8 Bits;Option2|4 Bits;Command2|Cancel;Label1|Choosing "
                   "4 bits increases machine's speed and decreases its reading  resolution."_s);
        m_rig->feedSheet(kSheet); // four timing marks for the reader to measure
        auto *form8 = m_rig->open<TimingMarkWindow>();
        checkTexts(form8, u"Form8|Timing Mark;Label1|TM_Value"_s);
        QTRY_COMPARE(form8->Text1->text(), u"4"_s);
        QCOMPARE(m_rig->sent(), QByteArray("\x1E\x08\x1A"));
        auto *form6 = m_rig->open<CalibrationWindow>();
        checkTexts(form6, u"Form6|Kalibrasyon;Command1|OK;Label1|Okuyucuya bir test kağıdı koyun "
                          "ve  'OK'  butonuna basın kağıt geçtikten sonra 'Cancel' butonuna "
                          "basınız."_s);
        QVERIFY(form6->Command3->isHidden());
        form6->Command1->click();
        QVERIFY(m_rig->reader.waitForReceived(1, ReaderRig::kLimitMs));
        QCOMPARE(m_rig->sent(), QByteArray("\x3B"));
        QCOMPARE(m_rig->messages.count(), 0);
        m_rig->reader.hangUp();
        QTRY_VERIFY(!m_rig->session.line()->isOpen());
        form6->Command1->click();
        QCOMPARE(m_rig->messages.texts(), QStringList{kNotSent});
    }

    void sensorsOnceThenPolled()
    {
        m_rig->reader.withDevice([](ReaderDevice &device) {
            device.setSensor(Reader::kMiddleSensor, 1);
            device.setSensor(Reader::kButton2, 7);
        });
        auto *form9 = m_rig->open<ServiceSensorWindow>();
        checkTexts(form9, u"Form9|Sensör Kontrolü;Label1|Besleme Sensoru;Label2|Giris Sensoru;"
                          "Label3|Orta Sensor;Label4|Cikis Sensoru;Label6|Button2;Command1|"
                          "Refresh"_s);
        QTRY_COMPARE(form9->values[5]->text(), u"7"_s);
        QCOMPARE(m_rig->sent(), kSensors);
        QCOMPARE(form9->values[2]->text(), u"1"_s);
        // "Refresh" polls until the window closes; a second click meanwhile starts no second
        // loop, which would break into a pass of the first.
        m_rig->reader.clearReceived();
        int step = 0;
        QTimer script;
        connect(&script, &QTimer::timeout, form9, [&] {
            if (step == 0)
                form9->Command1->click();
            else if (form9->values[5]->text() == u"0" && m_rig->sent().size() > 3 * kSensors.size())
                form9->Command2->click(); // the new value has been shown
            m_rig->reader.withDevice(
                [](ReaderDevice &device) { device.setSensor(Reader::kButton2, 0); });
            ++step;
        });
        script.start(1);
        QPointer<ServiceSensorWindow> guard(form9);
        form9->Command1->click();
        QTRY_VERIFY(!guard);
        const QByteArray sent = m_rig->sent();
        QVERIFY(kSensors.repeated(sent.size() / kSensors.size() + 1).startsWith(sent));
        m_rig->reader.clearReceived();
        QVERIFY(!m_rig->reader.waitForReceived(1, 100)); // the polling ended with the window
        QCOMPARE(m_rig->messages.count(), 0);
    }

    void eyeLines()
    {
        m_rig->feedSheet(kSheet);
        auto *form12 = m_rig->open<ServiceEyeWindow>();
        checkTexts(form12, u"Form12|Göz Değerleri;Label49|Tm Number :;Text1|1;Command1|Next"_s);
        QVERIFY(form12->Command4->isHidden());
        QVERIFY(m_rig->reader.waitForReceived(1, ReaderRig::kLimitMs));
        QTRY_COMPARE(m_rig->sent(), kRewind);
        const auto step = [&](QPushButton *button, const QByteArray &bytes, const char *line,
                              const char *eye1, const char *eye3) {
            m_rig->reader.clearReceived();
            button->click();
            QCOMPARE(form12->values[0]->text(), QLatin1String(eye1));
            QCOMPARE(form12->values[2]->text(), QLatin1String(eye3));
            QCOMPARE(form12->Text1->text(), QLatin1String(line));
            QCOMPARE(m_rig->sent(), bytes);
        };
        // "Next" right after opening finds line 2 from the start, not line 1 under the number 2.
        step(form12->Command1, kRewind + kLine + kLine, "2", "255", "0");
        form12->Text1->setText(u"3"_s);
        step(form12->Command3, kRewind + kLine + kLine + kLine, "3", "0", "252");
        step(form12->Command1, kLine, "4", "28", "0");
        // A number that names no line is refused before a byte goes out.
        m_rig->reader.clearReceived();
        for (const char *typed : {"0", "65", "x"}) {
            form12->Text1->setText(QLatin1String(typed));
            form12->Command3->click();
        }
        form12->Text1->setText(u"64"_s);
        form12->Command1->click(); // "Next" past the last line
        QCOMPARE(m_rig->messages.texts(),
                 QStringList(4, u"\"Tm Number\" 1 ile 64 arasında bir tam sayı olmalıdır."_s));
        QCOMPARE(m_rig->sent(), QByteArray());
    }

    void machineSearch_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("label1");
        const QString silent = u"Makine bulunamadı: bu ComPort'tan cevap gelmedi."_s;
        QTest::newRow("found") << "" << u"Tamam! Makine'nin bağlı olduğu ComPort "_s;
        QTest::newRow("switched off") << "off" << silent;
        QTest::newRow("silent") << "silent" << silent;
        QTest::newRow("pulled cable")
            << "pulled" << u"Makine bulunamadı: bu ComPort ile bağlantı kurulamadı."_s;
        QTest::newRow("closed while searching") << "closed" << QString();
    }
    void machineSearch()
    {
        QFETCH(QString, fault);
        QFETCH(QString, label1);
        m_rig->reader.setSwitchedOff(fault == u"off");
        m_rig->reader.setSilent(fault == u"silent" || fault == u"closed");
        if (fault == u"pulled")
            m_rig->reader.hangUp();
        std::optional<Attention> outcome;
        auto *form13 = m_rig->show(new MachineSearchWindow(
            m_rig->session, u"2"_s,
            [this, &outcome] { return *(outcome = attentionLoop(m_rig->session.commands())); },
            &m_rig->opener));
        QPointer<MachineSearchWindow> guard(form13);
        checkTexts(form13, u"Form13|Makine Arama;Label1|Makine aranıyor"_s);
        if (fault == u"closed")
            m_rig->whileWaiting([form13] { form13->close(); });
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), ReaderRig::kLimitMs);
        QCOMPARE(*outcome == Attention::Aborted, fault == u"closed");
        if (guard) {
            QCOMPARE(form13->Label1->text(), label1);
            QCOMPARE(form13->Label2->text(), fault.isEmpty() ? u"2"_s : QString());
            form13->Command1->click();
        }
        QTRY_VERIFY(!guard);
        QCOMPARE(m_rig->messages.count(), 0);
    }

    // A silent reader or a pulled cable ends the wait with its message; a window closed while
    // it waits goes quietly.
    void readerFaults_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("messages");
        const QStringList silent{u"Optik okuyucu cevap vermedi; değerler okunamadı."_s};
        const QStringList pulled{u"Optik okuyucu ile bağlantı kesildi; değerler okunamadı."_s};
        for (const int form : {8, 9, 12}) {
            QTest::addRow("Form%d, silent", form) << form << "silent" << silent;
            QTest::addRow("Form%d, pulled", form) << form << "pulled" << pulled;
            QTest::addRow("Form%d, closed", form) << form << "closed" << QStringList();
        }
    }
    void readerFaults()
    {
        QFETCH(int, form);
        QFETCH(QString, fault);
        QFETCH(QStringList, messages);
        if (fault == u"pulled")
            m_rig->reader.hangUp();
        else
            m_rig->reader.setSilent(true);
        QWidget *window = open(form);
        QPointer<QWidget> guard(window);
        if (fault == u"closed")
            m_rig->whileWaiting([window] { window->close(); });
        if (auto *form12 = qobject_cast<ServiceEyeWindow *>(window)) {
            QTest::qWait(0); // its opening rewind
            form12->Command3->click();
        }
        QTRY_COMPARE(guard.isNull(), fault == u"closed");
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->messages.texts(), messages, ReaderRig::kLimitMs);
        QVERIFY(messages.isEmpty() ||
                m_rig->messages.shown().first().icon == MsgBox::Icon::Warning);
    }

    void loadShowsTheLine_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("handshaking");
        QTest::addColumn<QString>("options");
        QTest::newRow("console's start")
            << u"1"_s << u"38400,N,8,1"_s << 0
            << u"Baud12 ComPort_1 Data8 EchoOff NoFlow NoParity Stop1"_s;
        QTest::newRow("the other options")
            << u"4"_s << u"250000,e,7,2"_s << 3
            << u"Baud96 BothFlow ComPort_4 Data7 EchoOff EvenParity Stop2"_s;
        QTest::newRow("values not offered")
            << u"/tmp/reader"_s << u"4800,O,8,1.5"_s << 1 << u"Data8 EchoOff OddParity XonFlow"_s;
    }
    // On a line not open, so that no port of the machine is needed.
    void loadShowsTheLine()
    {
        QFETCH(QString, port);
        QFETCH(QString, settings);
        QFETCH(int, handshaking);
        SerialLine line;
        QVERIFY(line.setPortName(portNameFor(port)) && line.setSettings(settings) &&
                line.setHandshaking(handshaking));
        ConfigScrn *dialog = openConfig(line);
        QTEST(selected(dialog), "options");
        QCOMPARE(m_chosen->count() == 1 ? m_chosen->first().first().toInt() : 0, port.toInt());
        // What the options do not offer is kept as the line has it.
        QPointer<ConfigScrn> guard(dialog);
        dialog->OKButton->click();
        QTRY_VERIFY(!guard);
        QCOMPARE(line.settings(), settings.toUpper());
        QCOMPARE(line.portName(), portNameFor(port));
    }

    // On the simulated reader's link, a device that no port option names: it is kept. A choice
    // the line refuses (a port this machine lacks, parity on a pseudo-terminal) is reported and
    // leaves the line and the open dialog as they were.
    void okOrCancel_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("inMessage"); // empty: no message, the dialog closes
        QTest::newRow("cancel") << u"ComPort_3 Baud6"_s << false << u"38400,N,8,1"_s << u""_s;
        QTest::newRow("ok") << u"Baud6 Stop2 RTSFlow EchoOn"_s << true << u"19200,N,8,2"_s << u""_s;
        QTest::newRow("missing port")
            << u"ComPort_2"_s << true << u"38400,N,8,1"_s << portNameFor(u"2"_s);
        QTest::newRow("refused setting")
            << u"EvenParity"_s << true << u"38400,N,8,1"_s << u"38400,E,8,1"_s;
    }
    void okOrCancel()
    {
        QFETCH(QString, options);
        QFETCH(bool, ok);
        QFETCH(QString, inMessage);
        if (options == u"ComPort_2" && QFileInfo::exists(portNameFor(u"2"_s)))
            QSKIP("this machine has the port");
        SerialLine &line = *m_rig->session.line();
        const QString device = line.portName();
        QPointer<ConfigScrn> dialog = openConfig(line);
        QVERIFY(!selected(dialog).contains(u"ComPort"));
        for (const QString &option : options.split(u' '))
            dialog->findChild<QRadioButton *>(option)->click();
        (ok ? dialog->OKButton : dialog->CancelButton)->click();
        QTRY_COMPARE(dialog.isNull(), inMessage.isEmpty());
        QTEST(line.settings(), "settings");
        QCOMPARE(line.handshaking(), options.contains(u"RTSFlow") ? 2 : 0);
        QCOMPARE(line.portName(), device);
        if (options.startsWith(u"ComPort")) // passed on when chosen, back to none when refused
            QCOMPARE(m_chosen->first().first().toInt(), options.at(8).digitValue());
        QCOMPARE(m_rig->messages.count(), inMessage.isEmpty() ? 0 : 1);
        if (!inMessage.isEmpty()) {
            QVERIFY2(m_rig->messages.lastText().contains(inMessage),
                     qPrintable(m_rig->messages.lastText()));
            QCOMPARE(m_rig->messages.shown().first().icon, MsgBox::Icon::Warning);
            QVERIFY(!selected(dialog).contains(u"ComPort"));
        }
        QVERIFY(m_rig->session.wake()); // the reader still answers on the line
    }
};

QTEST_MAIN(TestServiceWindows)
#include "tst_servicewindows.moc"
