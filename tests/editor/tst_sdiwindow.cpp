#include "editorfixture.h"
#include "messagerecorder.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("ORVEL- NOT DEFTERİ - ");

} // namespace

class TestSdiWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void sizeLimit_data();
    void sizeLimit();
    void roundTrip_data();
    void roundTrip();
    void recentFiles();
    void recentFileGone();
    void deleteKey_data();
    void deleteKey();
    void close_data();
    void close();
    void unsavedWorkStopsNewAndOpen();
    void writeErrorKeepsCaptionAndDirtyFlag();
    void clipboardAndToolbar();
    void optionsAndFonts();
    void timeStampKeepsSeconds_data();
    void timeStampKeepsSeconds();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList storedRecent() const;

    QTemporaryDir m_dir;
};

void TestSdiWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The editor's start folder, where an untitled document is offered to be saved.
    qputenv("OMR_HOME", m_dir.path().toLocal8Bit());
    // The recent-file list goes to a store of the test's own, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path("settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
}

void TestSdiWindow::init()
{
    QSettings(QSettings::UserScope, QStringLiteral("NotDefteri")).clear();
}

QStringList TestSdiWindow::storedRecent() const
{
    QSettings store(QSettings::UserScope, QStringLiteral("NotDefteri"));
    store.beginGroup(QStringLiteral("Recent Files"));
    QStringList values;
    for (int i = 1; i <= 5; ++i)
        values.append(store.value(QStringLiteral("RecentFile%1").arg(i)).toString());
    return values;
}

void TestSdiWindow::sizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("65000 bytes open") << 65000;
    QTest::newRow("65001 bytes are refused") << 65001;
}

void TestSdiWindow::sizeLimit()
{
    QFETCH(int, size);
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString file = TestFiles::write(path("big.dat"), QByteArray(size, 'A'));

    editor.open(file);

    const bool opens = size <= 65000;
    QCOMPARE(boxes.texts(), opens ? QStringList() : QStringList{"Dosya açılamayacak kadar büyük"});
    QCOMPARE(editor.note()->toPlainText().size(), opens ? size : 0);
    QCOMPARE(editor.window.windowTitle(), kPrefix + (opens ? file.toUpper() : "BAŞLIKSIZ"));
    QCOMPARE(storedRecent().first(), opens ? file : QString());
}

void TestSdiWindow::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<QString>("shown");

    const QByteArray fmt("3=Y=048=\xD6\xD0RENC\xDD SINAVI\r\n"
                         "AD SOYAD   =01=05=20=Y\r\n"
                         "\xDE\xDD\xDE\xDE\xDD \xFE\xFD\xF0\xFC\xE7\xF6 \xA0 \x80\r\n");
    QTest::newRow("Turkish FMT, CR LF") << fmt << fmt << QStringLiteral("ÖĞRENCİ SINAVI");
    const QByteArray mixed("a\r\nb\nc\rd\r\n\r\n\r\n");
    QTest::newRow("mixed, lone CR, blank lines") << mixed << mixed << QStringLiteral("b\nc\nd\n\n");
    QTest::newRow("no final line end")
        << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb");
    QTest::newRow("empty file") << QByteArray() << QByteArray() << QString();
    QByteArray every;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            every.append(char(b));
    }
    QTest::newRow("every byte value") << every + "\r\n" << every + "\r\n" << QStringLiteral("üışÿ");
}

void TestSdiWindow::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString file = TestFiles::write(path("form.fmt"), bytes);

    editor.open(file);
    QVERIFY(!editor.window.isDirty());
    QVERIFY(editor.note()->toPlainText().contains(shown));
    editor.trigger("mnuFileSave");

    QCOMPARE(boxes.count(), 0);
    QTEST(TestFiles::read(file), "saved");
    QVERIFY(!editor.window.isDirty());
    QCOMPARE(editor.window.windowTitle(), kPrefix + file);
}

