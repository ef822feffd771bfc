// Opens every window of markdesk and markservice the way an operator does, against the simulated reader with a
// few sheets read, and saves each as <objectName>.png in the folder given on the command line.
// Run offscreen by scripts/window-pictures.sh; the pictures are the windows' own drawing.
#include "designerwindow.h"
#include "messagerecorder.h"
#include "placementdialog.h"
#include "previewwindow.h"
#include "samples.h"
#include "sdiwindow.h"
#include "servicewindow.h"
#include "sheetwriter.h"
#include "stationrig.h"
#include "visualdesigner.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

QString outFolder;
int failures = 0;

QWidget *topLevel(const char *name)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name) && window->isVisible())
            return window;
    return nullptr;
}

// Lets the window finish what it asked the reader: until the line has been quiet for a while.
void settle(PtyReader &reader, SerialLine *line, int quietMs = 400)
{
    QDeadlineTimer limit(15000);
    qsizetype seen = -1;
    QDeadlineTimer quiet(quietMs);
    while (!limit.hasExpired()) {
        QTest::qWait(50);
        const qsizetype now = reader.receivedBytes().size();
        if (now != seen || line->isWaiting()) {
            seen = now;
            quiet.setRemainingTime(quietMs);
        } else if (quiet.hasExpired()) {
            return;
        }
    }
}

void settle(StationRig &rig, int quietMs = 400)
{
    settle(rig.fx.reader(), rig.w->session().line(), quietMs);
}

void save(QWidget *window, const char *name)
{
    if (!window) {
        std::fprintf(stderr, "window %s did not open\n", name);
        ++failures;
        return;
    }
    QApplication::processEvents();
    const QString path = outFolder + u'/' + QLatin1String(name) + QStringLiteral(".png");
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void click(QWidget *widget)
{
    if (widget)
        QTest::mouseClick(widget, Qt::LeftButton);
}

// The reader settings windows, one at a time, as form1's buttons and logo open them.
void readerWindows(StationRig &rig)
{
    // What the operator does first so that the window shows something of the sheets read.
    const auto clickButton = [](const char *name) {
        return [name](QWidget *window) {
            click(window->findChild<QPushButton *>(QLatin1String(name)));
        };
    };
    const auto eyeLine = [](QWidget *window) {
        // Line 5 holds marks of the number; values under 100 are coloured.
        window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("5"));
        window->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("100"));
        click(window->findChild<QPushButton *>(QStringLiteral("Command3")));
    };
    const struct
    {
        const char *opener;
        const char *window;
        std::function<void(QWidget *)> then;
    } windows[] = {
        {"Command9", "Form4", {}},
        {"Command7", "Form2", {}},
        {"Command8", "Form12", eyeLine},
        {"Command10", "Form9", {}},
        {"Image1", "Form5", clickButton("Command1")}, // "YENİLE"
    };
    for (const auto &entry : windows) {
        click(rig.control(entry.opener));
        settle(rig);
        QWidget *window = topLevel(entry.window);
        if (window && entry.then) {
            entry.then(window);
            settle(rig);
        }
        save(window, entry.window);
        if (window)
            window->close();
        settle(rig);
    }
}

void designerWindows(StationRig &rig)
{
    click(rig.control("Command11")); // "FMT Yazımı"
    auto *menu = qobject_cast<DesignerWindow *>(topLevel("menu"));
    if (!menu) {
        save(nullptr, "menu");
        return;
    }
    // The name is taken when the box loses the focus, which needs the window to be active.
    QApplication::setActiveWindow(menu);
    if (!QTest::qWaitForWindowActive(menu))
        std::fprintf(stderr, "the designer window did not become active\n");
    menu->DNAME->setFocus();
    menu->DNAME->setEditText(QStringLiteral("sinav"));
    menu->TABLO->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    save(menu, "menu");

    click(menu->CommandHELP);
    QWidget *help = topLevel("helpf");
    save(help, "helpf");
    if (help)
        help->close();

    click(menu->CommandBAK);
    PreviewWindow *preview = menu->preview();
    if (preview) {
        preview->resize(900, 700);
        if (!QTest::qWaitForWindowExposed(preview))
            std::fprintf(stderr, "the preview did not show\n");
        save(preview, "Onizle");
        // A field drawn with the mouse on empty cells brings the placement dialog.
        VisualDesigner *dokum = preview->dokum;
        const QPoint from = dokum->toPixels(dokum->geometry().centre(3, 20));
        const QPoint to = dokum->toPixels(dokum->geometry().centre(6, 24));
        QTest::mousePress(dokum, Qt::LeftButton, {}, from);
        QTest::mouseMove(dokum, to);
        QTest::mouseRelease(dokum, Qt::LeftButton, {}, to);
        QApplication::processEvents();
        PlacementDialog *fyer = dokum->placement();
        if (fyer) {
            fyer->FBASLIK->setText(QStringLiteral("SINIF"));
            fyer->karak->setEditText(QStringLiteral("ABCDE"));
            fyer->FOpt.at(1)->setChecked(true); // "Yatay"
            save(fyer, "Fyer");
            fyer->reject();
        } else {
            save(nullptr, "Fyer");
        }
        preview->close();
    } else {
        save(nullptr, "Onizle");
    }
    menu->close();
}

