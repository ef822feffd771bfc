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

// While it lives, a test running as root acts as an ordinary user, so that file permissions
// bind it as they bind an operator.
class OrdinaryUser
{
public:
    OrdinaryUser()
    {
        if (geteuid() == 0) {
            const passwd *nobody = getpwnam("nobody");
            if (nobody && seteuid(nobody->pw_uid) == 0)
                m_dropped = true;
        }
    }
    ~OrdinaryUser()
    {
        if (m_dropped && seteuid(0) != 0)
            qFatal("cannot return to root");
    }
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

private:
    bool m_dropped = false;
};

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
    void writeError_data();
    void writeError();
    void clipboardAndToolbar();
    void optionsAndFonts();
    void oneEditorWindow();

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
    QTest::addColumn<bool>("opens");
    QTest::newRow("65000 bytes") << 65000 << true;
    QTest::newRow("65001 bytes") << 65001 << false;
}

void TestSdiWindow::sizeLimit()
{
    QFETCH(int, size);
    QFETCH(bool, opens);
    MessageRecorder boxes;
    EditorUnderTest editor;
    QByteArray bytes(size, 'A');
    const QString file = writeFile(path("big.dat"), bytes);

    editor.open(file);

    if (opens) {
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(editor.note()->toPlainText().size(), size);
        QCOMPARE(editor.window.windowTitle(), kPrefix + file.toUpper());
    } else {
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Dosya açılamayacak kadar büyük")});
        QVERIFY(editor.note()->toPlainText().isEmpty());
        QCOMPARE(editor.window.windowTitle(), QStringLiteral("ORVEL- NOT DEFTERİ - BAŞLIKSIZ"));
        QCOMPARE(storedRecent().first(), QString());
    }
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
    QTest::newRow("LF only") << QByteArray("bir\niki\n") << QByteArray("bir\niki\n")
                             << QStringLiteral("bir\niki\n");
    QTest::newRow("mixed, lone CR") << QByteArray("a\r\nb\nc\rd\r\n")
                                    << QByteArray("a\r\nb\nc\rd\r\n") << QStringLiteral("c\nd");
    QTest::newRow("blank lines kept")
        << QByteArray("a\r\n\r\n\r\n") << QByteArray("a\r\n\r\n\r\n") << QStringLiteral("a\n\n\n");
    QTest::newRow("no final line end")
        << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb");
    QTest::newRow("empty file") << QByteArray() << QByteArray() << QString();

    QByteArray every;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            every.append(char(b));
    }
    every.append("\r\n");
    QTest::newRow("every byte value") << every << every << QStringLiteral("ŞşİıĞğ€");
}

void TestSdiWindow::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    QFETCH(QString, shown);
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString file = writeFile(path("form.fmt"), bytes);

    editor.open(file);
    QVERIFY(!editor.window.isDirty());
    if (!shown.isEmpty()) {
        const QString text = editor.note()->toPlainText();
        const bool anyOrder = QTest::currentDataTag() == QByteArray("every byte value");
        for (const QString &piece : anyOrder ? shown.split(QString()) : QStringList{shown})
            QVERIFY2(text.contains(piece), qPrintable(piece));
    }
    editor.trigger("mnuFileSave");

    QCOMPARE(boxes.count(), 0);
    QCOMPARE(readFile(file), saved);
    QVERIFY(!editor.window.isDirty());
    QCOMPARE(editor.window.windowTitle(), kPrefix + file);
}

void TestSdiWindow::recentFiles()
{
    MessageRecorder boxes;
    QStringList files;
    for (int i = 1; i <= 5; ++i)
        files.append(writeFile(path(QStringLiteral("f%1.dat").arg(i)), QByteArray::number(i)));

    {
        EditorUnderTest editor;
        for (const QString &file : files)
            editor.open(file);
        QCOMPARE(storedRecent(), (QStringList{files[4], files[3], files[2], files[1], QString()}));

        // Re-opening a listed file leaves the order alone.
        editor.open(files[2]);
        QCOMPARE(editor.note()->toPlainText(), QStringLiteral("3"));
        QCOMPARE(storedRecent(), (QStringList{files[4], files[3], files[2], files[1], QString()}));
    }

    // A new window shows the stored list; choosing an entry opens it.
    EditorUnderTest editor;
    QVERIFY(editor.action("mnuRecentFile_0")->isVisible());
    for (int i = 1; i <= 4; ++i) {
        QAction *item = editor.action(qPrintable(QStringLiteral("mnuRecentFile_%1").arg(i)));
        QVERIFY(item->isVisible());
        QCOMPARE(item->text(), files[5 - i]);
    }
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
    const QString gone = writeFile(path("gone.dat"), "eski");
    const QString other = writeFile(path("other.dat"), "x");
    editor.open(gone);
    editor.open(other);
    QFile::remove(gone);
    editor.putCaret(0);
    QTest::keyClicks(editor.note(), "!");

    // Unsaved work is saved before the list entry is tried; the missing file is reported and
    // the text box keeps what it had.
    QCOMPARE(editor.action("mnuRecentFile_2")->text(), gone);
    editor.trigger("mnuRecentFile_2");
    QCOMPARE(readFile(other), QByteArray("!x\r\n"));
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
    QTest::newRow("inside a line") << 0 << 0 << QByteArray("B\r\nCD\r\nEF\r\n");
    QTest::newRow("a selection over a line end") << 1 << 3 << QByteArray("AD\r\nEF\r\n");
    QTest::newRow("at the very end") << 8 << 0 << QByteArray("AB\r\nCD\r\nEF\r\n");
}

