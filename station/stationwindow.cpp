#include "stationwindow.h"

#include "clicklabel.h"
#include "cp1254.h"
#include "fmtline.h"
#include "gridedit.h"
#include "msgbox.h"
#include "pictures.h"
#include "picturewindow.h"
#include "protocol.h"
#include "record.h"
#include "sdiwindow.h"
#include "twips.h"
#include "val.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Orvel_KESA OMR Reading Ver: 3.7");

// How often automatic reading lets the window handle its events when the reader answers at
// once: often enough for a stop click and a fluent display, rarely enough to cost nothing.
constexpr int kEventTurnMs = 40;

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(const char *name, const QString &caption, const QString &toolTip = QString())
{
    auto *b = named(new QPushButton(caption), name);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

int heartbeatFromEnvironment()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("OMR_HEARTBEAT_MS", &ok);
    return ok && ms > 0 ? ms : 3000;
}

// The file names of a folder that match a pattern, in the order a file list shows them.
QStringList listFolder(const QString &folder, const QString &pattern)
{
    QDir dir(folder);
    dir.setNameFilters({pattern});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

} // namespace

StationWindow::StationWindow(QWidget *parent)
    : QWidget(parent), MSComm1(new SerialLine(this)), Timer2(new QTimer(this)), m_link(MSComm1)
{
    setObjectName(QStringLiteral("form1"));
    setWindowTitle(kCaption);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    buildControls();

    connect(Timer2, &QTimer::timeout, this, &StationWindow::heartbeatTick);
    connect(MSComm1, &SerialLine::portLost, this, &StationWindow::onPortLost);
    connect(Combo1, &QComboBox::activated, this, &StationWindow::chooseFormat);
    connect(Command6, &QPushButton::clicked, this, &StationWindow::resetCounter);
    connect(Command3, &QPushButton::clicked, this, &QWidget::close);
    connect(Picture1, &ClickLabel::clicked, this, &StationWindow::openPictureWindow);
    connect(Command5, &QPushButton::clicked, this, &StationWindow::openEditor);
    connect(Command1, &QPushButton::clicked, this, &StationWindow::readAutomatically);
    connect(Command4, &QPushButton::clicked, this, &StationWindow::readOneSheet);
    connect(Command2, &QPushButton::clicked, this, &StationWindow::stopReading);
    Command1->installEventFilter(this);
    Command4->installEventFilter(this);
    m_gridEditor = new GridEditor(MSG, Text1, this);
    connect(m_gridEditor, &GridEditor::doubleClicked, this, [this] { m_gridEdited = true; });
    connect(Label3, &ClickLabel::clicked, this, &StationWindow::openEditor);
}

StationWindow::~StationWindow()
{
    MSComm1->abortWaits();
}