void TestSdiWindow::recentFiles()
{
    MessageRecorder boxes;
    QStringList files;
    for (int i = 1; i <= 5; ++i)
        files.append(
            TestFiles::write(path(QStringLiteral("f%1.dat").arg(i)), QByteArray::number(i)));
    const QStringList newestFour = {files[4], files[3], files[2], files[1], QString()};
    {
        EditorUnderTest editor;
        for (const QString &file : files)
            editor.open(file);
        QCOMPARE(storedRecent(), newestFour);
        // Re-opening a listed file leaves the order alone.
        editor.open(files[2]);
        QCOMPARE(editor.note()->toPlainText(), QStringLiteral("3"));
        QCOMPARE(storedRecent(), newestFour);
    }

    // A new window shows the stored list; choosing an entry opens it.
    EditorUnderTest editor;
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(editor.action(qPrintable(QStringLiteral("mnuRecentFile_%1").arg(i)))->text(),
                 newestFour[i - 1]);
    QVERIFY(editor.action("mnuRecentFile_4")->isVisible());
    QVERIFY(!editor.action("mnuRecentFile_5")->isVisible());
    editor.trigger("mnuRecentFile_3");
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("3"));
    QCOMPARE(editor.window.filePath(), files[2]);
    QCOMPARE(boxes.count(), 0);
}

void TestSdiWindow::recentFileGone()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString gone = TestFiles::write(path("gone.dat"), "eski");
    const QString other = TestFiles::write(path("other.dat"), "x");
    editor.open(gone);
    editor.open(other);
    QFile::remove(gone);
    QTest::keyClicks(editor.note(), "!");

    // Unsaved work is saved before the entry is tried; the missing file is only reported.
    editor.trigger("mnuRecentFile_2");
    QCOMPARE(TestFiles::read(other), QByteArray("!x\r\n"));
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Dosya açılamıyor : ") + gone});
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("!x"));
    QCOMPARE(editor.window.filePath(), other);
}

void TestSdiWindow::deleteKey_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("before a line end") << 2 << 0 << QByteArray("ABCD\r\nEF\r\n");
    QTest::newRow("a selection over a line end") << 1 << 3 << QByteArray("AD\r\nEF\r\n");
    QTest::newRow("at the very end") << 8 << 0 << QByteArray("AB\r\nCD\r\nEF\r\n");
}

void TestSdiWindow::deleteKey()
{
    QFETCH(int, caret);
    QFETCH(int, selected);
    EditorUnderTest editor;
    const QString file = TestFiles::write(path("del.dat"), "AB\r\nCD\r\nEF\r\n");
    editor.open(file);
    editor.putCaret(caret, selected);
    editor.trigger("mnuEditDelete");
    editor.trigger("mnuFileSave");
    QTEST(TestFiles::read(file), "saved");
}

void TestSdiWindow::close_data()
{
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<MsgBox::Answer>("answer");
    QTest::addColumn<QString>("dialogReply");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QByteArray>("fileAfter");

    using A = MsgBox::Answer;
    QTest::newRow("named, Yes") << false << A::Yes << QString() << true << QByteArray("Xveri\r\n");
    QTest::newRow("named, No") << false << A::No << QString() << true << QByteArray("veri\r\n");
    QTest::newRow("named, Cancel")
        << false << A::Cancel << QString() << false << QByteArray("veri\r\n");
    QTest::newRow("untitled, Yes, named")
        << true << A::Yes << path("yeni.txt") << true << QByteArray("X\r\n");
    QTest::newRow("untitled, Yes, dialog cancelled")
        << true << A::Yes << QString() << false << QByteArray("<missing>");
}

void TestSdiWindow::close()
{
    QFETCH(bool, untitled);
    QFETCH(MsgBox::Answer, answer);
    QFETCH(QString, dialogReply);
    QFETCH(bool, closes);
    MessageRecorder boxes;
    boxes.queueAnswer(answer);
    EditorUnderTest editor;
    const QString target =
        untitled ? path("yeni.txt") : TestFiles::write(path("kapat.dat"), "veri\r\n");
    QFile::remove(path("yeni.txt"));
    if (!untitled)
        editor.open(target);
    editor.saveReplies.append(dialogReply);
    editor.window.show();
    QTest::keyClicks(editor.note(), "X");
    const QString caption = editor.window.windowTitle();

    editor.trigger("mnuFileExit");

    QCOMPARE(boxes.count(), 1);
    const MsgBox::Shown question = boxes.shown().first();
    QCOMPARE(question.text,
             caption.mid(kPrefix.size()) + QStringLiteral("' deki bilgi değiştirildi.\n"
                                                          "Değişikliler kayıt edilsin mi?"));
    QCOMPARE(question.title, caption);
    QCOMPARE(question.buttons, MsgBox::Buttons::YesNoCancel);
    QCOMPARE(question.icon, MsgBox::Icon::Warning);
    QCOMPARE(editor.offeredSaveNames,
             untitled ? QStringList{path("BASLIKSIZ.txt")} : QStringList());
    QCOMPARE(editor.window.isVisible(), !closes);
    QCOMPARE(editor.window.isDirty(), !closes);
    QCOMPARE(editor.window.windowTitle(), closes ? kPrefix + "BAŞLIKSIZ" : caption);
    QTEST(TestFiles::read(target), "fileAfter");
}

