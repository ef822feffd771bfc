#include "servicewindow.h"

#include "calibrationwindow.h"
#include "configscrn.h"
#include "cp1254.h"
#include "databitswindow.h"
#include "datquestionwindow.h"
#include "machinesearchwindow.h"
#include "msgbox.h"
#include "protocol.h"
#include "readervalueswindow.h"
#include "sensortimeswindow.h"
#include "serviceeyewindow.h"
#include "servicesensorwindow.h"
#include "settingsfile.h"
#include "timingmarkwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kMostSheets = 10000;
const QString kLineSettings = QStringLiteral("38400,N,8,1");

QString statusText(int status)
{
    switch (status) {
    case 1:
        return QStringLiteral("Hata : -1 Kağıt Sıkıştı");
    case 2:
        return QStringLiteral("Hata : -2 Kağıt Sıkıştı");
    case 3:
        return QStringLiteral("Hata : -3 Tm hatalı Okundu");
    case 4:
        return QStringLiteral("Hata : -4 Kağıt Sıkıştı");
    case 5:
        return QStringLiteral("Hata : -5 Tm hatalı Okundu");
    }
    return QString();
}

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

ServiceWindow::ServiceWindow(const ServiceOptions &options, QWidget *parent)
    : QMainWindow(parent), m_options(options), m_session(new ReaderSession(options.timings, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("OMR OKUMA PROGRAMI"));
    buildMenus();
    buildControls();
    updateCommands();
}

ServiceWindow::~ServiceWindow()
{
    m_session->shutDown();
    // The windows talk through this window's session: they cannot outlive it.
    for (const QPointer<QWidget> &window : std::as_const(m_windows))
        delete window.data();
}

QAction *ServiceWindow::item(QMenu *menu, const char *name, const QString &caption, int key,
                             bool shown)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (key)
        action->setShortcut(QKeySequence(key));
    action->setVisible(shown);
    return action;
}

void ServiceWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto menu = [bar](const char *name, const QString &title) {
        QMenu *made = bar->addMenu(title);
        made->setObjectName(QLatin1String(name));
        return made;
    };

    QMenu *file = menu("File_f", QStringLiteral("Dosya"));
    item(file, "Ex_set", QStringLiteral("Export Setup"), 0, false);
    item(file, "Im_Set", QStringLiteral("Import Setup"), 0, false);
    connect(item(file, "Exit", QStringLiteral("Çıkış")), &QAction::triggered, this,
            &ServiceWindow::exitProgram);

    QMenu *machine = menu("Serial_Comm", QStringLiteral("Makine Ayarları"));
    Machine_En = item(machine, "Machine_En", QStringLiteral("Makineyi Ac"), 0, false);
    Machine_Dis = item(machine, "Machine_Dis", QStringLiteral("Makineyi Kapat"), 0, false);
    QAction *tm = item(machine, "Tm_Adjust", QStringLiteral("Tm Ayari"), Qt::Key_F1);
    item(machine, "Ram_Test", QStringLiteral("Ram Test"), 0, false);
    QAction *calibration =
        item(machine, "Optics_Calibration", QStringLiteral("Kalibrasyon"), Qt::Key_F2);
    QAction *values =
        item(machine, "Calibrated_Values", QStringLiteral("Kalibrasyon Değerleri"), Qt::Key_F3);
    QAction *sensors = item(machine, "Sensors", QStringLiteral("Sensör Kontrolü"), Qt::Key_F4);
    QAction *timing = item(machine, "Sensor_Timing", QStringLiteral("Sensor Zamanlari"));
    item(machine, "send_fmt", QStringLiteral("send Fmt "), 0, false);
    QAction *oku = item(machine, "Oku", QStringLiteral("Oku"), Qt::Key_F6);
    item(machine, "Oku_tek", QStringLiteral("Tekli Oku"), 0, false);
    QAction *eyes = item(machine, "gd", QStringLiteral("Goz Değerleri"), Qt::Key_F7);
    QAction *level = item(machine, "sev_test", QStringLiteral("Seviye Testi"));
    QAction *search = item(machine, "mk_bul", QStringLiteral("Makine bul"), Qt::Key_F8);

    QMenu *properties = menu("Prop", QStringLiteral("Properties"));
    properties->menuAction()->setVisible(false);
    QMenu *adc = properties->addMenu(QStringLiteral("ADC Speed"));
    adc->menuAction()->setObjectName(QStringLiteral("AD_Converter"));
    MHz_20 = item(adc, "MHz_20", QStringLiteral("20 MHz"));
    MHz_4 = item(adc, "MHz_4", QStringLiteral("4 MHz"));
    QMenu *display = properties->addMenu(QStringLiteral("Display Type"));
    display->menuAction()->setObjectName(QStringLiteral("Disp_Type"));
    lcd_disp = item(display, "lcd_disp", QStringLiteral("LCD"));
    Sev_Seg = item(display, "Sev_Seg", QStringLiteral("Seven Segment"));
    // Either of a pair ticked unticks the other; nothing goes to the reader for them.
    for (const auto &[one, other] : {std::pair{MHz_20, MHz_4}, std::pair{lcd_disp, Sev_Seg}}) {
        one->setCheckable(true);
        other->setCheckable(true);
        connect(one, &QAction::triggered, other, [one, other] {
            one->setChecked(true);
            other->setChecked(false);
        });
        connect(other, &QAction::triggered, one, [one, other] {
            other->setChecked(true);
            one->setChecked(false);
        });
    }
    QMenu *paper = properties->addMenu(QStringLiteral("Optic Paper"));
    paper->menuAction()->setObjectName(QStringLiteral("Opt_paper"));
    item(paper, "Num_TM", QStringLiteral("Number of TM"));
    item(paper, "Num_Col", QStringLiteral("Number of Column"));
    QAction *dataBits = item(paper, "Db", QStringLiteral("Data Bits"));

    QMenu *pc = menu("PC_Settings", QStringLiteral("Bilgisayar Ayarları"));
    QAction *comm = item(pc, "Comm_Set", QStringLiteral("Bağlantı Değerleri"), Qt::Key_F5);
    connect(item(pc, "p_v", QStringLiteral("Program Versiyonu"), Qt::Key_F9), &QAction::triggered,
            this, [this] {
                MsgBox::show(this, QStringLiteral("Optical Mark Reader  version  1.06"),
                             MsgBox::Buttons::Ok, MsgBox::Icon::None, QStringLiteral(" "));
            });

    m_readerItems = {tm, calibration, values, sensors, timing, oku, eyes, level, search, comm};
    m_oku = oku;
    connect(oku, &QAction::triggered, this, &ServiceWindow::Oku);
    connect(level, &QAction::triggered, this, [this] {
        Command5->show();
        Command6->show();
        Text2->show();
    });

    // A window already open is brought forward; only a new one wakes the reader first.
    const auto afterAttention = [this](QAction *action, const QString &name, auto make) {
        connect(action, &QAction::triggered, this, [this, name, make] {
            if (m_windows.value(name))
                openOnce(name, make);
            else
                withAttention([this, name, make] { openOnce(name, make); });
        });
    };
    afterAttention(values, QStringLiteral("Form4"), [this] {
        return new ReaderValuesWindow(*m_session, Text1, ReaderWindow::Look::Service);
    });
    connect(timing, &QAction::triggered, this, [this] {
        openOnce(QStringLiteral("Form2"), [this] {
            return new SensorTimesWindow(*m_session, Text1, ReaderWindow::Look::Service);
        });
    });
    afterAttention(tm, QStringLiteral("Form8"),
                   [this] { return new TimingMarkWindow(*m_session); });
    afterAttention(calibration, QStringLiteral("Form6"),
                   [this] { return new CalibrationWindow(*m_session); });
    afterAttention(sensors, QStringLiteral("Form9"),
                   [this] { return new ServiceSensorWindow(*m_session); });
    afterAttention(eyes, QStringLiteral("Form12"),
                   [this] { return new ServiceEyeWindow(*m_session); });
    connect(search, &QAction::triggered, this, [this] {
        // The port search starts from the port the line is on now.
        m_portLine = portLineOf(m_session->line()->portName());
        openOnce(QStringLiteral("Form13"), [this] {
            return new MachineSearchWindow(*m_session, m_portLine, [this] { return Command4(); });
        });
    });
    connect(comm, &QAction::triggered, this, [this] {
        openOnce(QStringLiteral("ConfigScrn"), [this] {
            auto *dialog = new ConfigScrn(*m_session->line());
            connect(dialog, &ConfigScrn::portChosen, this,
                    [this](int index) { m_portLine = QString::number(index); });
            return dialog;
        });
    });
    connect(dataBits, &QAction::triggered, this,
            [this] { openOnce(QStringLiteral("Form7"), [] { return new DataBitsWindow; }); });
}