void StationWindow::buildControls()
{
    Label1 = named(new QLabel(QStringLiteral("Okunacak Formun Adı")), "Label1");
    Combo1 = named(new QComboBox, "Combo1");
    Combo1->setToolTip(QStringLiteral("Formun tanımlandığı FMT(Tanım Dosyası) 'nın Adı"));
    Label2 = named(new QLabel(QStringLiteral("Dosya Adı")), "Label2");
    dosyaadi = named(new QComboBox, "dosyaadi");
    dosyaadi->setEditable(true);
    dosyaadi->setInsertPolicy(QComboBox::NoInsert);
    dosyaadi->setToolTip(QStringLiteral("Formun tanımlandığı FMT(Tanım Dosyası) 'nın Adı"));

    Frame2 = named(new QGroupBox(QStringLiteral("Okuma Kontrol")), "Frame2");
    Command1 = button("Command1", QStringLiteral("Form Oku"),
                      QStringLiteral("Optik okuyucudan otomatik okuma işlemini başlatır"));
    Command1->setIcon(QIcon(readButtonPicture()));
    Command1->setIconSize(QSize(28, 32));
    Command1->setMinimumHeight(44);
    Command2 = button("Command2", QStringLiteral("Durdur"),
                      QStringLiteral("Otomatik okuma çalışırken okumayı durdurur"));
    Command4 = button("Command4", QStringLiteral("Tek tek okut"),
                      QStringLiteral("Optik Okuyucudan tek bir kağıdın okunmasını sağlar"));
    auto *readBox = new QVBoxLayout(Frame2);
    readBox->addWidget(Command1);
    auto *readRow = new QHBoxLayout;
    readRow->addWidget(Command2);
    readRow->addWidget(Command4);
    readBox->addLayout(readRow);

    Frame1 = named(new QGroupBox(QStringLiteral("Ayarlar")), "Frame1");
    Frame1->setToolTip(QStringLiteral(
        "Optik Okuyucunun mikro işlemci değerlerini değiştirir (Dİkkatli Kullanın)"));
    Command10 = button("Command10", QStringLiteral("Sensör Kontrol"),
                       QStringLiteral("Kağıt sensörlerinin durumu ve test"));
    Command7 = button("Command7", QStringLiteral("Sensör Zamanları"),
                      QStringLiteral("Sensör zamanları, geçiş ayarları"));
    Command8 = button("Command8", QStringLiteral("Göz Değerleri"),
                      QStringLiteral("okuyucu gözlerin son okuma değerleri"));
    Command9 = button("Command9", QStringLiteral("Okuyucu Değerleri"),
                      QStringLiteral("Motor hızları ve Okuma ayarları"));
    auto *settingsGrid = new QGridLayout(Frame1);
    settingsGrid->addWidget(Command10, 0, 0);
    settingsGrid->addWidget(Command7, 0, 1);
    settingsGrid->addWidget(Command8, 1, 0);
    settingsGrid->addWidget(Command9, 1, 1);

    Command6 =
        button("Command6", QStringLiteral("Sıfırla "), QStringLiteral("Kağıt sayacını sıfırlar"));
    ssay = named(new QLabel(QStringLiteral("0")), "ssay");
    ssay->setToolTip(QStringLiteral("Okunan ve dosyaya yazılan kağıt sayısı"));
    ssay->setFrameShape(QFrame::Panel);
    ssay->setFrameShadow(QFrame::Sunken);
    ssay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ssay->setMinimumWidth(80);
    QFont counterFont = ssay->font();
    counterFont.setBold(true);
    counterFont.setPointSizeF(counterFont.pointSizeF() * 1.4);
    ssay->setFont(counterFont);
    Command11 = button("Command11", QStringLiteral("FMT Yazımı"));
    Command5 = button("Command5", QStringLiteral("Editör"));
    Command3 = button("Command3", QStringLiteral("Çıkış"), QStringLiteral("Programdan çıkış"));

    Image1 = named(new ClickLabel, "Image1");
    Image1->setPixmap(logoPicture());
    Image1->setAlignment(Qt::AlignCenter);
    Image2 = named(new QLabel, "Image2");
    Image2->setPixmap(readerPresentPicture());
    Image3 = named(new QLabel, "Image3");
    Image3->setPixmap(readerAbsentPicture());
    Image2->setVisible(false);

    Optik_Durum = named(new QLabel, "Optik_Durum");
    Optik_Durum->setToolTip(QStringLiteral("Operasyon durum göstergesi"));
    Optik_Durum->setFrameShape(QFrame::Panel);
    Optik_Durum->setFrameShadow(QFrame::Sunken);
    Optik_Durum->setMinimumHeight(26);
    QFont statusFont = Optik_Durum->font();
    statusFont.setBold(true);
    Optik_Durum->setFont(statusFont);

    // The grid has no headings of its own; three labels stand over its columns.
    const int widths[3] = {twipsToScreen(1300), twipsToScreen(4600), twipsToScreen(1450)};
    Label3 = named(new ClickLabel(QStringLiteral("BAŞLIK")), "Label3");
    Label4 = named(new QLabel(QStringLiteral("OKUNAN BİLGİ")), "Label4");
    Label5 = named(new QLabel(QStringLiteral("KONTROL")), "Label5");
    QLabel *headings[3] = {Label3, Label4, Label5};
    for (int i = 0; i < 3; ++i) {
        headings[i]->setFixedWidth(widths[i]);
        headings[i]->setAlignment(Qt::AlignCenter);
        headings[i]->setFrameShape(QFrame::Panel);
        headings[i]->setFrameShadow(QFrame::Raised);
        QFont f = headings[i]->font();
        f.setBold(true);
        headings[i]->setFont(f);
    }
    MSG = named(new QTableWidget(0, 3), "MSG");
    MSG->horizontalHeader()->setVisible(false);
    MSG->verticalHeader()->setVisible(false);
    for (int i = 0; i < 3; ++i)
        MSG->setColumnWidth(i, widths[i]);
    MSG->setFixedWidth(widths[0] + widths[1] + widths[2] + 2 * MSG->frameWidth() +
                       MSG->verticalScrollBar()->sizeHint().width());
    MSG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // No selection highlight: it would hide the colour of a value that hit its check text;
    // the current cell shows by its focus frame.
    MSG->setSelectionMode(QAbstractItemView::NoSelection);
    // Values line up character by character, as they stand in the data file.
    MSG->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MSG->setWordWrap(false);
    Text1 = named(new QLineEdit(MSG->viewport()), "Text1");
    Text1->setVisible(false);

    Picture1 = named(new ClickLabel, "Picture1");
    Picture1->setFixedSize(150, 110);
    Picture1->setScaledContents(true);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setVisible(false);
    Picture1->setEnabled(false);

    // Left: choices and buttons. Right: the grid under its headings.
    auto *left = new QVBoxLayout;
    left->addWidget(Image1);
    left->addSpacing(6);
    left->addWidget(Label1);
    left->addWidget(Combo1);
    left->addWidget(Label2);
    left->addWidget(dosyaadi);
    left->addWidget(Frame2);
    auto *counterRow = new QHBoxLayout;
    counterRow->addWidget(Command6);
    counterRow->addWidget(ssay, 1);
    left->addLayout(counterRow);
    left->addWidget(Frame1);
    auto *toolRow = new QHBoxLayout;
    toolRow->addWidget(Command11);
    toolRow->addWidget(Command5);
    left->addLayout(toolRow);
    left->addStretch(1);
    left->addWidget(Picture1, 0, Qt::AlignHCenter);
    left->addWidget(Command3);

    auto *headingRow = new QHBoxLayout;
    headingRow->setSpacing(0);
    headingRow->setContentsMargins(MSG->frameWidth(), 0, 0, 0);
    headingRow->addWidget(Label3);
    headingRow->addWidget(Label4);
    headingRow->addWidget(Label5);
    headingRow->addStretch(1);
    auto *right = new QVBoxLayout;
    right->setSpacing(0);
    right->addLayout(headingRow);
    right->addWidget(MSG, 1);

    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(Image2);
    statusRow->addWidget(Image3);
    statusRow->addWidget(Optik_Durum, 1);

    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(8);
    columns->addLayout(right, 1);
    auto *root = new QVBoxLayout(this);
    root->addLayout(columns, 1);
    root->addLayout(statusRow);
    resize(sizeHint().width(), 600);
}