void editorWindows(StationRig &rig)
{
    click(rig.control("Command5")); // "Editör"
    auto *editor = qobject_cast<SdiWindow *>(topLevel("frmSDI"));
    if (!editor) {
        save(nullptr, "frmSDI");
        return;
    }
    editor->OpenFile(rig.fx.fmtFolder() + QStringLiteral("sinav.fmt"));
    save(editor, "frmSDI");
    if (auto *find = editor->findChild<QAction *>(QStringLiteral("mnuSearchFind")))
        find->trigger();
    QApplication::processEvents();
    save(topLevel("frmFind"), "frmFind");
}

// markservice's windows, saved as markservice-<name>.png: its Form9 and Form12 are not
// markdesk's windows of the same names.
void serviceWindows()
{
    QTemporaryDir home;
    PtyReader reader(home.filePath(QStringLiteral("tray")), home.filePath(QStringLiteral("reader")));
    if (!reader.start(nullptr)) {
        std::fprintf(stderr, "the simulated reader did not start\n");
        ++failures;
        return;
    }
    const auto write = [&home](const char *name, const QByteArray &bytes) {
        QFile file(home.filePath(QLatin1String(name)));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    write("sinav.fmt", Samples::kSinav);
    write("path.txt", "sinav.fmt\r\n" + reader.linkPath().toLocal8Bit() + "\r\n");
    write("SONUC", "20260000" + Samples::kAnswers1 + "A\r\n");
    for (const QByteArray number : {"20260001", "20260002", "20260003"}) {
        SheetImage sheet;
        SheetWriter::makeSheet(Samples::kSinav, Samples::sinavSheet(number), 0, &sheet, nullptr);
        reader.withDevice([&sheet](ReaderDevice &device) { device.addSheet(sheet); });
    }

    MessageRecorder messages;
    messages.queueAnswer(MsgBox::Answer::Ok, QStringLiteral("sonuc"));
    ServiceOptions options;
    options.folder = home.path();
    ServiceWindow console(options);
    if (!console.startUp()) {
        save(nullptr, "markservice-Form1");
        return;
    }
    console.resize(560, 260);
    SerialLine *line = console.session().line();
    QWidget *question = topLevel("Form11");
    save(question, "markservice-Form11");
    if (question)
        click(question->findChild<QPushButton *>(QStringLiteral("Command1"))); // "Evet"
    console.findChild<QAction *>(QStringLiteral("Oku"))->trigger();
    settle(reader, line);
    save(&console, "markservice-Form1");

    const struct
    {
        const char *item;
        const char *window;
    } windows[] = {
        {"Tm_Adjust", "Form8"},     {"Optics_Calibration", "Form6"},
        {"Calibrated_Values", "Form4"}, {"Sensors", "Form9"},
        {"Sensor_Timing", "Form2"}, {"gd", "Form12"},
        {"mk_bul", "Form13"},       {"Comm_Set", "ConfigScrn"},
        {"Db", "Form7"},
    };
    for (const auto &entry : windows) {
        console.findChild<QAction *>(QLatin1String(entry.item))->trigger();
        settle(reader, line);
        QWidget *window = topLevel(entry.window);
        if (window && QLatin1String(entry.window) == QLatin1String("Form12")) {
            // Line 5 holds marks of the number.
            window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("5"));
            click(window->findChild<QPushButton *>(QStringLiteral("Command3"))); // "OK"
            settle(reader, line);
        }
        const QByteArray name = "markservice-" + QByteArray(entry.window);
        save(window, name.constData());
        if (window)
            window->close();
        settle(reader, line);
    }
    console.close();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowpictures OUTPUT_FOLDER\n");
        return 2;
    }
    outFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outFolder);

    StationRig rig;
    rig.addForm(QStringLiteral("sinav.fmt"), Samples::kSinav);
    rig.addForm(QStringLiteral("anket.fmt"), Samples::kAnket);
    QFile::copy(QStringLiteral(OMR_SOURCE_DIR "/demo/fmt/sinav.gif"),
                rig.fx.fmtFolder() + QStringLiteral("sinav.gif"));
    for (const QByteArray number : {"20260001", "20260002", "20260003"})
        rig.addSheet(QStringLiteral("sinav.fmt"), Samples::sinavSheet(number));
    if (!rig.start()) {
        std::fprintf(stderr, "the station did not start\n");
        return 1;
    }
    rig.w->resize(900, 640);
    rig.choose(QStringLiteral("sinav.fmt"));
    rig.typeDataName(QStringLiteral("DEMO"));
    rig.clickRead();
    settle(rig);
    save(rig.w.get(), "form1");

    click(rig.control("Picture1"));
    save(topLevel("Form3"), "Form3");
    if (QWidget *picture = topLevel("Form3"))
        picture->close();

    readerWindows(rig);
    designerWindows(rig);
    editorWindows(rig);

    rig.clickExit();
    serviceWindows();
    return failures == 0 ? 0 : 1;
}
