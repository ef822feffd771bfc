#pragma once

#include "messagerecorder.h"
#include "sdiwindow.h"
#include "testfiles.h"

#include <QAction>
#include <QByteArray>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTest>

// An editor window whose file dialogs answer from queues and remember what they offered, and
// whose message boxes are answered and recorded.
struct EditorUnderTest
{
    MessageRecorder boxes;
    SdiWindow window;
    QStringList openReplies;
    QStringList saveReplies;
    QStringList offeredSaveNames;

    EditorUnderTest()
    {
        window.askOpenFileName = [this](const QString &) {
            return openReplies.isEmpty() ? QString() : openReplies.takeFirst();
        };
        window.askSaveFileName = [this](const QString &offered) {
            offeredSaveNames.append(offered);
            return saveReplies.isEmpty() ? QString() : saveReplies.takeFirst();
        };
    }

    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    QPlainTextEdit *note() { return window.findChild<QPlainTextEdit *>("txtNote"); }

    void trigger(const char *name)
    {
        QAction *item = action(name);
        QVERIFY2(item, name);
        item->trigger();
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