bool StationWindow::startUp(const QString &settingsPath)
{
    QString error;
    if (!readOptikIni(settingsPath, &m_settings, &error)) {
        MsgBox::show(this, error + QStringLiteral("\n\nProgram kapatılıyor."), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Critical);
        return false;
    }
    listDataFiles();
    listFmtFiles();
    ssay->setText(QStringLiteral("0"));
    m_recordPending = m_gridEdited = m_dataFileOpen = false;
    m_heartbeatInterval = heartbeatFromEnvironment();
    MSG->setRowCount(0);
    stopHeartbeat();

    if (!m_link.OpenReaderPort(m_settings.portName(), m_settings.portSettings)) {
        MsgBox::show(
            this,
            MSComm1->errorString() +
                QStringLiteral("\n(%1, 1. ve 2. satır)\n\nProgram kapatılıyor.").arg(settingsPath),
            MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
        return false;
    }
    showStatus(QStringLiteral("Seri Port Açıldı"));

    m_readerPresent = false;
    m_readerPresent = m_link.WakeReader();
    if (m_shutDown)
        return false;
    ShowReaderState();
    ArmHeartbeat();
    return true;
}

void StationWindow::listDataFiles()
{
    dosyaadi->clear();
    for (const QString &name :
         listFolder(m_settings.dataFolder, QStringLiteral("*") + m_settings.dataExtension))
        dosyaadi->addItem(name.section(u'.', 0, 0));
    dosyaadi->setCurrentIndex(-1);
}

void StationWindow::listFmtFiles()
{
    Combo1->clear();
    Combo1->addItems(listFolder(m_settings.fmtFolder, QStringLiteral("*.fmt")));
    Combo1->setCurrentIndex(-1);
}

void StationWindow::showStatus(const QString &text)
{
    if (Optik_Durum->text() != text)
        Optik_Durum->setText(text);
}

void StationWindow::ShowReaderState()
{
    showStatus(m_readerPresent ? QStringLiteral("Optik Okuyucu Açık")
                               : QStringLiteral("Optik Okuyucu ile iletişim yok"));
    Image2->setVisible(m_readerPresent);
    Image3->setVisible(!m_readerPresent);
    Combo1->setEnabled(m_readerPresent);
    dosyaadi->setEnabled(m_readerPresent);
    Frame1->setEnabled(m_readerPresent && !m_readCommandRunning);
}

void StationWindow::ArmHeartbeat()
{
    if (m_shutDown)
        return;
    Timer2->setInterval(m_heartbeatInterval);
    Timer2->start();
}

void StationWindow::stopHeartbeat()
{
    Timer2->stop();
}

void StationWindow::heartbeatTick()
{
    stopHeartbeat();
    // Another exchange is under way (a window that forgot the heartbeat): leave it alone.
    if (MSComm1->isWaiting() || m_readCommandRunning) {
        ArmHeartbeat();
        return;
    }
    const bool wasPresent = m_readerPresent;
    if (m_readerPresent) {
        m_readerPresent = m_link.heartbeatPing();
        if (m_shutDown)
            return;
        ShowReaderState();
    }
    if (!wasPresent || !m_readerPresent) {
        m_readerPresent = m_link.WakeReader();
        if (m_shutDown)
            return;
        ShowReaderState();
        if (!m_readerPresent) {
            Combo1->setEnabled(false);
            dosyaadi->setEnabled(false);
            ArmHeartbeat();
            return;
        }
    }
    Combo1->setEnabled(true);
    dosyaadi->setEnabled(true);
    ArmHeartbeat();
}

void StationWindow::onPortLost(const QString &message)
{
    showStatus(message);
}

void StationWindow::chooseFormat(int index)
{
    const QString name = Combo1->itemText(index);
    if (name.isEmpty())
        return;
    m_fmtFileName = name;
    m_pictureFile = m_settings.fmtFolder + name.left(name.size() - 4) + QStringLiteral(".gif");
    LoadFormat(m_settings.fmtFolder + m_fmtFileName);
}

void StationWindow::showMessage(const QString &text)
{
    MsgBox::show(this, text, MsgBox::Buttons::Ok, MsgBox::Icon::Information);
}

int StationWindow::fmt_kontrol(QString &line)
{
    const formdef::FieldLineCheck check = formdef::fmt_kontrol(line);
    if (check.missingEnd)
        showMessage(QStringLiteral("son"));
    return check.fieldLength;
}

void StationWindow::LoadFormat(const QString &path)
{
    QFile file(path);
    FieldTable::LoadReport report;
    if (file.open(QIODevice::ReadOnly)) {
        report = m_table.load(file.readAll());
    } else {
        m_table.clear();
        report.faulty = true;
        report.messages
            << QStringLiteral("FMT dosyası açılamadı: %1\n%2").arg(path, file.errorString());
    }
    for (const QString &message : std::as_const(report.messages))
        showMessage(message);

    if (report.faulty) {
        MSG->setRowCount(0);
        MSG->clearContents();
        showMessage(
            QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız hataları düzeltiniz"));
        m_readFailed = true;
        return;
    }
    // The caption follows the form while its header names one.
    setWindowTitle(report.hasCaption ? report.caption : kCaption);

    MSG->setRowCount(m_table.fieldCount());
    for (int i = 2; i < m_table.lineCount(); ++i) {
        const int row = i - 2;
        auto cell = [this, row](int column) {
            QTableWidgetItem *item = MSG->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                MSG->setItem(row, column, item);
            }
            return item;
        };
        cell(0)->setText(m_table.fieldTitle(i));
        cell(1);
        // A check text the operator typed survives a reload.
        if (cell(2)->text().trimmed().isEmpty())
            cell(2)->setText(m_table.fieldCheck(i));
    }
    showPicture();
}

bool StationWindow::SendFormat()
{
    stopHeartbeat();
    if (m_table.formatFaulty()) {
        showMessage(QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız"));
        m_readFailed = true;
        ArmHeartbeat();
        return false;
    }
    MSComm1->write(Reader::kFormatBegin);
    m_expectedLength = 0;
    for (int i = 1; i < m_table.lineCount(); ++i) {
        MSComm1->write(toCp1254(m_table.formatLine(i)));
        m_expectedLength += m_table.fieldLength(i);
    }
    MSComm1->write(Reader::kFormatEnd);
    ArmHeartbeat();
    return true;
}

void StationWindow::PrepareReading()
{
    stopHeartbeat();
    m_table.clear();
    LoadFormat(m_settings.fmtFolder + m_fmtFileName);
    if (!SendFormat() || m_table.formatFaulty())
        return;
    showStatus(QStringLiteral("Optik okuyucu Hazır"));
    MSComm1->write(Reader::kStartReading);
    m_readFailed = false;
    ArmHeartbeat();
}

void StationWindow::showPicture()
{
    const bool exists = QFileInfo::exists(m_pictureFile);
    Picture1->setEnabled(exists);
    Picture1->setVisible(exists);
    if (exists)
        Picture1->setPixmap(QPixmap(m_pictureFile));
    else
        Picture1->clear();
}

void StationWindow::openPictureWindow()
{
    if (!m_pictureWindow) {
        m_pictureWindow = new PictureWindow(m_pictureFile, this);
        connect(m_pictureWindow, &PictureWindow::closed, Picture1, qOverload<>(&QWidget::setFocus));
    }
    m_pictureWindow->show();
    m_pictureWindow->raise();
}

void StationWindow::resetCounter()
{
    ssay->setText(QStringLiteral("0"));
}

void StationWindow::openEditor()
{
    showEditor();
}

void StationWindow::closeEvent(QCloseEvent *event)
{
    // Other windows first: the editor may hold unsaved text, and its Cancel keeps us open.
    if (!m_shutDown) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window != this && window->isVisible() && !window->close()) {
                event->ignore();
                return;
            }
        }
    }
    ShutDown();
    event->accept();
}