void TestSdiWindow::unsavedWorkStopsNewAndOpen()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    QTest::keyClicks(editor.note(), "yaz");

    // Untitled work needs a name first; without one nothing else happens.
    editor.trigger("mnuFileNew");
    editor.open(TestFiles::write(path("baska.dat"), "baska"));
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("yaz"));
    QVERIFY(editor.window.isDirty());
    QCOMPARE(editor.offeredSaveNames.size(), 2);

    editor.saveReplies.append(path("yaz.txt"));
    editor.trigger("mnuFileNew");
    QCOMPARE(TestFiles::read(path("yaz.txt")), QByteArray("yaz\r\n"));
    QVERIFY(editor.note()->toPlainText().isEmpty());
    QVERIFY(!editor.window.isDirty());
    QCOMPARE(editor.window.windowTitle(), kPrefix + QStringLiteral("BAŞLIKSIZ"));
    QCOMPARE(boxes.count(), 0);
}

void TestSdiWindow::writeErrorKeepsCaptionAndDirtyFlag()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    // Others may enter the folder, so the ordinary user can reach the file.
    const auto open =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(m_dir.path(), open));
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
    QCOMPARE(boxes.count(), 1);
    QVERIFY(!boxes.lastText().isEmpty());
    QCOMPARE(boxes.shown().first().icon, MsgBox::Icon::Warning);
    QCOMPARE(editor.window.windowTitle(), caption);
    QVERIFY(editor.window.isDirty());
    QCOMPARE(TestFiles::read(file), QByteArray("eski\r\n"));
}

void TestSdiWindow::clipboardAndToolbar()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    editor.window.show();
    const QString file = TestFiles::write(path("pano.dat"), "bir\r\niki\r\n");
    editor.open(file);

    editor.putCaret(1, 4); // "ir", the line end, "i"
    editor.trigger("mnuEditCopy");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ir\ni"));
    QVERIFY(!editor.window.isDirty());
    QTest::mouseClick(editor.window.findChild<QWidget *>("imgCutButton"), Qt::LeftButton);
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("bki\n"));
    QVERIFY(editor.window.isDirty());
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

void TestSdiWindow::optionsAndFonts()
{
    EditorUnderTest editor;
    editor.window.show();
    const int fullHeight = editor.note()->height();
    editor.trigger("mnuOptionsToolbar");
    QVERIFY(!editor.window.findChild<QWidget *>("picToolbar")->isVisible());
    QTRY_VERIFY(editor.note()->height() > fullHeight);

    const QStringList families = QFontDatabase::families();
    QAction *last =
        editor.action(qPrintable(QStringLiteral("mnuFontName_%1").arg(families.size() - 1)));
    QVERIFY(last);
    last->trigger();
    QCOMPARE(editor.note()->font().family(), families.last());
    QVERIFY(!editor.window.isDirty());
}

void TestSdiWindow::timeStampKeepsSeconds_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Turkish") << QStringLiteral("tr_TR") << QStringLiteral("6.12.2026 09:05:07");
    QTest::newRow("C") << QStringLiteral("C") << QStringLiteral("6 Dec 2026 09:05:07");
}

void TestSdiWindow::timeStampKeepsSeconds()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    QCOMPARE(SdiWindow::timeStamp(QLocale(locale), when), expected);
}

QTEST_MAIN(TestSdiWindow)
#include "tst_sdiwindow.moc"
