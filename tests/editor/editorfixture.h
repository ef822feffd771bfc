#pragma once

#include "messagerecorder.h"
#include "sdiwindow.h"
#include "testfiles.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>

// An editor window whose file dialogs answer from queues and remember what they offered, and
// whose message boxes are answered and recorded.
struct EditorUnderTest
{
    MessageRecorder boxes;
    SdiWindow window;
    QStringList openReplies, saveReplies, offeredSaveNames;

    EditorUnderTest()
    {
        window.askOpenFileName = [this](const QString &) { return next(openReplies); };
        window.askSaveFileName = [this](const QString &offered) {
            offeredSaveNames.append(offered);
            return next(saveReplies);
        };
    }
    static QString next(QStringList &r) { return r.isEmpty() ? QString() : r.takeFirst(); }
    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    QPlainTextEdit *note() { return window.findChild<QPlainTextEdit *>("txtNote"); }
    void trigger(const char *name)
    {
        QVERIFY2(action(name), name);
        action(name)->trigger();
    }
    void open(const QString &path)
    {
        openReplies.append(path);
        trigger("mnuFileOpen");
    }
    void putCaret(int position, int selectionLength = 0)
    {
        QTextCursor cursor = note()->textCursor();
        cursor.setPosition(position);
        cursor.setPosition(position + selectionLength, QTextCursor::KeepAnchor);
        note()->setTextCursor(cursor);
    }
};
