// The serial settings dialog over the console's serial line: what it shows of the line, what it
// applies, and what it does when the line refuses a choice.
#include "configscrn.h"
#include "readerrig.h"
#include "settingsfile.h"

#include <QFileInfo>
#include <QRadioButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestConfigScrn : public QObject
{
    Q_OBJECT

    ReaderRig *m_rig = nullptr;
    std::unique_ptr<QSignalSpy> m_chosen; // the port numbers passed on to the console

    ConfigScrn *open(SerialLine &line)
    {
        auto *dialog = new ConfigScrn(line, &m_rig->opener);
        m_chosen = std::make_unique<QSignalSpy>(dialog, &ConfigScrn::portChosen);
        dialog->show();
        return dialog;
    }
    static QStringList selected(const ConfigScrn *dialog)
    {
        QStringList names;
        for (const QRadioButton *option : dialog->findChildren<QRadioButton *>())
            if (option->isChecked())
                names.append(option->objectName());
        names.sort();
        return names;
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

    void loadShowsTheLine_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("handshaking");
        QTest::addColumn<QString>("options");
        QTest::newRow("console's start")
            << "1"
            << "38400,N,8,1" << 0 << "Baud12 ComPort_1 Data8 EchoOff NoFlow NoParity Stop1";
        QTest::newRow("the other options")
            << "4"
            << "250000,e,7,2" << 3 << "Baud96 BothFlow ComPort_4 Data7 EchoOff EvenParity Stop2";
        QTest::newRow("values not offered")
            << "/tmp/reader"
            << "4800,O,8,1.5" << 1 << "Data8 EchoOff OddParity XonFlow";
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
        ConfigScrn *dialog = open(line);
        QTEST(selected(dialog).join(u' '), "options");
        QCOMPARE(m_chosen->count() == 1 ? m_chosen->first().first().toInt() : 0, port.toInt());

        // What the options do not offer is kept as the line has it.
        QPointer<ConfigScrn> guard(dialog);
        dialog->OKButton->click();
        QTRY_VERIFY(!guard);
        QCOMPARE(line.settings(), settings.toUpper());
        QCOMPARE(line.portName(), portNameFor(port));
    }

    void okAppliesCancelDoesNot()
    {
        SerialLine &line = *m_rig->session.line();
        const QString device = line.portName();
        ConfigScrn *dialog = open(line);
        QCOMPARE(m_chosen->count(), 0); // the simulated reader's link is no numbered port

        // Cancel: nothing reaches the line, though the chosen port number was passed on.
        dialog->ComPort[2]->click();
        dialog->Baud6->click();
        QCOMPARE(m_chosen->takeFirst().first().toInt(), 3);
        QPointer<ConfigScrn> guard(dialog);
        dialog->CancelButton->click();
        QTRY_VERIFY(!guard);
        QCOMPARE(line.settings(), u"38400,N,8,1");
        QCOMPARE(line.portName(), device);

        // OK without a port chosen keeps the device and applies the rest to the open line.
        guard = dialog = open(line);
        for (QRadioButton *option : {dialog->Baud6, dialog->Stop2, dialog->RTSFlow, dialog->EchoOn})
            option->click();
        dialog->OKButton->click();
        QTRY_VERIFY(!guard);
        QCOMPARE(line.settings(), u"19200,N,8,2");
        QCOMPARE(line.handshaking(), 2);
        QCOMPARE(line.portName(), device);
        QCOMPARE(m_rig->messages.count(), 0);
        QVERIFY(m_rig->session.wake()); // the reader still answers on it
    }

    // The numbered port names a device this machine lacks; the pseudo-terminal takes no parity.
    void refusedChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("inMessage");
        QTest::newRow("missing port") << "ComPort_2" << portNameFor(u"2"_s);
        QTest::newRow("refused setting") << "EvenParity"
                                         << "38400,E,8,1";
    }
    void refusedChoice()
    {
        QFETCH(QString, option);
        QFETCH(QString, inMessage);
        if (option == u"ComPort_2" && QFileInfo::exists(portNameFor(u"2"_s)))
            QSKIP("this machine has the port");
        SerialLine &line = *m_rig->session.line();
        const QString device = line.portName();
        ConfigScrn *dialog = open(line);
        dialog->findChild<QRadioButton *>(option)->click();
        dialog->OKButton->click();

        QCOMPARE(m_rig->messages.count(), 1);
        QVERIFY2(m_rig->messages.lastText().contains(inMessage),
                 qPrintable(m_rig->messages.lastText()));
        QCOMPARE(m_rig->messages.shown().first().icon, MsgBox::Icon::Warning);
        QVERIFY(dialog->isVisible());
        QCOMPARE(line.portName(), device);
        QCOMPARE(line.settings(), u"38400,N,8,1");
        // The old port is shown again: the device that no option names.
        QVERIFY(!selected(dialog).join(u' ').contains(u"ComPort"));
        QVERIFY(m_rig->session.wake());
    }
};

QTEST_MAIN(TestConfigScrn)
#include "tst_configscrn.moc"
