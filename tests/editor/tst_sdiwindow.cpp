#include "editorfixture.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

const QString kPrefix = u"ORVEL- NOT DEFTERİ - "_s;

class TestSdiWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The editor's start folder, where an untitled document is offered to be saved.
        qputenv("OMR_HOME", m_dir.path().toLocal8Bit());
        // The recent-file list goes to a store of the test's own, never the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("settings"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
    }

    void init() { QSettings(QSettings::UserScope, u"NotDefteri"_s).clear(); }

    void sizeLimit_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("65000 bytes open") << 65000;
        QTest::newRow("65001 bytes are refused") << 65001;
    }
    void sizeLimit()
    {
        QFETCH(int, size);
        EditorUnderTest editor;
        const QString file = TestFiles::write(path("big.dat"), QByteArray(size, 'A'));
        editor.open(file);
        const bool opens = size <= 65000;
        QCOMPARE(editor.boxes.texts(),
                 opens ? QStringList() : QStringList{"Dosya açılamayacak kadar büyük"});
        QCOMPARE(editor.note()->toPlainText().size(), opens ? size : 0);
        QCOMPARE(editor.window.windowTitle(), kPrefix + (opens ? file.toUpper() : "BAŞLIKSIZ"));
        QCOMPARE(editor.action("mnuRecentFile_1")->isVisible(), opens);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("deleteAt"); // where the Delete key is pressed, or -1
        QTest::addColumn<int>("selected");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const QByteArray &bytes, int deleteAt, int selected,
                            const QByteArray &saved, const QString &shown) {
            QTest::newRow(name) << bytes << deleteAt << selected << saved << shown;
        };
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            if (b != '\r' && b != '\n')
                every.append(char(b));
        row("every byte value", every + "\r\n", -1, 0, every + "\r\n", u"üışÿ"_s);
        const QByteArray mixed("a\r\nb\nc\rd\r\n\r\n\r\n");
        row("mixed, lone CR, blank lines", mixed, -1, 0, mixed, u"b\nc\nd\n\n"_s);
        row("no final line end", "a\r\nb", -1, 0, "a\r\nb\r\n", u"a\nb"_s);
        row("empty file", "", -1, 0, "", QString());
        const QByteArray lines("AB\r\nCD\r\nEF\r\n");
        row("delete before a line end", lines, 2, 0, "ABCD\r\nEF\r\n", u"ABCD"_s);
        row("delete a selection over a line end", lines, 1, 3, "AD\r\nEF\r\n", u"AD\nEF"_s);
        row("delete at the very end", lines, 8, 0, lines, u"AB\nCD\nEF"_s);
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, deleteAt);
        QFETCH(int, selected);
        QFETCH(QString, shown);
        EditorUnderTest editor;
        const QString file = TestFiles::write(path("form.fmt"), bytes);
        editor.open(file);
        QVERIFY(!editor.window.isDirty());
        if (deleteAt >= 0) {
            editor.putCaret(deleteAt, selected);
            editor.trigger("mnuEditDelete");
        }
        QVERIFY(editor.note()->toPlainText().contains(shown));
        editor.trigger("mnuFileSave");
        QCOMPARE(editor.boxes.count(), 0);
        QTEST(TestFiles::read(file), "saved");
        QVERIFY(!editor.window.isDirty());
        QCOMPARE(editor.window.windowTitle(), kPrefix + file);
    }

    void recentFiles()
    {
        QStringList files;
        for (int i = 1; i <= 5; ++i)
            files.append(TestFiles::write(path(u"f%1.dat"_s.arg(i)), QByteArray::number(i)));
        const QStringList newestFour = {files[4], files[3], files[2], files[1]};
        {
            EditorUnderTest editor;
            for (const QString &file : files)
                editor.open(file);
            // Re-opening a listed file leaves the order alone.
            editor.open(files[2]);
        }
        // A new window shows the stored list, newest first; choosing an entry opens it.
        EditorUnderTest editor;
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(editor.action(qPrintable(u"mnuRecentFile_%1"_s.arg(i)))->text(),
                     newestFour[i - 1]);
        QVERIFY(!editor.action("mnuRecentFile_5")->isVisible());
        editor.trigger("mnuRecentFile_3");
        QCOMPARE(editor.note()->toPlainText(), u"3"_s);
        QCOMPARE(editor.window.filePath(), files[2]);
        QCOMPARE(editor.boxes.count(), 0);
        // Unsaved work is saved before an entry is tried; a missing file is only reported.
        QFile::remove(files[4]);
        QTest::keyClicks(editor.note(), "!");
        editor.trigger("mnuRecentFile_1");
        QCOMPARE(TestFiles::read(files[2]), QByteArray("!3\r\n"));
        QCOMPARE(editor.boxes.texts(), QStringList{u"Dosya açılamıyor : "_s + files[4]});
        QCOMPARE(editor.note()->toPlainText(), u"!3"_s);
        QCOMPARE(editor.window.filePath(), files[2]);
    }

    void close_data()
    {
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<MsgBox::Answer>("answer");
        QTest::addColumn<QString>("dialogReply");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QByteArray>("fileAfter");
        const auto row = [](const char *name, bool untitled, MsgBox::Answer answer,
                            const QString &reply, bool closes, const QByteArray &after) {
            QTest::newRow(name) << untitled << answer << reply << closes << after;
        };
        row("named, Yes", false, MsgBox::Answer::Yes, {}, true, "Xveri\r\n");
        row("named, No", false, MsgBox::Answer::No, {}, true, "veri\r\n");
        row("named, Cancel", false, MsgBox::Answer::Cancel, {}, false, "veri\r\n");
        row("untitled, Yes, named", true, MsgBox::Answer::Yes, path("yeni.txt"), true, "X\r\n");
        row("untitled, Yes, dialog cancelled", true, MsgBox::Answer::Yes, {}, false, "<missing>");
    }
    void close()
    {
        QFETCH(bool, untitled);
        QFETCH(MsgBox::Answer, answer);
        QFETCH(QString, dialogReply);
        QFETCH(bool, closes);
        EditorUnderTest editor;
        editor.boxes.queueAnswer(answer);
        QFile::remove(path("yeni.txt"));
        const QString target =
            untitled ? path("yeni.txt") : TestFiles::write(path("kapat.dat"), "veri\r\n");
        if (!untitled)
            editor.open(target);
        editor.saveReplies.append(dialogReply);
        editor.window.show();
        QTest::keyClicks(editor.note(), "X");
        const QString caption = editor.window.windowTitle();
        editor.trigger("mnuFileExit");
        QCOMPARE(editor.boxes.texts(),
                 QStringList{caption.mid(kPrefix.size()) +
                             u"' deki bilgi değiştirildi.\nDeğişikliler kayıt edilsin mi?"_s});
        QCOMPARE(editor.boxes.shown().first().buttons, MsgBox::Buttons::YesNoCancel);
        QCOMPARE(editor.offeredSaveNames,
                 untitled ? QStringList{path("BASLIKSIZ.txt")} : QStringList());
        QCOMPARE(editor.window.isVisible(), !closes);
        QCOMPARE(editor.window.isDirty(), !closes);
        QCOMPARE(editor.window.windowTitle(), closes ? kPrefix + "BAŞLIKSIZ" : caption);
        QTEST(TestFiles::read(target), "fileAfter");
    }

    void unsavedWorkStopsNewAndOpen()
    {
        EditorUnderTest editor;
        QTest::keyClicks(editor.note(), "yaz");
        // Untitled work needs a name first; without one nothing else happens.
        editor.trigger("mnuFileNew");
        editor.open(TestFiles::write(path("baska.dat"), "baska"));
        QCOMPARE(editor.note()->toPlainText(), u"yaz"_s);
        QCOMPARE(editor.offeredSaveNames.size(), 2);
        editor.saveReplies.append(path("yaz.txt"));
        editor.trigger("mnuFileNew");
        QCOMPARE(TestFiles::read(path("yaz.txt")), QByteArray("yaz\r\n"));
        QVERIFY(editor.note()->toPlainText().isEmpty());
        QVERIFY(!editor.window.isDirty());
        QCOMPARE(editor.boxes.count(), 0);
    }

    void writeErrorKeepsCaptionAndDirtyFlag()
    {
        EditorUnderTest editor;
        // Others may enter the folder, so the ordinary user can reach the file.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadOther |
                                                        QFile::ExeOther));
        const QString file = TestFiles::write(path("kilitli.dat"), "eski\r\n");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadOther));
        editor.open(file);
        QTest::keyClicks(editor.note(), "yeni ");
        const QString caption = editor.window.windowTitle();
        // Run as root, the save is made as an ordinary user, whom file permissions bind.
        const passwd *nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
        const bool dropped = nobody && seteuid(nobody->pw_uid) == 0;
        editor.trigger("mnuFileSave");
        if (dropped && seteuid(0) != 0)
            qFatal("cannot return to root");
        QCOMPARE(editor.boxes.count(), 1);
        QCOMPARE(editor.boxes.shown().first().icon, MsgBox::Icon::Warning);
        QCOMPARE(editor.window.windowTitle(), caption);
        QVERIFY(editor.window.isDirty());
        QCOMPARE(TestFiles::read(file), QByteArray("eski\r\n"));
    }

    void clipboardAndToolbar()
    {
        EditorUnderTest editor;
        editor.window.show();
        const QString file = TestFiles::write(path("pano.dat"), "bir\r\niki\r\n");
        editor.open(file);
        editor.putCaret(1, 4); // "ir", the line end, "i"
        editor.trigger("mnuEditCopy");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"ir\ni"_s);
        QTest::mouseClick(editor.window.findChild<QWidget *>("imgCutButton"), Qt::LeftButton);
        QCOMPARE(editor.note()->toPlainText(), u"bki\n"_s);
        editor.putCaret(3);
        QTest::mouseClick(editor.window.findChild<QWidget *>("imgPasteButton"), Qt::LeftButton);
        editor.trigger("mnuFileSave");
        QCOMPARE(TestFiles::read(file), QByteArray("bkiir\r\ni\r\n"));
        // A press dragged off the picture and released outside is no click.
        QWidget *newButton = editor.window.findChild<QWidget *>("imgFileNewButton");
        QTest::mousePress(newButton, Qt::LeftButton);
        QTest::mouseRelease(newButton, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(editor.window.filePath(), file);
        QTest::mouseClick(newButton, Qt::LeftButton);
        QVERIFY(editor.window.filePath().isEmpty());
    }

    void fontMenuSetsTheChosenFamily()
    {
        EditorUnderTest editor;
        const QStringList families = QFontDatabase::families();
        QAction *last = editor.action(qPrintable(u"mnuFontName_%1"_s.arg(families.size() - 1)));
        QVERIFY(last);
        last->trigger();
        QCOMPARE(editor.note()->font().family(), families.last());
        QVERIFY(!editor.window.isDirty());
    }

    void timeStampKeepsSeconds()
    {
        const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
        QCOMPARE(SdiWindow::timeStamp(QLocale(u"tr_TR"_s), when), u"6.12.2026 09:05:07"_s);
        QCOMPARE(SdiWindow::timeStamp(QLocale::c(), when), u"6 Dec 2026 09:05:07"_s);
    }
};

QTEST_MAIN(TestSdiWindow)
#include "tst_sdiwindow.moc"
