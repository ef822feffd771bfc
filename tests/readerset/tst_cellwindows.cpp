#include "readerrig.h"
#include "readervalueswindow.h"
#include "sensortimeswindow.h"
#include "twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

using Look = ReaderWindow::Look;

QByteArray reads(int first, int last)
{
    QByteArray bytes;
    for (int cell = first; cell <= last; ++cell)
        bytes += QByteArray("\x08") + char(cell);
    return bytes;
}

QByteArray write(int cell, int first, int second)
{
    return QByteArray("\x07") + char(cell) + char(first) + char(second);
}

void fill(QWidget *window, const QStringList &namesAndValues)
{
    for (const QString &pair : namesAndValues) {
        const QStringList parts = pair.split(u'=');
        window->findChild<QLineEdit *>(parts[0])->setText(parts[1]);
    }
}

const QString kDone = QStringLiteral("İşlem tamamlandı");

} // namespace

class TestCellWindows : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_rig = new ReaderRig;
        QVERIFY(m_rig->start());
    }

    void cleanup() { delete m_rig; }

    void readerValuesBytesAndReadBack()
    {
        auto *form4 = m_rig->open<ReaderValuesWindow>(Look::Station);
        QVERIFY(m_rig->reader.waitForReceived(56, ReaderRig::kLimitMs));
        QCOMPARE(m_rig->sent(), reads(1, 28));
        QTRY_COMPARE(form4->Text8->text(), QStringLiteral("140")); // the factory marking limit
        m_rig->reader.clearReceived();
        form4->Command3->click();
        QTRY_COMPARE(m_rig->messages.texts(), QStringList{kDone});
        QCOMPARE(m_rig->sent(), reads(1, 26));
        fill(form4, {"Text3=255", "Text4=0", "Text5=3", "Text6= 4", "Text7=5", "Text8=6", "Text9=7",
                     "Text26=8", "Text28=009", "Text1=10", "Text2=11"});
        m_rig->reader.clearReceived();
        m_rig->messages.clear();
        form4->Command4->click();
        QCOMPARE(m_rig->messages.texts(), QStringList{kDone});
        QCOMPARE(m_rig->sent(), write(2, 255, 0) + write(3, 3, 4) + write(4, 5, 6) +
                                    write(5, 7, 7) + write(13, 0, 8) + write(26, 9, 9) +
                                    write(12, 10, 11));
        form4->close();
        form4 = m_rig->open<ReaderValuesWindow>(Look::Station);
        QTRY_COMPARE(form4->Text2->text(), QStringLiteral("11"));
        QStringList shown;
        for (const QLineEdit *box :
             {form4->Text3, form4->Text4, form4->Text5, form4->Text6, form4->Text7, form4->Text8,
              form4->Text9, form4->Text26, form4->Text28, form4->Text1})
            shown << box->text();
        QCOMPARE(shown, QString("255 0 3 4 5 6 7 8 9 10").split(u' '));
    }

    void sensorTimesBytesAndReadBack()
    {
        auto *form2 = openLoaded<SensorTimesWindow>(Look::Station, 52);
        QVERIFY(form2);
        QCOMPARE(m_rig->sent(), reads(1, 26));
        QTRY_COMPARE(form2->boxes[11]->text(), QStringLiteral("50")); // cell 11, second byte
        QStringList values;
        for (int i = 0; i < 12; ++i) {
            form2->boxes[i]->setText(QString::number(100 + i));
            values.append(QString::number(100 + i));
        }
        m_rig->reader.clearReceived();
        form2->Command1->click();
        QCOMPARE(m_rig->messages.texts(),
                 QStringList{QStringLiteral("YENİ DEĞERLER OPTİK OKUYUCUYA KAYDEDİLDİ")});
        QByteArray writes;
        for (int cell = 6; cell <= 11; ++cell)
            writes += write(cell, 100 + (cell - 6) * 2, 101 + (cell - 6) * 2);
        QCOMPARE(m_rig->sent(), writes);
        form2->close();
        form2 = openLoaded<SensorTimesWindow>(Look::Service, 52);
        QVERIFY(form2);
        QTRY_COMPARE(form2->boxes[11]->text(), QStringLiteral("111"));
        QStringList shown;
        for (const QLineEdit *box : std::as_const(form2->boxes))
            shown.append(box->text());
        QCOMPARE(shown, values);
    }

    void badBoxIsRefusedWithNothingSent_data()
    {
        QTest::addColumn<bool>("sensorTimes");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString form4 =
            QStringLiteral("\"%1\" değeri 0 ile 255 arasında bir tam sayı olmalıdır. "
                           "Okuyucuya hiçbir değer yazılmadı.");
        QTest::newRow("above a byte")
            << false << u"Text8"_s << u"256"_s << form4.arg("Desimal Alt Limit");
        QTest::newRow("negative") << false << u"Text2"_s << u"-1"_s << form4.arg("Tm Zamanı");
        QTest::newRow("empty") << false << u"Text3"_s << u""_s << form4.arg("Besleme Motor Hızı");
        QTest::newRow("trailing letters")
            << false << u"Text6"_s << u"12a"_s << form4.arg("Baslama Puls  Zamanı");
        QTest::newRow("sensor times, middle of a row")
            << true << u"Text5"_s << u"300"_s
            << u"\"Giriş sensor ile orta sensor arasında geçen zaman\" satırındaki 2. değer 0 ile "
               u"255 "
               "arasında bir tam sayı olmalıdır. Okuyucuya hiçbir değer yazılmadı."_s;
    }
    void badBoxIsRefusedWithNothingSent()
    {
        QFETCH(bool, sensorTimes);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QWidget *window =
            sensorTimes ? static_cast<QWidget *>(openLoaded<SensorTimesWindow>(Look::Station, 52))
                        : openLoaded<ReaderValuesWindow>(Look::Station, 56);
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *bad = window->findChild<QLineEdit *>(box);
        bad->setText(text);
        m_rig->reader.clearReceived();
        window->findChild<QPushButton *>(sensorTimes ? "Command1" : "Command4")->click();
        QCOMPARE(m_rig->messages.texts(), QStringList{message});
        QCOMPARE(m_rig->sent(), QByteArray());
        QTRY_VERIFY(bad->hasFocus());
    }

    void looks_data()
    {
        QTest::addColumn<bool>("sensorTimes");
        QTest::addColumn<Look>("look");
        QTest::addColumn<QStringList>("controls"); // name|caption|tooltip
        QTest::addColumn<QString>("reminder");
        QTest::newRow("Form4, station")
            << false << Look::Station
            << QStringList{
                   "Form4|Kalibrasyon Değerleri|",
                   "Text3|255|Kağıt alıcı motorun hızı",
                   "Label1_4|Baslama Puls  Zamanı|",
                   "Label1_8|Desimal Üst Limit|",
                   "Text26|0|Bu değeri geçen işaretler çift kabul edilir (* kabul edilir)",
                   "Label2|Tm Zamanı|",
                   "Command3|Okuyucudan Yükle|Okuyucunun hafızasındaki değerleri okuyup görüntüler",
                   "Command4|Okuyucuya yaz|Bu değerleri okuyucunun hafızasına kayıt eder",
                   "Command2|Çıkış|Bu programdan çıkış",
               }
            << "OPTİK OKYUCUNUZU RESET YAPMAYI UNUTMAYINIZ";
        QTest::newRow("Form4, service console")
            << false << Look::Service
            << QStringList{"Form4|Kalibrasyon Değerleri|", "Text3|255|", "Command3|Tazele|",
                           "Command4|Güncelle|", "Command2|Cancel|"}
            << "";
        QTest::newRow("Form2, station")
            << true << Look::Station
            << QStringList{
                   "Form2|SENSÖR ZAMANLARI|",
                   "Label1|Besleme motoru ve giriş sensoru arasındaki zaman|",
                   "Label7|Tm  ile cikis sensor arasinda gecen zaman|",
                   "Command4|Okuyucudan Yükle|Okuyucunun hafızasındaki değerleri getirir",
                   "Command1|Okuyucuya Yaz|Bu değerleri Okuyucunun hafızasına yazar",
                   "Command5|Çıkış|Bu programdan çıkış",
               }
            << "OPTİK OKUYUCUNUZU RESET YAPMAYI UNUTMAYINIZ";
        QTest::newRow("Form2, service console")
            << true << Look::Service
            << QStringList{"Form2|Sensör Zamanları|", "Command4|Tazele|", "Command1|Güncelle|",
                           "Command5|Cancel|"}
            << "";
    }
    void looks()
    {
        QFETCH(bool, sensorTimes);
        QFETCH(Look, look);
        QFETCH(QStringList, controls);
        QFETCH(QString, reminder);
        m_rig->reader.setSilent(true); // the design values stay in the boxes
        QWidget *window = sensorTimes
                              ? static_cast<QWidget *>(
                                    new SensorTimesWindow(m_rig->session, &m_rig->opener, look))
                              : new ReaderValuesWindow(m_rig->session, &m_rig->opener, look);
        checkControls(window, controls);
        if (QTest::currentTestFailed())
            return;
        if (look == Look::Service) // no tooltip anywhere
            for (const QWidget *widget : window->findChildren<QWidget *>())
                QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
        if (sensorTimes) // the boxes' colour goes by their column: Text8 is in the second
            QCOMPARE(backgroundOf(window->findChild<QLineEdit *>("Text8")), colorFromBgr(0x80C0FF));
        QPointer<QWidget> guard(window);
        window->show();
        window->findChild<QPushButton *>(sensorTimes ? "Command5" : "Command2")->click();
        QCOMPARE(m_rig->messages.texts(),
                 reminder.isEmpty() ? QStringList() : QStringList{reminder});
        QTRY_VERIFY(!guard);
    }

    void readerFaults_data()
    {
        QTest::addColumn<bool>("pulled");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent reader, reading")
            << false << false << "Optik okuyucu cevap vermedi; değerler okunamadı.";
        QTest::newRow("silent reader, writing")
            << false << true
            << "Optik okuyucu cevap vermedi; yeni değerler okuyucuya tam olarak yazılamadı.";
        QTest::newRow("pulled cable, reading")
            << true << false << "Optik okuyucu ile bağlantı kesildi; değerler okunamadı.";
        QTest::newRow("pulled cable, writing")
            << true << true
            << "Optik okuyucu ile bağlantı kesildi; yeni değerler okuyucuya tam olarak yazılamadı.";
    }
    void readerFaults()
    {
        QFETCH(bool, pulled);
        QFETCH(bool, writing);
        QFETCH(QString, message);
        auto *form4 = openLoaded<ReaderValuesWindow>(Look::Station, 56);
        QVERIFY(form4);
        QTRY_COMPARE(form4->Text8->text(), QStringLiteral("140"));
        form4->Text8->setText(QStringLiteral("77"));
        if (pulled)
            m_rig->reader.hangUp();
        else
            m_rig->reader.setSilent(true);
        (writing ? form4->Command4 : form4->Command3)->click();
        // The operation ends with the message, never with the word that it was done.
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->messages.texts(), QStringList{message},
                                  ReaderRig::kLimitMs);
        // A failed read leaves the boxes as they were, not half zeros.
        QCOMPARE(form4->Text8->text(), QStringLiteral("77"));
        QCOMPARE(form4->Text3->text(), QStringLiteral("255"));
        // Still usable once the reader is back.
        QTRY_VERIFY(!pulled || !m_rig->session.line()->isOpen());
        if (pulled)
            QVERIFY(m_rig->reader.comeBack());
        else
            m_rig->reader.setSilent(false);
        m_rig->messages.clear();
        m_rig->reader.clearReceived();
        form4->Command4->click();
        QCOMPARE(m_rig->messages.texts(), QStringList{kDone});
        QCOMPARE(m_rig->sent().size(), 28);
        QCOMPARE(
            m_rig->reader.withDevice([](ReaderDevice &device) { return device.cellSecond(4); }),
            77);
    }

    void closedMidWait_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("closed") << false;
        QTest::newRow("deleted") << true;
    }
    void closedMidWait()
    {
        QFETCH(bool, deleted);
        // A long limit: the window must end its wait when it goes, not when the limit runs out.
        QVERIFY(ReaderRig::restart(m_rig, 60000, 20));
        m_rig->session.startHeartbeat();
        m_rig->reader.setSilent(true);
        QPointer<ReaderValuesWindow> form4 = m_rig->open<ReaderValuesWindow>(Look::Station);
        bool gone = false;
        bool waitWentOn = false;
        m_rig->whileWaiting([&] {
            gone = true;
            // Runs in the wait's own loop only if the wait goes on after the window went.
            QTimer::singleShot(0, &m_rig->opener, [&] {
                waitWentOn = m_rig->session.isBusy();
                if (waitWentOn)
                    m_rig->session.line()->abortWaits();
            });
            if (deleted) {
                delete form4.data();
            } else {
                // Kept alive, so that only the closing can have ended the wait.
                form4->setAttribute(Qt::WA_DeleteOnClose, false);
                form4->close();
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(gone && !m_rig->session.isBusy(), ReaderRig::kLimitMs);
        QVERIFY(!waitWentOn);
        QCOMPARE(form4.isNull(), deleted);
        QCOMPARE(m_rig->messages.count(), 0);
        QVERIFY(m_rig->reader.waitForReceived(2, ReaderRig::kLimitMs));
        QCOMPARE(m_rig->sent().left(2), reads(1, 1));
        QVERIFY(!m_rig->session.heartbeatPaused());
        if (!deleted)
            QTRY_VERIFY(m_rig->opener.hasFocus());
    }

private:
    template <typename Window> Window *openLoaded(Look look, int bytes)
    {
        auto *window = m_rig->open<Window>(look);
        if (!m_rig->reader.waitForReceived(bytes, ReaderRig::kLimitMs))
            return nullptr;
        QTest::qWait(0); // the last reply is handled on the next turn of the loop
        return window;
    }

    ReaderRig *m_rig = nullptr;
};

QTEST_MAIN(TestCellWindows)
#include "tst_cellwindows.moc"
