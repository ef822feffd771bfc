#pragma once

#include "messagerecorder.h"
#include "ptyreader.h"
#include "servicewindow.h"
#include "sheetwriter.h"
#include "testfiles.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The service console's world: its program folder, the simulated reader and the message boxes.
struct ServiceRig
{
    static constexpr int kLimitMs = 5000;
    QString file(const QString &name) const { return dir.filePath(name); }
    // Writes path.txt naming the FMT file (unless empty) and the reader's link, starts the reader
    // (once) and a console given the typed answers in turn; false when the console ended at once.
    bool start(const QByteArray &fmt, const QStringList &typed = {QStringLiteral("sonuc")},
               int longWaitMs = 1000)
    {
        if (!dir.isValid() || (!reader.isRunning() && !reader.start(nullptr)))
            return false;
        if (!fmt.isEmpty())
            TestFiles::write(file("path.txt"), fmt + "\r\n" + reader.linkPath().toUtf8() + "\r\n");
        for (const QString &answer : typed)
            messages.queueAnswer(MsgBox::Answer::Ok, answer);
        window = std::make_unique<ServiceWindow>(
            ServiceOptions{dir.path(), ReaderTimings{200, longWaitMs, 3000}, {}, {}});
        if (!window->startUp())
            return false;
        reader.clearReceived();
        return QTest::qWaitForWindowExposed(window.get());
    }
    bool addSheets(const QByteArray &fmt, const QList<QList<QByteArray>> &sheets, int status = 0)
    {
        for (const QList<QByteArray> &values : sheets) {
            SheetImage sheet;
            if (!SheetWriter::makeSheet(fmt, values, status, &sheet, nullptr))
                return false;
            reader.withDevice([&sheet](ReaderDevice &device) { device.addSheet(sheet); });
        }
        return true;
    }
    template <typename T = QAction> T *control(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QString label(const char *name) const { return control<QLabel>(name)->text(); }
    QList<QByteArray> datLines() { return TestFiles::lines(TestFiles::read(file("SONUC"))); }

    QTemporaryDir dir;
    PtyReader reader{dir.filePath(QStringLiteral("tray")), dir.filePath(QStringLiteral("reader"))};
    MessageRecorder messages;
    std::unique_ptr<ServiceWindow> window; // last, so that it goes first
};
