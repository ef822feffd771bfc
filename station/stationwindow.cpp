#include "stationwindow.h"

#include "clicklabel.h"
#include "cp1254.h"
#include "designerwindow.h"
#include "eyevalueswindow.h"
#include "fmtline.h"
#include "gridedit.h"
#include "msgbox.h"
#include "pictures.h"
#include "picturewindow.h"
#include "readervalueswindow.h"
#include "sdiwindow.h"
#include "sensorcontrolwindow.h"
#include "sensortimeswindow.h"
#include "testformwindow.h"
#include "twips.h"
#include "val.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
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

// Light orange for a value that hits its check text, white otherwise.
const QColor kHitColour = colorFromBgr(0x80C0FF);
const QColor kPlainColour = colorFromBgr(0xFFFFFF);

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

// The file names of a folder that match a pattern (of any case), in the order a list shows them.
QStringList listFolder(const QString &folder, const QString &pattern)
{
    QDir dir(folder);
    dir.setNameFilters({pattern});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

QTableWidgetItem *itemAt(QTableWidget *grid, int row, int column)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    return item;
}

// Only the operator's own moves to a read button check the choice; the focus that comes back
// when the window is activated again (after a message box, say) must not, or the warning
// would come back each time it is closed.
bool operatorMovedFocus(const QEvent *event)
{
    switch (static_cast<const QFocusEvent *>(event)->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace

StationWindow::StationWindow(const StationOptions &options, QWidget *parent)
    : QWidget(parent), m_options(options), m_session(new ReaderSession(options.timings, this)),
      m_reader(new SheetReader(m_session->commands(), this))
{
    setObjectName(QStringLiteral("form1"));
    setWindowTitle(kCaption);
    buildControls();

    connect(m_session, &ReaderSession::presenceChecked, this, &StationWindow::ShowReaderState);
    connect(m_session, &ReaderSession::portLost, this, &StationWindow::showStatus);
    connect(m_reader, &SheetReader::recordWritten, this,
            [this] { ssay->setText(QString::number(qint64(Val(ssay->text())) + 1)); });
    connect(Combo1, &QComboBox::activated, this, &StationWindow::chooseFormat);
    connect(Command6, &QPushButton::clicked, this, [this] { ssay->setText(QStringLiteral("0")); });
    connect(Command3, &QPushButton::clicked, this, &QWidget::close);
    connect(Picture1, &ClickLabel::clicked, this, &StationWindow::openPictureWindow);
    connect(Command5, &QPushButton::clicked, this, &StationWindow::openEditor);
    connect(Label3, &ClickLabel::clicked, this, &StationWindow::openEditor);
    connect(Command11, &QPushButton::clicked, this, &StationWindow::openDesigner);
    using Look = ReaderWindow::Look;
    connect(Command9, &QPushButton::clicked, this, [this] {
        openReaderWindow(m_readerValues, [this] {
            return new ReaderValuesWindow(*m_session, Command9, Look::Station, this);
        });
    });
    connect(Command7, &QPushButton::clicked, this, [this] {
        openReaderWindow(m_sensorTimes, [this] {
            return new SensorTimesWindow(*m_session, Command7, Look::Station, this);
        });
    });
    connect(Command8, &QPushButton::clicked, this, [this] {
        openReaderWindow(m_eyeValues,
                         [this] { return new EyeValuesWindow(*m_session, Command8, this); });
    });
    connect(Command10, &QPushButton::clicked, this, [this] {
        openReaderWindow(m_sensors,
                         [this] { return new SensorControlWindow(*m_session, Command10, this); });
    });
    connect(Image1, &ClickLabel::clicked, this, [this] {
        openReaderWindow(m_testForm,
                         [this] { return new TestFormWindow(*m_session, Image1, this); });
    });
    connect(Command1, &QPushButton::clicked, this, &StationWindow::readAutomatically);
    connect(Command4, &QPushButton::clicked, this, &StationWindow::readOneSheet);
    connect(Command2, &QPushButton::clicked, this, &StationWindow::stopReading);
    Command1->installEventFilter(this);
    Command4->installEventFilter(this);

    m_gridEditor = new GridEditor(MSG, Text1, this);
    // A double-click edit makes the grid the record; so does every edit committed after it.
    connect(m_gridEditor, &GridEditor::doubleClicked, this, [this] {
        m_gridEdited = true;
        m_reader->setEditedRecord(gridRecord());
    });
    connect(m_gridEditor, &GridEditor::committed, this, [this] {
        if (m_gridEdited)
            m_reader->setEditedRecord(gridRecord());
    });
    // An edit still open when the record goes out belongs to that record.
    m_reader->setBeforeRecordWrite([this] { m_gridEditor->commit(); });
}

StationWindow::~StationWindow()
{
    m_session->shutDown();
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
    // The picture window gives the focus back here when it closes.
    Picture1->setFocusPolicy(Qt::ClickFocus);

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

bool StationWindow::startUp()
{
    QString error;
    if (!readOptikIni(m_options.settingsPath, &m_settings, &error)) {
        MsgBox::show(this, error + QStringLiteral("\n\nProgram kapatılıyor."), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Critical);
        return false;
    }
    listDataFiles();
    listFmtFiles();
    ssay->setText(QStringLiteral("0"));
    m_gridEdited = m_dataFileOpen = false;
    MSG->setRowCount(0);

    if (!m_session->open(m_settings.portName(), m_settings.portSettings)) {
        MsgBox::show(this,
                     m_session->line()->errorString() +
                         QStringLiteral("\n(%1, 1. ve 2. satır)\n\nProgram kapatılıyor.")
                             .arg(m_options.settingsPath),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
        return false;
    }
    showStatus(QStringLiteral("Seri Port Açıldı"));
    m_session->wake();
    if (m_shutDown)
        return false;
    ShowReaderState();
    m_session->startHeartbeat();
    if (!m_options.autoReadFmt.isEmpty() && !m_options.autoReadData.isEmpty())
        QTimer::singleShot(0, this,
                           [this] { autoRead(m_options.autoReadFmt, m_options.autoReadData); });
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
    if (Optik_Durum->text() != text) {
        Optik_Durum->setText(text);
        emit statusShown(text);
    }
}

void StationWindow::showMessage(const QString &text)
{
    MsgBox::show(this, text, MsgBox::Buttons::Ok, MsgBox::Icon::Information);
}

void StationWindow::ShowReaderState()
{
    const bool present = m_session->readerPresent();
    showStatus(present ? QStringLiteral("Optik Okuyucu Açık")
                       : QStringLiteral("Optik Okuyucu ile iletişim yok"));
    Image2->setVisible(present);
    Image3->setVisible(!present);
    Combo1->setEnabled(present && !m_readCommandRunning);
    dosyaadi->setEnabled(present && !m_readCommandRunning);
    Frame1->setEnabled(present && !m_readCommandRunning);
}

// ---- Format ---------------------------------------------------------------------------------

void StationWindow::chooseFormat(int index)
{
    const QString name = Combo1->itemText(index);
    if (name.isEmpty())
        return;
    m_fmtFileName = name;
    // The picture beside X.FMT may be X.GIF: the folder is searched without regard to case.
    m_pictureFile = fileIgnoringCase(m_settings.fmtFolder + name.left(name.size() - 4) +
                                     QStringLiteral(".gif"));
    LoadFormat(m_settings.fmtFolder + m_fmtFileName);
}

int StationWindow::fmt_kontrol(QString &line)
{
    const formdef::FieldLineCheck check = formdef::fmt_kontrol(line);
    if (check.missingEnd)
        showMessage(QStringLiteral("son"));
    return check.fieldLength;
}

bool StationWindow::LoadFormat(const QString &path)
{
    // A correction still open belongs to the sheet shown, whatever the grid shows next.
    m_gridEditor->commit();
    QFile file(path);
    FieldTable::LoadReport report;
    if (file.open(QIODevice::ReadOnly)) {
        report = m_table.load(file.readAll());
    } else {
        m_table.clear();
        report.faulty = true;
        report.messages << QStringLiteral("FMT dosyası açılamadı: %1\n%2")
                               .arg(MsgBox::quoted(path), file.errorString());
    }
    // The caption follows the form while its header names one, also when a line is faulty.
    setWindowTitle(report.hasCaption ? report.caption : kCaption);
    for (const QString &message : std::as_const(report.messages))
        showMessage(message);

    const QFileInfo info(path);
    if (report.faulty) {
        m_refusedPath = path;
        m_refusedStamp = info.lastModified();
        m_refusedSize = info.exists() ? info.size() : -1;
        MSG->setRowCount(0);
        MSG->clearContents();
        showMessage(
            QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız hataları düzeltiniz"));
        return false;
    }
    m_refusedPath.clear();

    MSG->setRowCount(int(m_table.fieldCount()));
    for (int row = 0; row < m_table.fieldCount(); ++row) {
        const FieldTable::Field &field = m_table.fields().at(row);
        itemAt(MSG, row, 0)->setText(field.title);
        itemAt(MSG, row, 1);
        // A check text the operator typed survives a reload.
        QTableWidgetItem *check = itemAt(MSG, row, 2);
        if (check->text().trimmed().isEmpty())
            check->setText(field.check);
    }
    showPicture();
    return true;
}

bool StationWindow::SendFormat()
{
    if (m_table.formatFaulty() || !m_table.isLoaded()) {
        showMessage(QStringLiteral("Hatalı FMT Dosyası ile işlem yapamazsınız"));
        return false;
    }
    if (!m_reader->sendFormat(m_table)) {
        showStatus(m_session->line()->errorString());
        return false;
    }
    return true;
}

bool StationWindow::PrepareReading()
{
    const QString path = m_settings.fmtFolder + m_fmtFileName;
    const QFileInfo info(path);
    if (path == m_refusedPath && info.lastModified() == m_refusedStamp &&
        (info.exists() ? info.size() : -1) == m_refusedSize) {
        // Its boxes were shown when it was chosen; unchanged, it is refused with one.
        SendFormat();
        return false;
    }
    const bool loaded = LoadFormat(path);
    if (!SendFormat() || !loaded)
        return false;
    showStatus(QStringLiteral("Optik okuyucu Hazır"));
    return true;
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

// ---- Other windows --------------------------------------------------------------------------

void StationWindow::openPictureWindow()
{
    if (!m_pictureWindow) {
        m_pictureWindow = new PictureWindow(m_pictureFile, this);
        connect(m_pictureWindow, &PictureWindow::closed, this, [this] {
            activateWindow();
            Picture1->setFocus(Qt::OtherFocusReason);
        });
    }
    m_pictureWindow->show();
    m_pictureWindow->raise();
}

void StationWindow::openEditor()
{
    if (!m_editor) {
        m_editor = new SdiWindow;
        m_editor->setParent(this, Qt::Window);
    }
    m_editor->setWindowState(m_editor->windowState() & ~Qt::WindowMinimized);
    m_editor->show();
    m_editor->raise();
    m_editor->activateWindow();
}

void StationWindow::openDesigner()
{
    if (!m_designer) {
        m_designer = new DesignerWindow(m_settings.fmtFolder, this);
        // A form saved there can be chosen here at once; the choice made stays.
        connect(m_designer, &DesignerWindow::fileSaved, this, [this] {
            const QString chosen = Combo1->currentText();
            listFmtFiles();
            Combo1->setCurrentIndex(Combo1->findText(chosen));
        });
    }
    m_designer->show();
    m_designer->raise();
    m_designer->activateWindow();
}

void StationWindow::openReaderWindow(QPointer<ReaderWindow> &window,
                                     const std::function<ReaderWindow *()> &make)
{
    if (!window)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
}

QList<QWidget *> StationWindow::openedWindows() const
{
    QList<QWidget *> windows;
    const QList<QWidget *> opened = {
        m_designer.data(),    m_editor.data(),    m_pictureWindow.data(), m_readerValues.data(),
        m_sensorTimes.data(), m_eyeValues.data(), m_sensors.data(),       m_testForm.data()};
    for (QWidget *window : opened)
        if (window && window->isVisible())
            windows.append(window);
    return windows;
}

void StationWindow::closeEvent(QCloseEvent *event)
{
    // The other windows first: the editor and the designer may hold unsaved work, and their
    // Cancel keeps us open.
    if (!m_shutDown) {
        for (QWidget *window : openedWindows()) {
            if (!window->close()) {
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
    // A wait in progress ends here; its handler sees m_shutDown and stops.
    m_session->shutDown();
    m_session->commands().farewell();
    m_reader->writePendingRecord();
    closeDataFile();
    m_session->line()->close();
    for (QWidget *window : openedWindows())
        window->close();
    QCoreApplication::quit();
}

// ---- Reading --------------------------------------------------------------------------------

bool StationWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The read buttons check the choice as soon as the operator moves to them, before their
    // click.
    if ((watched == Command1 || watched == Command4) && event->type() == QEvent::FocusIn &&
        operatorMovedFocus(event) && !m_readCommandRunning && !m_shutDown)
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
    m_reader->closeDataFile();
    m_dataFileOpen = false;
}

bool StationWindow::writePendingRecord()
{
    if (m_reader->writePendingRecord())
        return true;
    reportWriteFailure();
    return false;
}

void StationWindow::reportWriteFailure()
{
    MsgBox::show(this,
                 QStringLiteral("Data dosyasına yazılamadı: %1\n%2\nOkuma durduruldu; son "
                                "kağıdın kaydı bekliyor.")
                     .arg(m_reader->dataFile().path(), m_reader->dataFile().errorString()),
                 MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
}

void StationWindow::setReadControlsEnabled(bool enabled)
{
    // While a read command runs, nothing may start another exchange or change the form or
    // the data file under it; only "Durdur" stays.
    const bool present = m_session->readerPresent();
    Command1->setEnabled(enabled);
    Command4->setEnabled(enabled);
    Image1->setEnabled(enabled); // like the "Ayarlar" buttons, the logo opens nothing then
    Combo1->setEnabled(enabled && present);
    dosyaadi->setEnabled(enabled && present);
    Frame1->setEnabled(enabled && present);
}

bool StationWindow::startReading(QPushButton *button)
{
    if (m_readCommandRunning || m_shutDown || m_commandQueued)
        return false;
    // A heartbeat ping waits for its reply: its "Y" must not be taken for paper. The command
    // runs as soon as the ping is over.
    if (m_session->isBusy()) {
        m_commandQueued = true;
        m_session->whenIdle(button, [this, button] {
            m_commandQueued = false;
            button->click();
        });
        return false;
    }
    m_gridEditor->commit();
    m_readCommandRunning = true;
    m_readButton = button;
    setReadControlsEnabled(false);
    // Disabling the button moved the focus on; where it landed is not the operator's choice.
    m_focusAfterStart = QApplication::focusWidget();
    // No ping may come while the question on the data file waits for the operator.
    m_readPause = m_session->pauseHeartbeat();
    if (!m_dataFileOpen) {
        if (!m_readyToRead) {
            // The choice was refused when the button got the focus; say it again.
            ValidateSelection();
            if (!m_readyToRead) {
                endReading();
                return false;
            }
            setReadControlsEnabled(false);
        }
        if (!OpenDataFile()) {
            endReading();
            return false;
        }
        const bool prepared = PrepareReading();
        if (m_shutDown)
            return false;
        if (!prepared) {
            closeDataFile();
            endReading();
            return false;
        }
        m_dataFileOpen = true;
    }
    // A new command means the operator is done with the sheet shown.
    if (!writePendingRecord()) {
        endReading();
        return false;
    }
    return true;
}

void StationWindow::endReading()
{
    m_readCommandRunning = false;
    if (m_shutDown)
        return;
    setReadControlsEnabled(true);
    // Back where the operator started: the focus must not be left on "Sıfırla ", where the
    // next Enter would reset the counter.
    if (m_readButton &&
        (!QApplication::focusWidget() || QApplication::focusWidget() == m_focusAfterStart))
        m_readButton->setFocus(Qt::OtherFocusReason);
    m_readPause.reset();
}

QStringList StationWindow::checkTexts() const
{
    QStringList texts;
    for (int row = 0; row < MSG->rowCount(); ++row)
        texts.append(MSG->item(row, 2) ? MSG->item(row, 2)->text() : QString());
    return texts;
}

QByteArray StationWindow::gridRecord() const
{
    QByteArray line;
    for (int row = 0; row < MSG->rowCount(); ++row)
        line += toCp1254(MSG->item(row, 1) ? MSG->item(row, 1)->text() : QString());
    return line;
}

void StationWindow::readAutomatically()
{
    if (!startReading(Command1))
        return;
    QElapsedTimer eventTurn;
    eventTurn.start();
    for (;;) {
        m_stopRequested = false;
        showStatus(QStringLiteral("Okunuyor"));
        const SheetReader::Result result = m_reader->readSheet(checkTexts());
        if (m_shutDown)
            return;
        if (result.outcome != SheetReader::Outcome::Sheet) {
            showFailure(result);
            break;
        }
        showSheet(result, true);
        // Events (the stop button, painting) also run while a slow reader is awaited; a fast
        // one answers at once, so give them a turn here, a few dozen times a second.
        if (eventTurn.elapsed() >= kEventTurnMs) {
            QCoreApplication::processEvents();
            eventTurn.restart();
        }
        if (m_shutDown)
            return;
        if (m_stopRequested)
            break;
    }
    endReading();
}

void StationWindow::readOneSheet()
{
    if (!startReading(Command4))
        return;
    showStatus(QStringLiteral("Form tek tek Okunuyor"));
    const SheetReader::Result result = m_reader->readSheet(checkTexts());
    if (m_shutDown)
        return;
    if (result.outcome == SheetReader::Outcome::Sheet)
        showSheet(result, false);
    else
        showFailure(result);
    endReading();
}

void StationWindow::stopReading()
{
    m_stopRequested = true;
    showStatus(QStringLiteral("Okuma duraklatıldı"));
}

void StationWindow::showFailure(const SheetReader::Result &result)
{
    using Outcome = SheetReader::Outcome;
    switch (result.outcome) {
    case Outcome::NoPaper:
        showStatus(QStringLiteral("Optik Okuyucuda Kağıt yok"));
        break;
    case Outcome::StatusError: {
        const int code = result.statusCode;
        const QString text =
            code == 1 || code == 2 || code == 4 ? QStringLiteral("Kağıt Sıkıştı      Hata : -")
            : code == 3 || code == 5            ? QStringLiteral("Tm Hatalı Okundu   Hata : -")
                                                : QStringLiteral("Tanımlanmamış      Hata : -");
        showStatus(text + signedText(code));
        break;
    }
    case Outcome::Incomplete:
        showStatus(QStringLiteral("Form Bilgisi Eksik geldi"));
        break;
    case Outcome::TimedOut:
        showStatus(QStringLiteral("Optik Okuyucu cevap vermiyor (süre doldu)"));
        break;
    case Outcome::PortError: {
        const QString error = m_session->line()->errorString();
        showStatus(error.isEmpty() ? QStringLiteral("Seri port bağlantısı koptu: %1")
                                         .arg(m_session->line()->portName())
                                   : error);
        break;
    }
    case Outcome::WriteFailed:
        reportWriteFailure();
        break;
    case Outcome::Aborted:
    case Outcome::NotReady:
    case Outcome::Sheet:
        break;
    }
}

void StationWindow::showSheet(const SheetReader::Result &result, bool automatic)
{
    // An edit opened after the last record went out belongs to no sheet any more.
    m_gridEditor->drop();
    m_gridEdited = false;
    const QList<QByteArray> &values = m_reader->values();
    const int rows = qMin(MSG->rowCount(), int(values.size()));
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem *value = itemAt(MSG, row, 1);
        const bool hit = result.hits.value(row);
        value->setBackground(hit ? kHitColour : kPlainColour);
        value->setText(fromCp1254(values[row]));
        if (hit && automatic) {
            m_stopRequested = true;
            showStatus(QStringLiteral("Okuma duraklatıldı"));
        }
    }
    // The last value shown is the current cell, as after walking the rows one by one.
    if (rows > 0)
        MSG->setCurrentCell(rows - 1, 1);
}

bool StationWindow::OpenDataFile()
{
    // A name listed from a file of another case ("c.dat" under ".DAT") opens that file.
    const QString path = fileIgnoringCase(m_settings.dataFolder + dosyaadi->currentText() +
                                          m_settings.dataExtension);
    bool truncate = false;
    if (QFileInfo::exists(path)) {
        truncate = MsgBox::show(
                       this, path + QStringLiteral("  dosyası mevcuttur. Üzerine eklensin mi?"),
                       MsgBox::Buttons::OkCancel, MsgBox::Icon::Question) == MsgBox::Answer::Cancel;
    }
    if (!m_reader->openDataFile(path, truncate)) {
        MsgBox::show(this,
                     QStringLiteral("Data dosyası açılamadı: %1\n%2")
                         .arg(path, m_reader->dataFile().errorString()),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Critical);
        return false;
    }
    if (m_reader->dataFile().hadTornTail()) {
        MsgBox::show(this,
                     QStringLiteral("%1 dosyasının son satırı yarım kalmış (satır sonu yok). "
                                    "Yeni kayıtlar yeni bir satırdan başlayacak.")
                         .arg(path),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
    }
    const QString typed = dosyaadi->currentText();
    listDataFiles();
    dosyaadi->setCurrentText(typed);
    return true;
}
