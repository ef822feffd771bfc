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

// The service console's world for one test: its program folder (path.txt, FMT and DAT files),
// the simulated reader on a pseudo-terminal whose link path.txt names, and the message boxes.
struct ServiceRig
{
    static constexpr int kLimitMs = 5000;

    ServiceRig()
        : reader(dir.filePath(QStringLiteral("tray")), dir.filePath(QStringLiteral("reader")))
    {}
    ~ServiceRig() { window.reset(); }

    QString file(const QString &name) const { return dir.filePath(name); }
    // path.txt naming this FMT file and the simulated reader's link.
    void writePath(const QByteArray &fmt)
    {
        TestFiles::write(file("path.txt"), fmt + "\r\n" + reader.linkPath().toUtf8() + "\r\n");
    }

    // Starts the reader (once) and a console; the answers are typed into the start-up boxes
    // in turn. False when the console ended at start-up.
    bool start(const QStringList &typed = {QStringLiteral("sonuc")}, int longWaitMs = 1000)
    {
        if (!dir.isValid() || (!reader.isRunning() && !reader.start(nullptr)))
            return false;
        for (const QString &answer : typed)
            messages.queueAnswer(MsgBox::Answer::Ok, answer);
        ServiceOptions options;
        options.folder = dir.path();
        options.timings = ReaderTimings{200, longWaitMs, 3000};
        window = std::make_unique<ServiceWindow>(options);
        if (!window->startUp())
            return false;
        reader.clearReceived();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Sheets of a form, in the reader's tray.
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

    template <typename T = QWidget> T *control(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QAction *menuItem(const char *name) const { return control<QAction>(name); }
    QString label(const char *name) const { return control<QLabel>(name)->text(); }
    void trigger(const char *name) { menuItem(name)->trigger(); }
    QList<QByteArray> datLines(const QString &name = QStringLiteral("SONUC"))
    {
        return TestFiles::lines(TestFiles::read(file(name)));
    }

    QTemporaryDir dir;
    PtyReader reader;
    MessageRecorder messages;
    std::unique_ptr<ServiceWindow> window;
};
