#pragma once

#include "messagerecorder.h"
#include "ptyreader.h"
#include "readersession.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

// A reader window's world: the simulated reader on a pseudo-terminal, the session
// that talks to it, the opener's button that takes the focus back, and the message boxes.
struct ReaderRig
{
    static constexpr int kLongWaitMs = 300;
    static constexpr int kLimitMs = 5000;

    explicit ReaderRig(int longWaitMs = kLongWaitMs, int heartbeatMs = 3000)
        : session(ReaderTimings{200, longWaitMs, heartbeatMs})
    {
        opener.setObjectName(QStringLiteral("opener"));
    }
    ~ReaderRig()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &opener)
                delete window;
    }
    // The same world afresh, with other time limits.
    static bool restart(ReaderRig *&rig, int longWaitMs, int heartbeatMs = 3000)
    {
        delete rig;
        rig = new ReaderRig(longWaitMs, heartbeatMs);
        return rig->start();
    }
    bool start()
    {
        if (!dir.isValid() || !reader.start(nullptr) ||
            !session.open(reader.linkPath(), QStringLiteral("38400,N,8,1")))
            return false;
        opener.show();
        return QTest::qWaitForWindowExposed(&opener);
    }
    // Makes a window as its opener would and shows it, with a clean record of the line.
    template <typename Window, typename... Extra> Window *open(Extra... extra)
    {
        return show(new Window(session, &opener, extra...));
    }
    template <typename Window> Window *show(Window *window)
    {
        reader.clearReceived();
        window->show();
        return window;
    }
    QByteArray sent() { return reader.receivedBytes(); }
    // Puts a sheet of the given rows into the reader and feeds it, so its eye values stream.
    void feedSheet(const QByteArray &rows)
    {
        reader.withDevice([&rows](ReaderDevice &device) {
            device.addSheetText(rows, QStringLiteral("sheet"));
            device.receive("\x2A");
        });
    }
    // Runs then once, from inside the event loop, as soon as an exchange waits for its reply.
    void whileWaiting(std::function<void()> then)
    {
        auto *poll = new QTimer(&opener);
        QObject::connect(poll, &QTimer::timeout, &opener, [this, poll, then] {
            if (!session.line()->isWaiting())
                return;
            poll->deleteLater();
            poll->stop();
            then();
        });
        poll->start(1);
    }

    QTemporaryDir dir;
    PtyReader reader{dir.filePath(QStringLiteral("tray")), dir.filePath(QStringLiteral("reader"))};
    ReaderSession session;
    QPushButton opener;
    MessageRecorder messages;
};

// Checks a window's controls against "name|caption|tooltip" lines; the window's own name gives
// its caption.
inline void checkControls(QWidget *window, const QStringList &controls)
{
    for (const QString &control : controls) {
        const QStringList parts = control.split(u'|');
        QWidget *widget =
            parts[0] == window->objectName() ? window : window->findChild<QWidget *>(parts[0]);
        QVERIFY2(widget, qPrintable(parts[0]));
        const QString text = widget->isWindow()              ? widget->windowTitle()
                             : widget->inherits("QGroupBox") ? widget->property("title").toString()
                                                             : widget->property("text").toString();
        QCOMPARE(text, parts[1]);
        QCOMPARE(widget->toolTip(), parts[2]);
    }
}