void StationWindow::ShutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    stopHeartbeat();
    // A wait in progress ends here; its handler sees m_shutDown and stops.
    MSComm1->abortWaits();
    MSComm1->discardInput();
    if (MSComm1->isOpen())
        MSComm1->write(QByteArray(Reader::kAttention));
    m_gridEditor->commit();
    if (m_recordPending)
        WriteRecord();
    m_recordPending = false;
    closeDataFile();
    MSComm1->close();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->close();
    QCoreApplication::quit();
}

// ---- Reading -------------------------------------------------------------------------------

namespace {

// Light orange for a value that hits its check text, white otherwise.
const QColor kHitColour = colorFromBgr(0x80C0FF);
const QColor kPlainColour = colorFromBgr(0xFFFFFF);

QTableWidgetItem *itemAt(QTableWidget *grid, int row, int column)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    return item;
}

} // namespace

bool StationWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The read buttons check the choice as soon as they get the focus, before their click.
    if ((watched == Command1 || watched == Command4) && event->type() == QEvent::FocusIn &&
        !m_readCommandRunning && !m_shutDown)
        ValidateSelection();
    return QWidget::eventFilter(watched, event);
}

void StationWindow::autoRead(const QString &fmtFileName, const QString &dataName)
{
    const int index = Combo1->findText(fmtFileName);
    if (index < 0) {
        showStatus(QStringLiteral("FMT dosyası bulunamadı: %1").arg(fmtFileName));
        return;
    }
    Combo1->setCurrentIndex(index);
    chooseFormat(index);
    dosyaadi->setCurrentText(dataName);
    ValidateSelection();
    readAutomatically();
}

