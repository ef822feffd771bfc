#include "designerfixture.h"
#include "helpwindow.h"
#include "messagerecorder.h"
#include "previewwindow.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

const QByteArray kSmall = "12=05=00=D=\r\n01=01=01=05=H=Y=ABCDE=X=[AD]\r\n";
const QByteArray kOther = "30=02=00=T=\r\n02=03=01=02=H=D=BA=X=\r\n03=03=01=01=H=Y=A=X=\r\n";

class TestDesignerWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u"/fmt/"_s; }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        QVERIFY(QDir().mkpath(folder()));
        TestFiles::write(folder() + u"kucuk.fmt"_s, kSmall);
        TestFiles::write(folder() + u"diger.fmt"_s, kOther);
    }

    void controlsAsNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char *name, const QString &caption, const QString &tip = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << caption << tip;
        };
        row("Label1", u"fmt adı "_s);
        row("Label2", u"Formu düz tutunuz ve siyah çizgileri sayınız.    Çizgi sayısı :"_s);
        row("Label3", u"Siyah Çizgiler :"_s);
        row("Opt1_0", u"Solda"_s);
        row("Opt1_1", u"Sağda"_s);
        row("TNOT", u"Formu siyah çizgiler sola gelecek şekilde çeviriniz."_s);
        row("Label4",
            u"Okunmasını istediğiniz her bir bilgi alanının satır ve sütun aralıklarını belirleyiniz."_s);
        row("Label5", u"Satır aralığını belirlemek için :"_s);
        row("Label6", u"Sütun aralığını belirlemek için :"_s);
        row("Label7",
            u"Yukarıdan aşağıya doğru 1'den başlayarak siyah çizgileri (TM) sayınız. Bilgi "
            "alanının üst köşesinin olduğu satır başlangıç, alt köşesinin olduğu satır "
            "bitiştir."_s);
        row("Label8",
            u"Siyah çizgilerin (TM) hemen sağından başlayarak, sağa doğru 1'den itibaren "
            "sütunları sayınız (Aradaki boş sütunlarda sayılmalıdır). Bilgi alanının en sol "
            "sütunu başlangıç, en sağ sütunu  bitiştir."_s);
        row("Label18", u"Araya satır eklemek için, eklemek istediğiniz yerde önce sol, sanra sağ "
                       "butonu tıklayınız.   Silmek için satır üzerinde çift tıklayınız."_s);
        const char *headings[] = {"Label9",  "Label10", "Label11", "Label12", "Label13",
                                  "Label14", "Label15", "Label16", "Label17", "Label19",
                                  "Label20", "Label21", "Label23"};
        const QStringList headingTexts =
            u"Sıra No|Satır|Başl.|Bitiş|Sütun|Başl.|Bitiş|Durum|Karakterler|Başlık|Kontrol "
            u"Edilecek "
            "Bilgi|Başl.|Uzunl."_s.split(u'|');
        for (int i = 0; i < 13; ++i)
            row(headings[i], headingTexts[i]);
        row("SNO", {}, u"Bilginin satırda hangi sırada yer alacağı."_s);
        row("SAT1", {}, u"Bilgi matrisinin, TM' lere göre başlangıç satırı."_s);
        row("SAT2", {}, u"Bilgi matrisinin, TM' lere göre bitiş satırı."_s);
        row("SUT1", {}, u"Bilgi matrisinin, başlangıç sütunu."_s);
        row("SUT2", {}, u"Bilgi matrisinin, bitiş sütunu."_s);
        row("DURUM", {}, u"Bilgi matrisindeki bir karakterin kodlanma şekli."_s);
        row("KARAKTER", {}, u"Formda kodlanan bilginin karşılığı."_s);
        row("BASLIK", {}, u"Okunan alanın tanımı."_s);
        row("KBILGI", {},
            u"Başına - konursa, yazılan bilgi okunduğunda, işaretsiz yazılırsa, herhangi "
            "bir karakteri varsa makine durur; = konursa yazılan bilgiyi alır."_s);
        row("CommandEKLE", {}, u"Satır Ekle"_s);
        row("CommandKAYDET", {}, u"Kaydet"_s);
        row("CommandBAK", {}, u"Optik Form Görüntüsü"_s);
        row("CommandHELP", {}, {});
    }
    void controlsAsNamed()
    {
        QFETCH(QString, name);
        DesignerUnderTest d(folder());
        QCOMPARE(d.w->objectName(), u"menu"_s);
        QCOMPARE(d.w->windowTitle(), u"OrVEL-KESA  Optik Form (fmt) Tasarımı 2.2"_s);
        QWidget *control = d.w->findChild<QWidget *>(name);
        QVERIFY(control);
        QString caption;
        if (auto *label = qobject_cast<QLabel *>(control))
            caption = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            caption = button->text();
        QTEST(caption, "caption");
        QTEST(control->toolTip(), "tip");
    }

    void enteringAndSavingADefinition()
    {
        MessageRecorder boxes;
        DesignerUnderTest d(folder());
        const QList<QWidget *> nameControls = {
            d.w->CSAY,   d.w->Opt1[0], d.w->Opt1[1],     d.w->SNO,        d.w->SAT1,
            d.w->SAT2,   d.w->SUT1,    d.w->SUT2,        d.w->DURUM,      d.w->KARAKTER,
            d.w->BASLIK, d.w->KBILGI,  d.w->CommandEKLE, d.w->CommandBAK, d.w->CommandKAYDET};
        const auto enabled = [&] {
            int count = 0;
            for (QWidget *control : nameControls)
                count += control->isEnabled() ? 1 : 0;
            return count;
        };
        QCOMPARE(enabled(), 0);
        QVERIFY(d.w->DNAME->isEnabled() && d.w->TABLO->isEnabled() &&
                d.w->CommandHELP->isEnabled());
        QCOMPARE(d.w->DNAME->count(), 2);
        QVERIFY(d.w->MTag->isHidden() && d.w->FTIP->isHidden() && d.w->File1->isHidden());
        d.name(u"yeni"_s);
        QCOMPARE(enabled(), 15);
        QCOMPARE(QApplication::focusWidget(), d.w->CSAY);
        QVERIFY(d.w->TNOT->isHidden());
        d.count(u"9"_s);
        QTest::mouseClick(d.w->Opt1[1], Qt::LeftButton);
        QCOMPARE(d.w->FTIP->text(), u"T"_s);
        QVERIFY(!d.w->TNOT->isHidden());
        QCOMPARE(d.w->KARAKTER->itemText(0), u"9876543210"_s);
        // A refused entry shows its message and puts the focus where it is to be corrected.
        d.add(u"1"_s, u"10"_s, u"1"_s, u"1"_s, true, u"9876543210"_s);
        QCOMPARE(boxes.texts(),
                 QStringList{u"Bitiş satırı, siyah çizgi sayısından büyük olamaz."_s});
        QCOMPARE(QApplication::focusWidget(), d.w->SAT2);
        QCOMPARE(d.w->TABLO->rowCount(), 0);
        d.add(u"1"_s, u"9"_s, u"1"_s, u"2"_s, true, u"876543210"_s, u"NO"_s);
        d.add(u"3"_s, u"3"_s, u"4"_s, u"7"_s, false, u"DCBA"_s, u"CVP"_s, u"-A"_s);
        d.add(u"5"_s, u"5"_s, u"4"_s, u"5"_s, false, u"BA"_s);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(d.w->TABLO->rowCount(), 3);
        QCOMPARE(d.w->SAT1->text(), QString());
        QCOMPARE(d.w->MTag->rowCount(), 9);
        QCOMPARE(d.w->MTag->item(2, 6)->text(), u"(Sıra No : 2 )  CVP"_s);
        // A left click selects a row into the entry line, a number beyond the rows empties it.
        d.onRow(1, Qt::LeftButton);
        QCOMPARE(d.w->SNO->text(), u"2"_s);
        QCOMPARE(d.w->KARAKTER->currentText(), u"DCBA"_s);
        QCOMPARE(d.w->KBILGI->text(), u"-A"_s);
        d.w->SNO->setText(u"4"_s);
        QCOMPARE(d.w->SNO->text(), QString());
        QCOMPARE(d.w->KARAKTER->currentText(), QString());
        // A right click inserts an empty row at the selected one, a double click deletes a row.
        d.onRow(1, Qt::LeftButton);
        d.onRow(1, Qt::RightButton);
        QCOMPARE(d.w->TABLO->rowCount(), 4);
        QCOMPARE(d.cell(1, 1), QString());
        d.onRow(0, Qt::LeftButton, true);
        QCOMPARE(d.w->TABLO->rowCount(), 3);
        QCOMPARE(d.cell(1, 7), u"CVP"_s);
        // The visual designer changes the same model: the grid shows it at once.
        d.w->model().addOrReplace(0, {u"8"_s, u"8"_s, u"1"_s, u"1"_s, u"Y"_s, u"A"_s, {}, {}});
        QCOMPARE(d.cell(3, 1), u"8"_s);
        QSignalSpy saved(d.w, &DesignerWindow::fileSaved);
        d.save();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.first().first().toString(), u"yeni.fmt"_s);
        QCOMPARE(TestFiles::read(folder() + u"yeni.fmt"_s),
                 QByteArray("09=07=00=T=\r\n"
                            "03=03=04=07=H=Y=DCBA=X=[CVP](-A)\r\n"
                            "05=05=04=05=H=Y=BA=X=\r\n"
                            "08=08=01=01=H=Y=A=X=\r\n"));
        QVERIFY(!d.w->model().isModified());
        QCOMPARE(d.w->DNAME->findText(u"yeni"_s), 2);
        // Emptying the name box without changes asks nothing and leaves an empty window.
        d.name(QString());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(enabled(), 0);
        QCOMPARE(d.w->TABLO->rowCount(), 0);
        QVERIFY(d.w->Opt1[0]->isChecked());
        QCOMPARE(QApplication::focusWidget(), d.w->DNAME);
    }

    void listClickLoadsAtOnceTypingOnLeaving()
    {
        DesignerUnderTest d(folder());
        d.w->DNAME->setFocus();
        const int index = d.w->DNAME->findText(u"diger"_s);
        d.w->DNAME->setCurrentIndex(index);
        emit d.w->DNAME->activated(index);
        QCOMPARE(d.w->fmtPath(), folder() + u"diger.fmt"_s);
        QCOMPARE(d.w->CSAY->text(), u"30"_s);
        QCOMPARE(d.w->TABLO->rowCount(), 2);
        QVERIFY(d.w->Opt1[1]->isChecked());
        QCOMPARE(d.w->MTag->rowCount(), 30);
        QCOMPARE(d.w->MTag->item(2, 0)->text(), u"(Sıra No : 2 )  "_s);
        // Typing a name loads nothing until the box is left.
        d.w->DNAME->setFocus();
        d.w->DNAME->setEditText(u"kucuk"_s);
        QCOMPARE(d.w->TABLO->rowCount(), 2);
        d.w->TABLO->setFocus(Qt::MouseFocusReason);
        QCOMPARE(d.w->CSAY->text(), u"12"_s);
        QCOMPARE(d.cell(0, 7), u"AD"_s);
        QVERIFY(d.w->Opt1[0]->isChecked());
    }

    void unsavedWorkIsAskedFor_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closing");
        QTest::newRow("Yes saves, then the other loads") << int(MsgBox::Answer::Yes) << false;
        QTest::newRow("No drops the change") << int(MsgBox::Answer::No) << false;
        QTest::newRow("Cancel stays") << int(MsgBox::Answer::Cancel) << false;
        QTest::newRow("closing, Yes") << int(MsgBox::Answer::Yes) << true;
        QTest::newRow("closing, Cancel") << int(MsgBox::Answer::Cancel) << true;
    }
    void unsavedWorkIsAskedFor()
    {
        QFETCH(int, answer);
        QFETCH(bool, closing);
        MessageRecorder boxes;
        DesignerUnderTest d(folder());
        d.name(u"kucuk"_s);
        d.add(u"2"_s, u"2"_s, u"1"_s, u"1"_s, false, u"X"_s);
        boxes.queueAnswer(MsgBox::Answer(answer));
        if (closing)
            d.w->close();
        else
            d.name(u"diger"_s);
        QCOMPARE(
            boxes.texts(),
            QStringList{u"kucuk.fmt' deki bilgi değiştirildi.\nDeğişikliler kayıt edilsin mi?"_s});
        QCOMPARE(boxes.shown().first().buttons, MsgBox::Buttons::YesNoCancel);
        const bool yes = answer == int(MsgBox::Answer::Yes);
        const bool cancel = answer == int(MsgBox::Answer::Cancel);
        QCOMPARE(TestFiles::read(folder() + u"kucuk.fmt"_s),
                 yes ? kSmall + "02=02=01=01=H=Y=X=X=\r\n" : kSmall);
        QTRY_COMPARE(d.w.isNull(), closing && !cancel);
        if (d.w) {
            QCOMPARE(d.w->DNAME->currentText(), cancel ? u"kucuk"_s : u"diger"_s);
            QCOMPARE(d.w->TABLO->rowCount(), 2);
            QCOMPARE(d.w->model().isModified(), cancel);
        }
    }

    void refusedNamesCountsAndFiles()
    {
        MessageRecorder boxes;
        const QByteArray big =
            "99=01=00=D=\r\n" + QByteArray("01=01=01=01=H=Y=A=X=\r\n").repeated(1001);
        TestFiles::write(folder() + u"buyuk.fmt"_s, big);
        DesignerUnderTest d(folder());
        d.name(u"../disari"_s);
        QCOMPARE(boxes.lastText(), u"fmt adında \"/\" karakteri kullanılamaz."_s);
        QCOMPARE(d.w->DNAME->currentText(), QString());
        QVERIFY(!d.w->CSAY->isEnabled());
        d.name(u"nul"_s);
        QCOMPARE(boxes.lastText(), u"nul bir aygıt adıdır; fmt adı olarak kullanılamaz."_s);
        d.name(u"buyuk"_s);
        QCOMPARE(
            boxes.lastText(),
            u"FMT dosyasında 1001 alan satırı var; tasarımda en çok 1000 alan satırı tutulabilir."_s);
        QVERIFY(!d.w->CommandKAYDET->isEnabled());
        QCOMPARE(TestFiles::read(folder() + u"buyuk.fmt"_s), big);
        // The station would refuse a file without a two-digit count or with a line it cannot take.
        TestFiles::write(folder() + u"bozuk.fmt"_s, "40=05=00=D=\r\n01=02=01=01=H=D=A=X=\r\n");
        d.name(u"bozuk"_s);
        d.count(u"100"_s);
        d.save();
        QCOMPARE(boxes.lastText(), u"Çizgi sayısı 1 ile 99 arasında tam sayı olmalıdır."_s);
        QCOMPARE(QApplication::focusWidget(), d.w->CSAY);
        d.count(u"40"_s);
        d.save();
        QCOMPARE(boxes.lastText(), u"Sıra No 1 hatalı; fmt dosyası kaydedilmedi."_s);
        QCOMPARE(d.w->SNO->text(), u"1"_s);
        QCOMPARE(d.w->KARAKTER->currentText(), u"A"_s);
        QCOMPARE(TestFiles::read(folder() + u"bozuk.fmt"_s),
                 QByteArray("40=05=00=D=\r\n01=02=01=01=H=D=A=X=\r\n"));
        QCOMPARE(boxes.count(), 5);
    }

    void failedSaveLeavesTheOldFile()
    {
        MessageRecorder boxes;
        DesignerUnderTest d(folder());
        d.name(u"kucuk"_s);
        d.add(u"2"_s, u"2"_s, u"1"_s, u"1"_s, false, u"X"_s);
        // Nobody but the owner writes in the folder.
        const auto enter = QFile::ReadOther | QFile::ExeOther;
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        const bool root = geteuid() == 0;
        QVERIFY(QFile::setPermissions(m_dir.path(), owner | enter));
        QVERIFY(QFile::setPermissions(folder(),
                                      root ? owner | enter : QFile::ReadOwner | QFile::ExeOwner));
        // Run as root, the save is made as an ordinary user, whom permissions bind.
        const passwd *nobody = root ? getpwnam("nobody") : nullptr;
        if (root && !(nobody && seteuid(nobody->pw_uid) == 0))
            QSKIP("cannot act as an ordinary user");
        d.save();
        if (root && seteuid(0) != 0)
            qFatal("cannot return to root");
        QVERIFY(QFile::setPermissions(folder(), owner));
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.lastText().startsWith(u"FMT dosyası kaydedilemedi: "_s + folder()),
                 qPrintable(boxes.lastText()));
        QCOMPARE(TestFiles::read(folder() + u"kucuk.fmt"_s), kSmall);
        QVERIFY(d.w->model().isModified());
    }

    void previewAndHelp()
    {
        DesignerUnderTest d(folder());
        d.name(u"yeni"_s);
        QSignalSpy preview(d.w, &DesignerWindow::previewRequested);
        d.w->SAT1->setFocus();
        QTest::mouseClick(d.w->CommandBAK, Qt::LeftButton);
        QCOMPARE(preview.size(), 0);
        QCOMPARE(QApplication::focusWidget(), d.w->CSAY);
        d.count(u"5"_s);
        QTest::mouseClick(d.w->CommandBAK, Qt::LeftButton);
        QCOMPARE(preview.size(), 1);
        QVERIFY(!d.w->isEnabled());
        QVERIFY(d.w->preview()->isVisible());
        d.w->preview()->close();
        QVERIFY(d.w->isEnabled());
        QCOMPARE(QApplication::focusWidget(), d.w->CSAY);
        QTest::mouseClick(d.w->CommandHELP, Qt::LeftButton);
        QTest::mouseClick(d.w->CommandHELP, Qt::LeftButton);
        const QList<HelpWindow *> helps = d.w->findChildren<HelpWindow *>();
        QCOMPARE(helps.size(), 1);
        HelpWindow *help = helps.first();
        QVERIFY(help->isVisible());
        QCOMPARE(help->objectName(), u"helpf"_s);
        QCOMPARE(help->windowTitle(), u"Optik Form (fmt) Tasarımı"_s);
        QVERIFY(help->Text1->isReadOnly());
        const QStringList lines = help->Text1->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 31); // thirty lines, each ended
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines[10], u"1.BÖLÜM : Yazarak tanımlama "_s);
        QCOMPARE(lines[18], u"2.BÖLÜM : Görsel tanımlama "_s);
        QCOMPARE(lines[29],
                 u"NOT: Yapılanların geçerli olması için, kayıt etme unutulmamalıdır."_s);
        QTest::keyClicks(help->Text1, u"x"_s);
        QCOMPARE(help->Text1->toPlainText().split(u'\n'), lines);
    }
};

QTEST_MAIN(TestDesignerWindow)
#include "tst_designerwindow.moc"