void TestSdiWindow::deleteKey()
{
    QFETCH(int, caret);
    QFETCH(int, selected);
    QFETCH(QByteArray, saved);
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString file = writeFile(path("del.dat"), "AB\r\nCD\r\nEF\r\n");
    editor.open(file);

    editor.putCaret(caret, selected);
    editor.trigger("mnuEditDelete");
    editor.trigger("mnuFileSave");

    QCOMPARE(readFile(file), saved);
}

void TestSdiWindow::close_data()
{
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("dialogReply");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");

    const int yes = int(MsgBox::Answer::Yes);
    const int no = int(MsgBox::Answer::No);
    const int cancel = int(MsgBox::Answer::Cancel);
    QTest::newRow("named, Yes") << false << yes << QString() << true << true;
    QTest::newRow("named, No") << false << no << QString() << true << false;
    QTest::newRow("named, Cancel") << false << cancel << QString() << false << false;
    QTest::newRow("untitled, Yes, named")
        << true << yes << QStringLiteral("yeni.txt") << true << true;
    QTest::newRow("untitled, Yes, dialog cancelled") << true << yes << QString() << false << false;
}

void TestSdiWindow::close()
{
    QFETCH(bool, untitled);
    QFETCH(int, answer);
    QFETCH(QString, dialogReply);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    MessageRecorder boxes;
    boxes.queueAnswer(MsgBox::Answer(answer));
    EditorUnderTest editor;
    const QString named = writeFile(path("kapat.dat"), "veri\r\n");
    QFile::remove(path("yeni.txt"));
    const QString target = untitled ? path("yeni.txt") : named;
    if (!untitled)
        editor.open(named);
    if (!dialogReply.isEmpty())
        editor.saveReplies.append(path(dialogReply));
    editor.window.show();
    editor.putCaret(0);
    QTest::keyClicks(editor.note(), "X");
    const QString caption = editor.window.windowTitle();

    editor.trigger("mnuFileExit");

    QCOMPARE(boxes.count(), 1);
    const MsgBox::Shown question = boxes.shown().first();
    QCOMPARE(question.text, caption.mid(21) + QStringLiteral("' deki bilgi değiştirildi.\n"
                                                             "Değişikliler kayıt edilsin mi?"));
    QCOMPARE(question.title, caption);
    QCOMPARE(question.buttons, MsgBox::Buttons::YesNoCancel);
    QCOMPARE(question.icon, MsgBox::Icon::Warning);
    if (untitled && answer == int(MsgBox::Answer::Yes))
        QCOMPARE(editor.offeredSaveNames, QStringList{path("BASLIKSIZ.txt")});

    QCOMPARE(editor.window.isVisible(), !closes);
    QCOMPARE(editor.window.isDirty(), !closes);
    if (!closes)
        QCOMPARE(editor.note()->toPlainText(), untitled ? QStringLiteral("X") : "Xveri\n");
    else
        QCOMPARE(editor.window.windowTitle(), kPrefix + QStringLiteral("BAŞLIKSIZ"));
    const QByteArray expected = saved ? QByteArray(untitled ? "X\r\n" : "Xveri\r\n")
                                      : (untitled ? QByteArray("<missing>") : "veri\r\n");
    QCOMPARE(readFile(target), expected);
}

