#include "editorfixture.h"
#include "finddialog.h"
#include "messagerecorder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kText = QStringLiteral("Ankara ankara\nİSTANBUL istanbul ANKARA");

} // namespace

class TestFindIt : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void repeatFromLastHit_data();
    void repeatFromLastHit();
    void dialogStartsFromSelectionAndRemembers();

private:
    FindDialog *openDialog(EditorUnderTest &editor, const char *menuItem = "mnuSearchFind");
    void search(EditorUnderTest &editor, const QString &what, bool up, bool caseSensitive);
};

FindDialog *TestFindIt::openDialog(EditorUnderTest &editor, const char *menuItem)
{
    editor.trigger(menuItem);
    return editor.window.findChild<FindDialog *>("frmFind");
}

void TestFindIt::search(EditorUnderTest &editor, const QString &what, bool up, bool caseSensitive)
{
    FindDialog *dialog = openDialog(editor);
    QVERIFY(dialog);
    auto *txtFind = dialog->findChild<QLineEdit *>("txtFind");
    txtFind->clear();
    QTest::keyClicks(txtFind, what);
    dialog->findChild<QRadioButton *>(up ? "optDirection_0" : "optDirection_1")->click();
    auto *chkCase = dialog->findChild<QCheckBox *>("chkCase");
    if (chkCase->isChecked() != caseSensitive)
        chkCase->click();
    dialog->findChild<QPushButton *>("cmdFind")->click();
}

void TestFindIt::find_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("hit");

    QTest::newRow("down, a hit at the caret") << 0 << 0 << false << false << "ankara" << 0;
    QTest::newRow("down, any case") << 1 << 0 << false << false << "ankara" << 7;
    QTest::newRow("down, case-sensitive") << 0 << 0 << false << true << "ANKARA" << 32;
    QTest::newRow("down, Turkish i any case") << 0 << 0 << false << false << "istanbul" << 14;
    QTest::newRow("up, any case") << 38 << 0 << true << false << "ankara" << 32;
    QTest::newRow("up, case-sensitive") << 38 << 0 << true << true << "ankara" << 7;
    QTest::newRow("up, a hit just before the caret") << 9 << 0 << true << false << "ankara" << 7;
    QTest::newRow("down, not found") << 5 << 2 << false << false << "izmir" << -1;
}

void TestFindIt::find()
{
    QFETCH(int, caret);
    QFETCH(int, selected);
    QFETCH(bool, up);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, what);
    QFETCH(int, hit);
    MessageRecorder boxes;
    EditorUnderTest editor;
    editor.note()->setPlainText(kText);
    editor.putCaret(caret, selected);

    search(editor, what, up, caseSensitive);

    const QTextCursor cursor = editor.note()->textCursor();
    if (hit >= 0) {
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(cursor.selectionStart(), hit);
        QCOMPARE(cursor.selectionEnd(), hit + what.size());
    } else {
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Bulunamıyor \"") + what + u'"'});
        QCOMPARE(cursor.selectionStart(), caret);
        QCOMPARE(cursor.selectionEnd(), caret + selected);
    }
}

void TestFindIt::repeatFromLastHit_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QList<int>>("hits");
    QTest::newRow("down") << false << 0 << QList<int>{0, 3, 6};
    QTest::newRow("up") << true << 8 << QList<int>{6, 3, 0};
}

void TestFindIt::repeatFromLastHit()
{
    QFETCH(bool, up);
    QFETCH(int, caret);
    QFETCH(QList<int>, hits);
    MessageRecorder boxes;
    EditorUnderTest editor;
    editor.note()->setPlainText(QStringLiteral("ab-ab-ab"));
    editor.putCaret(caret);

    search(editor, QStringLiteral("ab"), up, false);
    editor.window.findChild<FindDialog *>("frmFind")
        ->findChild<QPushButton *>("cmdcancel")
        ->click();
    QList<int> found{editor.note()->textCursor().selectionStart()};
    for (int i = 1; i < hits.size(); ++i) {
        editor.trigger("mnuSearchFindNext");
        found.append(editor.note()->textCursor().selectionStart());
    }
    QCOMPARE(found, hits);
    QCOMPARE(boxes.count(), 0);

    editor.trigger("mnuSearchFindNext");
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Bulunamıyor \"ab\"")});
    QCOMPARE(editor.note()->textCursor().selectionStart(), hits.last());
    QCOMPARE(editor.note()->textCursor().selectedText(), QStringLiteral("ab"));
}

void TestFindIt::dialogStartsFromSelectionAndRemembers()
{
    MessageRecorder boxes;
    EditorUnderTest editor;
    editor.note()->setPlainText(kText);

    // Nothing searched yet: "Sonrakini Bul" opens the dialog, with "Bul" off until text is typed.
    FindDialog *dialog = openDialog(editor, "mnuSearchFindNext");
    QVERIFY(dialog);
    auto *cmdFind = dialog->findChild<QPushButton *>("cmdFind");
    QVERIFY(!cmdFind->isEnabled());
    search(editor, QStringLiteral("ist"), true, true);
    QVERIFY(cmdFind->isEnabled());
    dialog->findChild<QPushButton *>("cmdcancel")->click();
    QTRY_VERIFY(!editor.window.findChild<FindDialog *>("frmFind"));

    // The next opening offers the selection, and the remembered direction and case.
    editor.putCaret(2, 4);
    dialog = openDialog(editor);
    QCOMPARE(dialog->findChild<QLineEdit *>("txtFind")->text(), QStringLiteral("kara"));
    QVERIFY(dialog->findChild<QRadioButton *>("optDirection_0")->isChecked());
    QVERIFY(dialog->findChild<QCheckBox *>("chkCase")->isChecked());
    dialog->findChild<QPushButton *>("cmdcancel")->click();

    // "Sonrakini Bul" now repeats the stored search at once: "kara" upwards from the caret.
    editor.putCaret(20);
    editor.trigger("mnuSearchFindNext");
    QCOMPARE(editor.note()->textCursor().selectionStart(), 9);
}

QTEST_MAIN(TestFindIt)
#include "tst_findit.moc"
