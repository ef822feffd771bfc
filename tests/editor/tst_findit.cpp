#include "editorfixture.h"
#include "finddialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class TestFindIt : public QObject
{
    Q_OBJECT

    // Opens the find dialog from the menu and searches as the operator does.
    static FindDialog *search(EditorUnderTest &editor, const QString &what, bool up,
                              bool caseSensitive)
    {
        editor.trigger("mnuSearchFind");
        auto *dialog = editor.window.findChild<FindDialog *>("frmFind");
        auto *txtFind = dialog->findChild<QLineEdit *>("txtFind");
        txtFind->clear();
        QTest::keyClicks(txtFind, what);
        dialog->findChild<QRadioButton *>(up ? "optDirection_0" : "optDirection_1")->click();
        auto *chkCase = dialog->findChild<QCheckBox *>("chkCase");
        if (chkCase->isChecked() != caseSensitive)
            chkCase->click();
        dialog->findChild<QPushButton *>("cmdFind")->click();
        return dialog;
    }

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("what");
        // Every hit in turn: the first search, then "Sonrakini Bul" until nothing is left.
        QTest::addColumn<QList<int>>("hits");
        const auto row = [](const char *name, const QString &text, int caret, bool up,
                            bool caseSensitive, const QString &what, const QList<int> &hits) {
            QTest::newRow(name) << text << caret << up << caseSensitive << what << hits;
        };
        const QString cities = QStringLiteral("Ankara ankara\nİSTANBUL istanbul ANKARA");
        row("down, any case", cities, 1, false, false, "ankara", {7, 32});
        row("down, case-sensitive", cities, 0, false, true, "ANKARA", {32});
        row("down, Turkish i any case", cities, 0, false, false, "istanbul", {14, 23});
        row("up, any case", cities, 38, true, false, "ankara", {32, 7, 0});
        row("up, case-sensitive", cities, 38, true, true, "ankara", {7});
        row("up, a hit just before the caret", cities, 9, true, false, "ankara", {7, 0});
        row("not found", cities, 5, false, false, "izmir", {});
        row("down from a hit at the caret", "ab-ab-ab", 0, false, false, "ab", {0, 3, 6});
        row("up to the start", "ab-ab-ab", 8, true, false, "ab", {6, 3, 0});
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, what);
        QFETCH(QList<int>, hits);
        QFETCH(bool, up);
        QFETCH(bool, caseSensitive);
        EditorUnderTest editor;
        editor.note()->setPlainText(text);
        editor.putCaret(caret);
        search(editor, what, up, caseSensitive)->findChild<QPushButton *>("cmdcancel")->click();
        QList<int> found;
        while (editor.boxes.count() == 0 && found.size() <= hits.size()) {
            const QTextCursor cursor = editor.note()->textCursor();
            QCOMPARE(cursor.selectionEnd(), cursor.selectionStart() + what.size());
            found.append(cursor.selectionStart());
            editor.trigger("mnuSearchFindNext");
        }
        QCOMPARE(found, hits);
        QCOMPARE(editor.boxes.texts(), QStringList{QStringLiteral("Bulunamıyor \"") + what + u'"'});
        // Nothing more found: the last hit, or the caret, stays where it was.
        QCOMPARE(editor.note()->textCursor().selectionStart(),
                 hits.isEmpty() ? caret : hits.last());
    }

    void dialogStartsFromSelectionAndRemembers()
    {
        EditorUnderTest editor;
        editor.note()->setPlainText(QStringLiteral("Ankara ankara\nİSTANBUL"));
        // Nothing searched yet: "Sonrakini Bul" opens the dialog, with "Bul" off until text is
        // typed.
        editor.trigger("mnuSearchFindNext");
        FindDialog *dialog = editor.window.findChild<FindDialog *>("frmFind");
        QVERIFY(dialog);
        auto *cmdFind = dialog->findChild<QPushButton *>("cmdFind");
        QVERIFY(!cmdFind->isEnabled());
        search(editor, QStringLiteral("ist"), true, true);
        QVERIFY(cmdFind->isEnabled());
        dialog->findChild<QPushButton *>("cmdcancel")->click();
        QTRY_VERIFY(!editor.window.findChild<FindDialog *>("frmFind"));
        // The next opening offers the selection, and the remembered direction and case.
        editor.putCaret(2, 4);
        editor.trigger("mnuSearchFind");
        dialog = editor.window.findChild<FindDialog *>("frmFind");
        QCOMPARE(dialog->findChild<QLineEdit *>("txtFind")->text(), QStringLiteral("kara"));
        QVERIFY(dialog->findChild<QRadioButton *>("optDirection_0")->isChecked());
        QVERIFY(dialog->findChild<QCheckBox *>("chkCase")->isChecked());
        dialog->findChild<QPushButton *>("cmdcancel")->click();
        // "Sonrakini Bul" now repeats the stored search at once: "kara" upwards from the caret.
        editor.putCaret(20);
        editor.trigger("mnuSearchFindNext");
        QCOMPARE(editor.note()->textCursor().selectionStart(), 9);
    }
};

QTEST_MAIN(TestFindIt)
#include "tst_findit.moc"