void ServiceWindow::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    Label1 = named(new QLabel(QStringLiteral("Fmt Dosya ismini yazınız"), central), "Label1");
    Text1 = named(new QLineEdit(central), "Text1");
    Label2 = named(new QLabel(QStringLiteral("0"), central), "Label2");
    Label3 = named(new QLabel(central), "Label3");
    Label4 = named(new QLabel(central), "Label4");
    Command2 = named(new QPushButton(QStringLiteral("Kağıdı Çıkar"), central), "Command2");
    Command5 = named(new QPushButton(QStringLiteral("Seviye"), central), "Command5");
    Text2 = named(new QLineEdit(QStringLiteral("35"), central), "Text2");
    Command6 = named(new QPushButton(QStringLiteral("İptal"), central), "Command6");
    // Routines with a button's name, never shown.
    Command1 = named(new QPushButton(central), "Command1");
    Command4Button = named(new QPushButton(central), "Command4");
    Command1->hide();
    Command4Button->hide();
    // The counter is read from across the room; the data line column by column.
    QFont counterFont = Label2->font();
    counterFont.setPointSizeF(counterFont.pointSizeF() * 1.6);
    counterFont.setBold(true);
    Label2->setFont(counterFont);
    QFont dataFont(QStringLiteral("Courier New"));
    dataFont.setStyleHint(QFont::TypeWriter);
    Label3->setFont(dataFont);
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label3->setMinimumWidth(360);
    Text2->setMaximumWidth(60);

    auto *fmtRow = new QHBoxLayout;
    fmtRow->addWidget(Label1);
    fmtRow->addWidget(Text1, 1);
    auto *levelRow = new QHBoxLayout;
    levelRow->addWidget(Command5);
    levelRow->addWidget(Text2);
    levelRow->addWidget(Command6);
    levelRow->addStretch();
    levelRow->addWidget(Command2);
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(fmtRow);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addStretch();
    layout->addLayout(levelRow);

    connect(Command2, &QPushButton::clicked, this, &ServiceWindow::ejectSheet);
    connect(Command5, &QPushButton::clicked, this, &ServiceWindow::Seviye);
    connect(Command6, &QPushButton::clicked, this, [this] {
        Command5->hide();
        Command6->hide();
        Text2->hide();
    });
    connect(Command4Button, &QPushButton::clicked, this, [this] { Command4(); });
    resize(520, 240);
}

bool ServiceWindow::startUp()
{
    MHz_4->setChecked(true);
    lcd_disp->setChecked(true);
    Command5->hide();
    Command6->hide();
    Text2->hide();
    show();

    PathSettings settings;
    QString error;
    switch (readPathFile(QDir(m_options.folder).filePath(QStringLiteral("path.txt")), &settings,
                         &error)) {
    case PathFileRead::Read:
        break;
    case PathFileRead::Missing:
        Label4->setText(QStringLiteral("path.txt bulunamadı; Fmt adı boş, port 1 ile başlandı."));
        break;
    case PathFileRead::Unreadable:
        Label4->setText(QStringLiteral("path.txt okunamadı (%1); Fmt adı boş, port 1 ile başlandı.")
                            .arg(error));
        break;
    }
    Text1->setText(settings.fmtName);
    m_portLine = settings.portLine;

    if (!askDatName())
        return false;
    setWindowTitle(QStringLiteral("OPTICAL MARK READER        (") + m_datName + u')');
    const QString datPath = QDir(m_options.folder).filePath(m_datName);
    if (QFile::exists(datPath) && m_options.autoReadData.isEmpty()) {
        auto *question = new DatQuestionWindow;
        connect(question, &DatQuestionWindow::answered, this, &ServiceWindow::openDat);
        m_windows.insert(question->objectName(), question);
        question->show();
    } else {
        openDat(true);
    }
    openPort();
    if (!m_options.autoReadFmt.isEmpty() && m_data.isOpen()) {
        Text1->setText(m_options.autoReadFmt);
        QTimer::singleShot(0, this, &ServiceWindow::Oku);
    }
    return true;
}