void StationWindow::GridEdit(int key)
{
    m_gridEditor->GridEdit(key);
}

bool StationWindow::leaveDataFile(const QString &warning)
{
    MsgBox::show(this, warning, MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
    if (!writePendingRecord())
        return false; // the old file keeps its pending sheet until it is written
    closeDataFile();
    return true;
}

void StationWindow::ValidateSelection()
{
    const QString dataName = dosyaadi->currentText();
    // Both warnings come when both names changed.
    if (m_dataFileOpen) {
        const bool dataChanged = dataName != m_lastDataName;
        const bool fmtChanged = m_fmtFileName != m_lastFmtName;
        if (dataChanged &&
            !leaveDataFile(QStringLiteral("Data dosyası adını değiştirdiniz bundan sonraki "
                                          "formlar bu dosyaya kayıt edilecek"))) {
            m_readyToRead = false;
            return;
        }
        if (fmtChanged &&
            !leaveDataFile(QStringLiteral("FMT Dosya adını değiştirdiniz bundan sonraki formlar "
                                          "bu formatta okunacak"))) {
            m_readyToRead = false;
            return;
        }
    }
    m_readyToRead = false;
    if (dataName.trimmed().isEmpty()) {
        MsgBox::show(this, QStringLiteral("DATA DOSYASI ADINI GİRİNİZ"), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Warning);
        return;
    }
    // A name is only a name: no folder, nothing the file system would take otherwise.
    const QString problem = DataFile::nameProblem(dataName);
    if (!problem.isEmpty()) {
        MsgBox::show(this, problem, MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return;
    }
    if (m_fmtFileName.trimmed().isEmpty()) {
        MsgBox::show(this, QStringLiteral("FMT DOSYASINI SEÇİNİZ"), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Warning);
    } else {
        Command1->setEnabled(true);
        Command2->setEnabled(true);
        Command4->setEnabled(true);
        m_readyToRead = true;
    }
    m_lastDataName = dataName;
    m_lastFmtName = m_fmtFileName;
}

void StationWindow::closeDataFile()
{
    m_dataFile.close();
    m_dataFileOpen = false;
    m_recordPending = false;
}

void StationWindow::setReadControlsEnabled(bool enabled)
{
    // While a read command runs, nothing may start another exchange or change the form or
    // the data file under it; only "Durdur" stays.
    Command1->setEnabled(enabled);
    Command4->setEnabled(enabled);
    Combo1->setEnabled(enabled && m_readerPresent);
    dosyaadi->setEnabled(enabled && m_readerPresent);
    Frame1->setEnabled(enabled && m_readerPresent);
}

bool StationWindow::startReading()
{
    if (m_readCommandRunning || m_shutDown)
        return false;
    m_gridEditor->commit();
    m_readCommandRunning = true;
    setReadControlsEnabled(false);
    // No ping may come while the question on the data file waits for the operator.
    stopHeartbeat();
    if (!m_dataFileOpen) {
        if (!m_readyToRead) {
            // The choice was refused when the button got the focus; say it again.
            m_readCommandRunning = false;
            setReadControlsEnabled(true);
            ValidateSelection();
            if (!m_readyToRead)
                return false;
            m_readCommandRunning = true;
            setReadControlsEnabled(false);
        }
        if (!OpenDataFile()) {
            endReading();
            return false;
        }
        PrepareReading();
        if (m_shutDown)
            return false;
        if (m_table.formatFaulty() || m_readFailed) {
            closeDataFile();
            endReading();
            return false;
        }
        m_dataFileOpen = true;
    }
    stopHeartbeat();
    // A new command means the operator is done with the sheet shown.
    if (!writePendingRecord()) {
        endReading();
        return false;
    }
    return true;
}

bool StationWindow::writePendingRecord()
{
    return !m_recordPending || WriteRecord();
}

void StationWindow::endReading()
{
    m_readCommandRunning = false;
    if (m_shutDown)
        return;
    setReadControlsEnabled(true);
    ArmHeartbeat();
}

void StationWindow::readAutomatically()
{
    if (!startReading())
        return;
    QElapsedTimer eventTurn;
    eventTurn.start();
    for (;;) {
        m_stopRequested = false;
        showStatus(QStringLiteral("Okunuyor"));
        const QByteArray sheet = ReadSheet();
        if (m_shutDown)
            return;
        if (m_readFailed)
            break;
        showSheet(sheet, true);
        // Events (the stop button, painting) also run while a slow reader is awaited; a fast
        // one answers at once, so give them a turn here, a few dozen times a second.
        if (eventTurn.elapsed() >= kEventTurnMs) {
            QCoreApplication::processEvents();
            eventTurn.restart();
        }
        if (m_shutDown)
            return;
        if (m_readFailed || m_stopRequested)
            break;
    }
    endReading();
}

void StationWindow::readOneSheet()
{
    if (!startReading())
        return;
    showStatus(QStringLiteral("Form tek tek Okunuyor"));
    const QByteArray sheet = ReadSheet();
    if (m_shutDown)
        return;
    if (!m_readFailed)
        showSheet(sheet, false);
    endReading();
}

void StationWindow::stopReading()
{
    m_stopRequested = true;
    showStatus(QStringLiteral("Okuma duraklatıldı"));
}

bool StationWindow::waitFailed(const QByteArray &reply, int expected)
{
    if (reply.size() >= expected && expected > 0)
        return false;
    m_readFailed = true;
    switch (m_link.lastOutcome()) {
    case SerialLine::Outcome::PortError:
        showStatus(MSComm1->errorString().isEmpty()
                       ? QStringLiteral("Seri port bağlantısı koptu: %1").arg(MSComm1->portName())
                       : MSComm1->errorString());
        break;
    case SerialLine::Outcome::Aborted:
        break;
    default:
        showStatus(QStringLiteral("Optik Okuyucu cevap vermiyor (süre doldu)"));
        break;
    }
    return true;
}

QByteArray StationWindow::ReadSheet()
{
    m_readFailed = false;
    MSComm1->write(Reader::kReadSheet);
    const QByteArray paper = m_link.WaitReply(1);
    if (m_shutDown || waitFailed(paper, 1))
        return QByteArray();
    if (paper.at(0) == 0) {
        // The last sheet of a run stays pending, so the operator can still correct it.
        showStatus(QStringLiteral("Optik Okuyucuda Kağıt yok"));
        m_readFailed = true;
        MSComm1->write(Reader::kStartReading);
        return QByteArray();
    }
    // Another sheet is coming: the one shown is done with.
    if (!writePendingRecord()) {
        m_readFailed = true;
        return QByteArray();
    }
    m_gridEdited = false;

    MSComm1->write(Reader::kSheetStatus);
    const QByteArray status = m_link.WaitReply(1);
    if (m_shutDown || waitFailed(status, 1))
        return QByteArray();
    const int code = static_cast<unsigned char>(status.at(0));
    if (code != 0) {
        QString text;
        if (code == 1 || code == 2 || code == 4)
            text = QStringLiteral("Kağıt Sıkıştı      Hata : -");
        else if (code == 3 || code == 5)
            text = QStringLiteral("Tm Hatalı Okundu   Hata : -");
        else
            text = QStringLiteral("Tanımlanmamış      Hata : -");
        showStatus(text + signedText(code));
        m_readFailed = true;
        MSComm1->write(Reader::kStartReading);
        return QByteArray();
    }

    MSComm1->write(Reader::kSendData);
    const QByteArray data = m_link.WaitReply(m_expectedLength);
    if (m_shutDown)
        return QByteArray();
    if (data.isEmpty() || data.size() < m_expectedLength) {
        m_readFailed = true;
        if (m_link.lastOutcome() == SerialLine::Outcome::PortError)
            waitFailed(data, m_expectedLength);
        else
            showStatus(QStringLiteral("Form Bilgisi Eksik geldi"));
        return QByteArray();
    }
    m_recordPending = true;
    return data;
}

void StationWindow::showSheet(const QByteArray &sheet, bool automatic)
{
    QList<int> lengths;
    for (int i = 2; i < m_table.lineCount(); ++i)
        lengths.append(m_table.fieldLength(i));
    QList<QByteArray> values = record::splitFields(sheet, lengths);
    if (m_table.directionLetter() == formdef::kMarksRight)
        record::ReverseFields(values);

    for (int i = 2; i < m_table.lineCount(); ++i) {
        const int row = i - 2;
        const QString checkCell = itemAt(MSG, row, 2)->text();
        // The grid's check column decides, so a constant typed now holds from this sheet on.
        if (const std::optional<QByteArray> constant = record::constantOf(checkCell))
            values[row] = *constant;
        m_table.fieldValue(i) = values[row];
    }

    for (int i = 2; i < m_table.lineCount(); ++i) {
        const int row = i - 2;
        QTableWidgetItem *value = itemAt(MSG, row, 1);
        value->setBackground(kPlainColour);
        const QString checkCell = itemAt(MSG, row, 2)->text();
        if (!checkCell.isEmpty() && !checkCell.startsWith(u'=') &&
            record::CheckValue(m_table.fieldValue(i), checkCell)) {
            value->setBackground(kHitColour);
            if (automatic) {
                m_stopRequested = true;
                showStatus(QStringLiteral("Okuma duraklatıldı"));
            }
        }
        value->setText(fromCp1254(m_table.fieldValue(i)));
    }
    // The last value shown is the current cell, as after walking the rows one by one.
    if (m_table.fieldCount() > 0)
        MSG->setCurrentCell(m_table.fieldCount() - 1, 1);
}

bool StationWindow::OpenDataFile()
{
    const QString path = m_settings.dataFolder + dosyaadi->currentText() + m_settings.dataExtension;
    bool truncate = false;
    if (QFileInfo::exists(path)) {
        truncate = MsgBox::show(
                       this, path + QStringLiteral("  dosyası mevcuttur. Üzerine eklensin mi?"),
                       MsgBox::Buttons::OkCancel, MsgBox::Icon::Question) == MsgBox::Answer::Cancel;
    }
    if (!m_dataFile.open(path, truncate)) {
        MsgBox::show(
            this,
            QStringLiteral("Data dosyası açılamadı: %1\n%2").arg(path, m_dataFile.errorString()),
            MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
        return false;
    }
    if (m_dataFile.hadTornTail()) {
        MsgBox::show(this,
                     QStringLiteral("%1 dosyasının son satırı yarım kalmış (satır sonu yok). "
                                    "Yeni kayıtlar yeni bir satırdan başlayacak.")
                         .arg(path),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
    }
    if (!m_readCommandRunning)
        setReadControlsEnabled(true);
    const QString typed = dosyaadi->currentText();
    listDataFiles();
    dosyaadi->setCurrentText(typed);
    return true;
}

bool StationWindow::WriteRecord()
{
    QByteArray line;
    if (m_gridEdited) {
        for (int row = 0; row < MSG->rowCount(); ++row)
            line += toCp1254(itemAt(MSG, row, 1)->text());
    } else {
        QList<QByteArray> values;
        for (int i = 2; i < m_table.lineCount(); ++i)
            values.append(m_table.fieldValue(i));
        line = record::joinRecord(values);
    }
    if (!m_dataFile.writeRecord(line)) {
        MsgBox::show(this,
                     QStringLiteral("Data dosyasına yazılamadı: %1\n%2\nOkuma durduruldu; son "
                                    "kağıdın kaydı bekliyor.")
                         .arg(m_dataFile.path(), m_dataFile.errorString()),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
        return false;
    }
    m_recordPending = false;
    ssay->setText(QString::number(qint64(Val(ssay->text())) + 1));
    return true;
}