void TestSdiWindow::unsavedWorkStopsNewAndOpen()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    const QString other = writeFile(path("baska.dat"), "baska");
    QTest::keyClicks(editor.note(), "yaz");

    // Untitled work needs a name first; without one nothing else happens.
    editor.trigger("mnuFileNew");
    editor.open(other);
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("yaz"));
    QVERIFY(editor.window.isDirty());
    QCOMPARE(editor.offeredSaveNames.size(), 2);

    editor.saveReplies.append(path("yaz.txt"));
    editor.trigger("mnuFileNew");
    QCOMPARE(readFile(path("yaz.txt")), QByteArray("yaz\r\n"));
    QVERIFY(editor.note()->toPlainText().isEmpty());
    QVERIFY(!editor.window.isDirty());
    QCOMPARE(editor.window.windowTitle(), kPrefix + QStringLiteral("BAŞLIKSIZ"));
    QCOMPARE(boxes.count(), 0);
}

void TestSdiWindow::writeError_data()
{
    QTest::addColumn<bool>("readOnlyFile");
    QTest::newRow("read-only file") << true;
    QTest::newRow("folder in the way") << false;
}

void TestSdiWindow::writeError()
{
    QFETCH(bool, readOnlyFile);
    MessageRecorder boxes;
    EditorUnderTest editor;
    QDir(m_dir.path()).mkpath(QStringLiteral("ro"));
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
    const QString file = path("ro/kilitli.dat");
    if (readOnlyFile) {
        QFile::remove(file);
        writeFile(file, "eski\r\n");
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadOther);
        editor.open(file);
    } else {
        editor.saveReplies.append(path("ro"));
    }
    QTest::keyClicks(editor.note(), "yeni ");
    const QString caption = editor.window.windowTitle();

    if (readOnlyFile) {
        OrdinaryUser user;
        editor.trigger("mnuFileSave");
    } else {
        editor.trigger("mnuFileSave");
    }

    QCOMPARE(boxes.count(), 1);
    QVERIFY(!boxes.lastText().isEmpty());
    QCOMPARE(boxes.shown().first().icon, MsgBox::Icon::Warning);
    QCOMPARE(editor.window.windowTitle(), caption);
    QVERIFY(editor.window.isDirty());
    if (readOnlyFile)
        QCOMPARE(readFile(file), QByteArray("eski\r\n"));
}

void TestSdiWindow::clipboardAndToolbar()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    editor.window.show();
    const QString file = writeFile(path("pano.dat"), "bir\r\niki\r\n");
    editor.open(file);
    QClipboard *clipboard = QGuiApplication::clipboard();

    editor.putCaret(1, 4); // "ir", the line end, "i"
    editor.trigger("mnuEditCopy");
    QCOMPARE(clipboard->text(), QStringLiteral("ir\ni"));
    QVERIFY(!editor.window.isDirty());

    QTest::mouseClick(editor.window.findChild<QWidget *>("imgCutButton"), Qt::LeftButton);
    QCOMPARE(editor.note()->toPlainText(), QStringLiteral("bki\n"));
    QVERIFY(editor.window.isDirty());

    editor.putCaret(3);
    QTest::mouseClick(editor.window.findChild<QWidget *>("imgPasteButton"), Qt::LeftButton);
    editor.trigger("mnuEditSelectAll");
    editor.trigger("mnuEditCut");
    editor.trigger("mnuEditPaste");
    editor.trigger("mnuFileSave");
    QCOMPARE(readFile(file), QByteArray("bkiir\r\ni\r\n"));

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
    QWidget *toolbar = editor.window.findChild<QWidget *>("picToolbar");
    QAction *tools = editor.action("mnuOptionsToolbar");
    QVERIFY(tools->isChecked());
    QVERIFY(toolbar->isVisible());
    const int fullHeight = editor.note()->height();
    tools->trigger();
    QVERIFY(!tools->isChecked());
    QVERIFY(!toolbar->isVisible());
    QTRY_VERIFY(editor.note()->height() > fullHeight);

    const QStringList families = QFontDatabase::families();
    QVERIFY(!families.isEmpty());
    const QString last = families.last();
    QAction *item =
        editor.action(qPrintable(QStringLiteral("mnuFontName_%1").arg(families.size() - 1)));
    QVERIFY(item);
    QCOMPARE(editor.action("mnuFontName_0")->data().toString(), families.first());
    item->trigger();
    QCOMPARE(editor.note()->font().family(), last);
    QVERIFY(!editor.window.isDirty());

    editor.trigger("mnuEditTime");
    QVERIFY(!editor.note()->toPlainText().isEmpty());
    QVERIFY(editor.window.isDirty());
}

void TestSdiWindow::oneEditorWindow()
{
    SdiWindow *first = showEditor();
    QVERIFY(first->isVisible());
    QCOMPARE(first->objectName(), QStringLiteral("frmSDI"));
    first->close();
    QCOMPARE(showEditor(), first);
    delete first;
}

QTEST_MAIN(TestSdiWindow)
#include "tst_sdiwindow.moc"