bool ServiceWindow::askDatName()
{
    if (!m_options.autoReadData.isEmpty()) {
        m_datName = m_options.autoReadData.trimmed().toUpper();
        return true;
    }
    for (;;) {
        const QString name = MsgBox::input(this, QStringLiteral("Dat Dosyasının İsmini Yazınız"),
                                           QStringLiteral("Dat Dosyası İsmini Giriniz"))
                                 .trimmed()
                                 .toUpper();
        if (name.isEmpty())
            return false;
        // A folder or a character the file system refuses would write the sheets elsewhere or
        // nowhere: the name is asked for again.
        const QString problem = DataFile::nameProblem(name);
        if (problem.isEmpty()) {
            m_datName = name;
            return true;
        }
        MsgBox::show(this, problem, MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
    }
}

void ServiceWindow::openDat(bool append)
{
    const QString path = QDir(m_options.folder).filePath(m_datName);
    if (!m_data.open(path, !append)) {
        MsgBox::show(
            this, QStringLiteral("Dat dosyası açılamadı: %1\n%2").arg(path, m_data.errorString()),
            MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return;
    }
    updateCommands();
}

void ServiceWindow::openPort()
{
    const QString portName = portNameFor(m_portLine);
    if (!m_session->open(portName, kLineSettings))
        MsgBox::show(
            this,
            portName.isEmpty()
                ? QStringLiteral("Seri port açılamadı: \"%1\" bir port değil.").arg(m_portLine)
                : m_session->line()->errorString(),
            MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
}

void ServiceWindow::updateCommands()
{
    // One reading at a time, and none before the DAT file is open: a sheet taken from the tray
    // must have a place to go.
    for (QAction *action : std::as_const(m_readerItems))
        action->setEnabled(!m_reading);
    Command2->setEnabled(!m_reading);
    m_oku->setEnabled(!m_reading && m_data.isOpen());
    Command5->setEnabled(!m_reading && m_data.isOpen());
}

Attention ServiceWindow::Command4()
{
    QPointer<ServiceWindow> self(this);
    const Attention result = attentionLoop(m_session->commands(), [self](char reply) {
        if (!self)
            return;
        // The reader's own switch: 1 it is on, 2 it is off.
        if (reply == Reader::kReady || reply == Reader::kSwitchedOff) {
            self->Machine_Dis->setEnabled(reply == Reader::kReady);
            self->Machine_En->setEnabled(reply == Reader::kSwitchedOff);
        }
    });
    if (!self || m_closing)
        return Attention::Aborted;
    if (result == Attention::NoAnswer)
        Label4->setText(QStringLiteral("Optik okuyucu cevap vermedi; komut gönderilmedi."));
    else if (result == Attention::PortLost)
        Label4->setText(QStringLiteral("Optik okuyucu ile bağlantı kesildi; komut gönderilmedi."));
    return result;
}

void ServiceWindow::withAttention(const std::function<void()> &open)
{
    QPointer<ServiceWindow> self(this);
    m_session->whenIdle(this, [self, open] {
        if (self && self->Command4() == Attention::Ready)
            open();
    });
}

void ServiceWindow::openOnce(const QString &name, const std::function<QWidget *()> &make)
{
    if (QWidget *open = m_windows.value(name)) {
        open->raise();
        open->activateWindow();
        return;
    }
    QWidget *window = make();
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.insert(name, window);
    window->show();
}

bool ServiceWindow::replied(const SerialLine::Reply &reply)
{
    if (m_closing)
        return false;
    switch (reply.outcome) {
    case SerialLine::Outcome::Data:
        return true;
    case SerialLine::Outcome::TimedOut:
        Label4->setText(QStringLiteral("Optik okuyucu cevap vermedi; okuma durdu."));
        return false;
    case SerialLine::Outcome::PortError:
        Label4->setText(QStringLiteral("Optik okuyucu ile bağlantı kesildi; okuma durdu."));
        return false;
    case SerialLine::Outcome::Aborted:
        return false;
    }
    return false;
}

void ServiceWindow::Oku()
{
    if (!m_reading && m_data.isOpen())
        whileReading([this] { readSheets(); });
}

void ServiceWindow::whileReading(const std::function<void()> &work)
{
    QPointer<ServiceWindow> self(this);
    m_session->whenIdle(this, [self, work] {
        if (!self || self->m_reading || self->m_closing)
            return;
        self->m_reading = true;
        self->updateCommands();
        work();
        if (!self)
            return;
        self->m_reading = false;
        if (!self->m_closing)
            self->updateCommands();
    });
}

void ServiceWindow::readSheets()
{
    // Every wait may outlive the window: nothing of it is touched once it is gone.
    QPointer<ServiceWindow> self(this);
    ReaderCommands &commands = m_session->commands();
    SerialLine *line = m_session->line();
    const auto paperWaits = [&] {
        const SerialLine::Reply reply = commands.trayQuery();
        return self && replied(reply) && reply.bytes.at(0) != 0;
    };
    if (Command4() != Attention::Ready || !self || !paperWaits() || !sendFmt())
        return;
    for (int sheet = 0; sheet < kMostSheets; ++sheet) {
        line->discardInput();
        if (!paperWaits())
            return;
        line->discardInput();
        SerialLine::Reply reply = commands.sheetStatus();
        if (!self || !replied(reply))
            return;
        const QString stop = statusText(quint8(reply.bytes.at(0)));
        if (!stop.isEmpty()) {
            Label4->setText(stop);
            return;
        }
        Label4->setText(QStringLiteral("Hata : 0  Kağıt Okundu"));
        reply = commands.sheetData(m_format.dataLength);
        if (!self || !replied(reply) || !takeSheet(reply.bytes) || !paperWaits())
            return;
    }
}

bool ServiceWindow::sendFmt()
{
    const QString name = Text1->text();
    QFile file(QDir(m_options.folder).filePath(name));
    // The file is read before the download starts: a missing one must not leave the reader
    // waiting inside a download.
    if (name.trimmed().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        Label4->setText(QStringLiteral("Fmt dosyası açılamadı: %1").arg(name));
        return false;
    }
    m_format = ServiceFormat::fromFile(file.readAll());
    ReaderCommands &commands = m_session->commands();
    if (!commands.downloadFormat(m_format.downloadText())) {
        Label4->setText(QStringLiteral("Optik okuyucu ile bağlantı kesildi; okuma durdu."));
        return false;
    }
    if (m_format.lastItemShort)
        Label4->setText(QStringLiteral(" Fmt Dosyasi Eksik"));
    return commands.startReading();
}

bool ServiceWindow::takeSheet(const QByteArray &received)
{
    const QByteArray line = m_format.dataLine(received);
    Label3->setText(fromCp1254(line));
    if (!m_data.writeRecord(line)) {
        Label4->setText(QStringLiteral("Dat dosyasına yazılamadı (%1); okuma durdu.")
                            .arg(m_data.errorString()));
        return false;
    }
    Label2->setText(QString::number(++m_sheetCount));
    return true;
}

void ServiceWindow::Seviye()
{
    if (m_reading || !m_data.isOpen())
        return;
    bool ok = false;
    const int level = Text2->text().trimmed().toInt(&ok);
    if (!ok || level < 0 || level > 255) {
        MsgBox::show(this, QStringLiteral("Seviye 0 ile 255 arasında bir tam sayı olmalıdır."),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        Text2->setFocus();
        return;
    }
    if (m_format.fieldLengths.isEmpty()) {
        MsgBox::show(this,
                     QStringLiteral("Seviye okumasından önce fmt dosyası Oku ile okuyucuya "
                                    "gönderilmelidir."),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return;
    }
    whileReading([this, level] {
        QPointer<ServiceWindow> self(this);
        const SerialLine::Reply reply =
            m_session->commands().levelRead(quint8(level), m_format.dataLength);
        if (self && replied(reply))
            takeSheet(reply.bytes);
    });
}

void ServiceWindow::ejectSheet()
{
    withAttention([this] { m_session->commands().eject(); });
}

QString ServiceWindow::portLineOf(const QString &portName) const
{
    if (const int number = portNumberFor(portName))
        return QString::number(number);
    return portName.isEmpty() ? m_portLine : portName;
}

void ServiceWindow::exitProgram()
{
    m_data.close();
    // The port the line is on now counts, not one chosen in the settings dialog and cancelled.
    m_portLine = portLineOf(m_session->line()->portName());
    PathSettings settings;
    settings.fmtName = Text1->text();
    settings.portLine = m_portLine;
    QString error;
    const QString path = QDir(m_options.folder).filePath(QStringLiteral("path.txt"));
    if (!writePathFile(path, settings, &error))
        MsgBox::show(this, QStringLiteral("path.txt yazılamadı: %1\n%2").arg(path, error),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
    close();
}

void ServiceWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_closing)
        return;
    m_closing = true;
    m_session->line()->abortWaits();
    m_data.close();
    for (const QPointer<QWidget> &window : std::as_const(m_windows))
        if (window)
            window->close();
    m_session->line()->close();
}
