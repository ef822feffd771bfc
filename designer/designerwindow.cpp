#include "designerwindow.h"

#include "fmtline.h"
#include "helpwindow.h"
#include "msgbox.h"
#include "previewwindow.h"
#include "twips.h"
#include "val.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

using namespace formdef;

namespace {

const QString kCaption = QStringLiteral("OrVEL-KESA  Optik Form (fmt) Tasarımı 2.2");

// Widths of the grid's columns, in twips.
constexpr int kColumnTwips[GridColumn::Count] = {365,  485, 485,  485, 485, 600,
                                                 3240, 960, 1200, 480, 480};

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *wrappedLabel(const QString &text, const char *name)
{
    auto *label = named(new QLabel(text), name);
    label->setWordWrap(true);
    return label;
}

enum class Picture { Add, Save, Look, Help };

// The four buttons show pictures, as the operator knows them, and no caption.
QIcon buttonPicture(Picture which)
{
    QPixmap picture(28, 28);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    switch (which) {
    case Picture::Add:
        p.setBrush(Qt::white);
        for (int row = 0; row < 3; ++row)
            p.drawRect(QRectF(2.5, 4.5 + row * 6, 17, 6));
        p.setPen(QPen(QColor(0, 128, 0), 3));
        p.drawLine(QPointF(21, 15), QPointF(21, 25));
        p.drawLine(QPointF(16, 20), QPointF(26, 20));
        break;
    case Picture::Save:
        p.setBrush(QColor(40, 60, 150));
        p.drawRect(QRectF(3.5, 3.5, 21, 21));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 3.5, 13, 8));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 15.5, 13, 9));
        break;
    case Picture::Look:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 17, 23));
        p.setBrush(Qt::black);
        for (int row = 0; row < 5; ++row)
            p.drawRect(QRectF(6.5, 4.5 + row * 4, 2, 2));
        p.setBrush(Qt::NoBrush);
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                p.drawEllipse(QPointF(12 + column * 4, 5.5 + row * 4), 1.3, 1.3);
        break;
    case Picture::Help: {
        p.setBrush(QColor(255, 255, 200));
        p.drawEllipse(QRectF(2.5, 2.5, 23, 23));
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(18);
        p.setFont(font);
        p.setPen(QColor(0, 0, 160));
        p.drawText(QRectF(2.5, 2.5, 23, 23), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return QIcon(picture);
}

QPushButton *pictureButton(Picture which, const char *name, const QString &tip)
{
    auto *button = named(new QPushButton, name);
    button->setIcon(buttonPicture(which));
    button->setIconSize(QSize(28, 28));
    button->setToolTip(tip);
    return button;
}

// Brings a grid to the model's texts, touching only the cells that changed, with one repaint
// for the whole grid rather than one per cell.
void showCells(QTableWidget *table, int rows, int columns,
               const std::function<QString(int, int)> &textAt)
{
    table->setUpdatesEnabled(false);
    table->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QString text = textAt(row, column);
            QTableWidgetItem *item = table->item(row, column);
            if (!item)
                table->setItem(row, column, new QTableWidgetItem(text));
            else if (item->text() != text)
                item->setText(text);
        }
    }
    table->setUpdatesEnabled(true);
}

QLineEdit *entryBox(const char *name, const QString &tip)
{
    auto *box = named(new QLineEdit, name);
    box->setToolTip(tip);
    return box;
}

QString nameProblem(const QString &name)
{
    QString ch;
    switch (fileNameFault(name, &ch)) {
    case NameFault::None:
        return {};
    case NameFault::Dots:
        return QStringLiteral("fmt adı . ya da .. olamaz.");
    case NameFault::Control:
        return QStringLiteral("fmt adında denetim karakteri kullanılamaz.");
    case NameFault::Forbidden:
        return QStringLiteral("fmt adında \"%1\" karakteri kullanılamaz.").arg(ch);
    case NameFault::NotInCodePage:
        return QStringLiteral("fmt adındaki \"%1\" karakteri Türkçe kod sayfasında yok; "
                              "kullanılamaz.")
            .arg(ch);
    case NameFault::TrailingDotOrBlank:
        return QStringLiteral("fmt adı nokta ya da boşlukla bitemez.");
    case NameFault::DeviceName:
        return QStringLiteral("%1 bir aygıt adıdır; fmt adı olarak kullanılamaz.")
            .arg(name.section(u'.', 0, 0).trimmed());
    }
    return {};
}

} // namespace

DesignerWindow::DesignerWindow(const QString &fmtFolder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_fmtFolder(fmtFolder)
{
    setObjectName(QStringLiteral("menu"));
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    connect(&m_model, &DefinitionModel::gridChanged, this, &DesignerWindow::showGrid);
    connect(&m_model, &DefinitionModel::mapChanged, this, &DesignerWindow::showMap);
    connect(&m_model, &DefinitionModel::countChanged, this, &DesignerWindow::showCount);
    connect(&m_model, &DefinitionModel::directionChanged, this, &DesignerWindow::showDirection);

    connect(DNAME, &QComboBox::activated, this, &DesignerWindow::chooseDefinition);
    connect(CSAY, &QLineEdit::textEdited, &m_model, &DefinitionModel::setCount);
    connect(Opt1[0], &QRadioButton::clicked, this, [this] { m_model.setDirection(kMarksLeft); });
    connect(Opt1[1], &QRadioButton::clicked, this, [this] { m_model.setDirection(kMarksRight); });
    connect(SNO, &QLineEdit::textChanged, this, &DesignerWindow::entryFromSno);
    connect(CommandEKLE, &QPushButton::clicked, this, &DesignerWindow::addEntry);
    connect(CommandKAYDET, &QPushButton::clicked, this, &DesignerWindow::save);
    connect(CommandBAK, &QPushButton::clicked, this, &DesignerWindow::openPreview);
    connect(CommandHELP, &QPushButton::clicked, this, &DesignerWindow::openHelp);

    listDefinitions();
    showDirection(m_model.direction());
    leaveNameless();
}

DesignerWindow::~DesignerWindow()
{
    // The preview works on this window's model.
    delete m_preview;
}

void DesignerWindow::buildControls()
{
    Label1 = named(new QLabel(QStringLiteral("fmt adı ")), "Label1");
    DNAME = named(new QComboBox, "DNAME");
    DNAME->setEditable(true);
    DNAME->setInsertPolicy(QComboBox::NoInsert);
    DNAME->setMinimumWidth(220);
    // The box would also report a typed name that matches an item as picked when it loses the
    // focus; leaving the box is handled once, by its focus-out.
    QObject::disconnect(DNAME->lineEdit(), &QLineEdit::editingFinished, DNAME, nullptr);
    DNAME->installEventFilter(this);
    File1 = named(new QListWidget(this), "File1");
    File1->setVisible(false);

    Label2 = named(new QLabel(QStringLiteral(
                       "Formu düz tutunuz ve siyah çizgileri sayınız.    Çizgi sayısı :")),
                   "Label2");
    CSAY = named(new QLineEdit, "CSAY");
    CSAY->setFixedWidth(40);
    Label3 = named(new QLabel(QStringLiteral("Siyah Çizgiler :")), "Label3");
    Opt1 = {named(new QRadioButton(QStringLiteral("Solda")), "Opt1_0"),
            named(new QRadioButton(QStringLiteral("Sağda")), "Opt1_1")};
    TNOT = named(new QLabel(QStringLiteral("Formu siyah çizgiler sola gelecek şekilde çeviriniz.")),
                 "TNOT");
    TNOT->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    FTIP = named(new QLabel(this), "FTIP");
    FTIP->setVisible(false);

    Label4 = named(new QLabel(QStringLiteral("Okunmasını istediğiniz her bir bilgi alanının satır "
                                             "ve sütun aralıklarını belirleyiniz.")),
                   "Label4");
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);
    Label5 = named(new QLabel(QStringLiteral("Satır aralığını belirlemek için :")), "Label5");
    Label6 = named(new QLabel(QStringLiteral("Sütun aralığını belirlemek için :")), "Label6");
    Label7 = wrappedLabel(QStringLiteral("Yukarıdan aşağıya doğru 1'den başlayarak siyah "
                                         "çizgileri (TM) sayınız. Bilgi alanının üst köşesinin "
                                         "olduğu satır başlangıç, alt köşesinin olduğu satır "
                                         "bitiştir."),
                          "Label7");
    Label8 = wrappedLabel(QStringLiteral("Siyah çizgilerin (TM) hemen sağından başlayarak, sağa "
                                         "doğru 1'den itibaren sütunları sayınız (Aradaki boş "
                                         "sütunlarda sayılmalıdır). Bilgi alanının en sol "
                                         "sütunu başlangıç, en sağ sütunu  bitiştir."),
                          "Label8");
    Label5->setFont(bold);
    Label6->setFont(bold);

    SNO = entryBox("SNO", QStringLiteral("Bilginin satırda hangi sırada yer alacağı."));
    SAT1 = entryBox("SAT1", QStringLiteral("Bilgi matrisinin, TM' lere göre başlangıç satırı."));
    SAT2 = entryBox("SAT2", QStringLiteral("Bilgi matrisinin, TM' lere göre bitiş satırı."));
    SUT1 = entryBox("SUT1", QStringLiteral("Bilgi matrisinin, başlangıç sütunu."));
    SUT2 = entryBox("SUT2", QStringLiteral("Bilgi matrisinin, bitiş sütunu."));
    DURUM = named(new QComboBox, "DURUM");
    DURUM->addItems({QStringLiteral("Yatay"), QStringLiteral("Dikey")});
    DURUM->setToolTip(QStringLiteral("Bilgi matrisindeki bir karakterin kodlanma şekli."));
    KARAKTER = named(new QComboBox, "KARAKTER");
    KARAKTER->setEditable(true);
    KARAKTER->setInsertPolicy(QComboBox::NoInsert);
    KARAKTER->setToolTip(QStringLiteral("Formda kodlanan bilginin karşılığı."));
    BASLIK = entryBox("BASLIK", QStringLiteral("Okunan alanın tanımı."));
    KBILGI =
        entryBox("KBILGI", QStringLiteral("Başına - konursa, yazılan bilgi okunduğunda, işaretsiz "
                                          "yazılırsa, herhangi bir karakteri varsa makine durur; = "
                                          "konursa yazılan bilgiyi alır."));

    CommandEKLE = pictureButton(Picture::Add, "CommandEKLE", QStringLiteral("Satır Ekle"));
    CommandKAYDET = pictureButton(Picture::Save, "CommandKAYDET", QStringLiteral("Kaydet"));
    CommandBAK = pictureButton(Picture::Look, "CommandBAK", QStringLiteral("Optik Form Görüntüsü"));
    CommandHELP = pictureButton(Picture::Help, "CommandHELP", QString());

    // Each column at least as wide as its heading's longest line, and the orientation's as
    // the list that shows "Yatay" and "Dikey", whatever the screen's font.
    const QString headingLines[GridColumn::Count] = {
        QStringLiteral("Sıra No"),     QStringLiteral("Başl."),  QStringLiteral("Bitiş"),
        QStringLiteral("Başl."),       QStringLiteral("Bitiş"),  QStringLiteral("Durum"),
        QStringLiteral("Karakterler"), QStringLiteral("Başlık"), QStringLiteral("Edilecek Bilgi"),
        QStringLiteral("Başl."),       QStringLiteral("Uzunl.")};
    QList<int> widths;
    for (int column = 0; column < GridColumn::Count; ++column)
        widths.append(std::max(twipsToScreen(kColumnTwips[column]),
                               fontMetrics().horizontalAdvance(headingLines[column]) + 12));
    widths[GridColumn::Orientation] =
        std::max(widths[GridColumn::Orientation], DURUM->sizeHint().width());
    TABLO = named(new QTableWidget(0, GridColumn::Count), "TABLO");
    TABLO->horizontalHeader()->setVisible(false);
    TABLO->verticalHeader()->setVisible(false);
    TABLO->verticalHeader()->setDefaultSectionSize(TABLO->fontMetrics().height() + 4);
    TABLO->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TABLO->setSelectionBehavior(QAbstractItemView::SelectRows);
    TABLO->setSelectionMode(QAbstractItemView::SingleSelection);
    TABLO->setWordWrap(false);
    int gridWidth = 2 * TABLO->frameWidth() + TABLO->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < GridColumn::Count; ++column) {
        TABLO->setColumnWidth(column, widths[column]);
        gridWidth += widths[column];
    }
    TABLO->setFixedWidth(gridWidth);
    TABLO->viewport()->installEventFilter(this);
    Label18 = wrappedLabel(QStringLiteral("Araya satır eklemek için, eklemek istediğiniz yerde "
                                          "önce sol, sanra sağ butonu tıklayınız.   Silmek için "
                                          "satır üzerinde çift tıklayınız."),
                           "Label18");
    MTag = named(new QTableWidget(0, kColumns, this), "MTag");
    MTag->setVisible(false);

    m_nameControls = {CSAY,  Opt1[0],  Opt1[1], SNO,    SAT1,        SAT2,       SUT1,         SUT2,
                      DURUM, KARAKTER, BASLIK,  KBILGI, CommandEKLE, CommandBAK, CommandKAYDET};

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(DNAME);
    nameRow->addStretch(1);
    nameRow->addWidget(CommandKAYDET);
    nameRow->addWidget(CommandBAK);
    nameRow->addWidget(CommandHELP);

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(Label2);
    countRow->addWidget(CSAY);
    countRow->addSpacing(16);
    countRow->addWidget(Label3);
    countRow->addWidget(Opt1[0]);
    countRow->addWidget(Opt1[1]);
    countRow->addSpacing(16);
    countRow->addWidget(TNOT);
    countRow->addStretch(1);

    auto *howTo = new QGridLayout;
    howTo->addWidget(Label5, 0, 0, Qt::AlignTop);
    howTo->addWidget(Label7, 0, 1);
    howTo->addWidget(Label6, 1, 0, Qt::AlignTop);
    howTo->addWidget(Label8, 1, 1);
    howTo->setColumnStretch(1, 1);

    auto *root = new QVBoxLayout(this);
    root->addLayout(nameRow);
    root->addLayout(countRow);
    root->addWidget(Label4);
    root->addLayout(howTo);
    root->addSpacing(6);
    root->addWidget(buildGridHead(widths), 0, Qt::AlignLeft);
    root->addWidget(TABLO, 1, Qt::AlignLeft);
    root->addWidget(Label18);
    resize(gridWidth + 24, 640);
}

// Headings over the grid's columns and the entry line under them, each over its own column.
QWidget *DesignerWindow::buildGridHead(const QList<int> &widths)
{
    auto *head = new QWidget;
    QList<int> left{TABLO->frameWidth()};
    for (int width : widths)
        left.append(left.last() + width);
    const int line = fontMetrics().height() + 2;
    const int entryTop = 2 * line + 2;
    const int entryHeight = SNO->sizeHint().height();

    auto place = [&](QWidget *widget, int fromColumn, int toColumn, int top, int height) {
        widget->setParent(head);
        widget->setGeometry(left[fromColumn], top, left[toColumn + 1] - left[fromColumn], height);
    };
    auto heading = [&](const QString &text, const char *name, int fromColumn, int toColumn, int top,
                       int height) {
        auto *label = named(new QLabel(text), name);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        place(label, fromColumn, toColumn, top, height);
        return label;
    };
    using namespace GridColumn;
    Label9 = heading(QStringLiteral("Sıra No"), "Label9", Number, Number, 0, 2 * line);
    Label10 = heading(QStringLiteral("Satır"), "Label10", StartRow, EndRow, 0, line);
    Label11 = heading(QStringLiteral("Başl."), "Label11", StartRow, StartRow, line, line);
    Label12 = heading(QStringLiteral("Bitiş"), "Label12", EndRow, EndRow, line, line);
    Label13 = heading(QStringLiteral("Sütun"), "Label13", StartColumn, EndColumn, 0, line);
    Label14 = heading(QStringLiteral("Başl."), "Label14", StartColumn, StartColumn, line, line);
    Label15 = heading(QStringLiteral("Bitiş"), "Label15", EndColumn, EndColumn, line, line);
    Label16 = heading(QStringLiteral("Durum"), "Label16", Orientation, Orientation, 0, 2 * line);
    Label17 = heading(QStringLiteral("Karakterler"), "Label17", Set, Set, 0, 2 * line);
    Label19 = heading(QStringLiteral("Başlık"), "Label19", Title, Title, 0, 2 * line);
    Label20 =
        heading(QStringLiteral("Kontrol Edilecek Bilgi"), "Label20", Check, Check, 0, 2 * line);
    Label21 = heading(QStringLiteral("Başl."), "Label21", Position, Position, 0, 2 * line);
    Label23 = heading(QStringLiteral("Uzunl."), "Label23", Length, Length, 0, 2 * line);

    const QList<QWidget *> entry = {SNO, SAT1, SAT2, SUT1, SUT2, DURUM, KARAKTER, BASLIK, KBILGI};
    for (int column = 0; column < entry.size(); ++column)
        place(entry[column], column, column, entryTop, entryHeight);
    place(CommandEKLE, Position, Length, entryTop - 6, entryHeight + 12);
    CommandEKLE->setIconSize(QSize(22, 22));
    head->setFixedSize(left.last() + 2, entryTop + entryHeight + 6);
    return head;
}

void DesignerWindow::listDefinitions()
{
    QDir folder(m_fmtFolder);
    folder.setNameFilters({QStringLiteral("*.fmt")});
    folder.setFilter(QDir::Files | QDir::Hidden);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    File1->clear();
    File1->addItems(folder.entryList());

    // The list is refilled after a save; the name being typed stays.
    const QString typed = DNAME->currentText();
    DNAME->clear();
    for (int i = 0; i < File1->count(); ++i)
        DNAME->addItem(File1->item(i)->text().chopped(4));
    DNAME->setCurrentIndex(-1);
    DNAME->setEditText(typed);
}

void DesignerWindow::setNameControlsEnabled(bool enabled)
{
    for (QWidget *control : std::as_const(m_nameControls))
        control->setEnabled(enabled);
}

// ---- naming, loading and saving

void DesignerWindow::chooseDefinition()
{
    // Moving the focus from here would come back through the name box's focus-out.
    if (m_choosing)
        return;
    const QScopedValueRollback guard(m_choosing, true);
    const QString name = DNAME->currentText();
    const bool nameless = name.trimmed().isEmpty();
    const QString problem = nameless ? QString() : nameProblem(name);
    if (!problem.isEmpty()) {
        MsgBox::show(this, problem, MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        DNAME->setEditText(m_model.name());
        DNAME->setFocus();
        return;
    }
    if (!mayDropChanges()) {
        DNAME->setEditText(m_model.name());
        return;
    }
    if (nameless) {
        leaveNameless();
        return;
    }

    const QString path = pathFor(name);
    QFile file(path);
    Definition definition;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            MsgBox::show(
                this, QStringLiteral("FMT dosyası açılamadı: %1\n%2").arg(path, file.errorString()),
                MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
            leaveNameless();
            return;
        }
        definition = readDefinition(file.readAll());
    }
    if (!m_model.load(definition)) {
        // Holding part of the file would drop the rest at the next save.
        MsgBox::show(this,
                     QStringLiteral("FMT dosyasında %1 alan satırı var; tasarımda en çok %2 alan "
                                    "satırı tutulabilir.")
                         .arg(definition.fields.size())
                         .arg(kDesignerMaxFields),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        leaveNameless();
        return;
    }
    m_path = path;
    m_model.setName(name);
    setNameControlsEnabled(true);
    clearEntry();
    CSAY->setFocus();
}

void DesignerWindow::leaveNameless()
{
    m_model.reset();
    m_model.setName(QString());
    m_path.clear();
    clearEntry();
    setNameControlsEnabled(false);
    DNAME->setFocus();
}

QString DesignerWindow::pathFor(const QString &name) const
{
    // A file listed as "AD.FMT" is the same definition, also where names are case-sensitive.
    const QString fileName = name + QStringLiteral(".fmt");
    for (int i = 0; i < File1->count(); ++i)
        if (File1->item(i)->text().compare(fileName, Qt::CaseInsensitive) == 0)
            return m_fmtFolder + File1->item(i)->text();
    return m_fmtFolder + fileName;
}

bool DesignerWindow::mayDropChanges()
{
    if (!m_model.isModified() || m_path.isEmpty())
        return true;
    const MsgBox::Answer answer =
        MsgBox::show(this,
                     QFileInfo(m_path).fileName() + QStringLiteral("' deki bilgi değiştirildi.") +
                         u'\n' + QStringLiteral("Değişikliler kayıt edilsin mi?"),
                     MsgBox::Buttons::YesNoCancel, MsgBox::Icon::Warning, windowTitle());
    if (answer == MsgBox::Answer::Yes)
        return save();
    return answer == MsgBox::Answer::No;
}

bool DesignerWindow::save()
{
    const WriteCheck check = m_model.checkForSaving();
    if (check.fault == WriteFault::Count) {
        MsgBox::show(this, QStringLiteral("Çizgi sayısı 1 ile 99 arasında tam sayı olmalıdır."),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        CSAY->setFocus();
        return false;
    }
    if (check.fault == WriteFault::TooManyFields) {
        MsgBox::show(this,
                     QStringLiteral("Okuma için en çok %1 alan satırı kaydedilebilir.")
                         .arg(kStationMaxLines - 1),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return false;
    }
    if (check.fault != WriteFault::None) {
        // The faulty row goes to the entry line, where "Satır Ekle" checks it again.
        MsgBox::show(
            this, QStringLiteral("Sıra No %1 hatalı; fmt dosyası kaydedilmedi.").arg(check.field),
            MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        SNO->setText(QString::number(check.field));
        SAT1->setFocus();
        return false;
    }

    QString error;
    if (!replaceFile(m_path, m_model.saveText().value_or(QByteArray()), &error)) {
        MsgBox::show(this, QStringLiteral("FMT dosyası kaydedilemedi: %1\n%2").arg(m_path, error),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return false;
    }
    m_model.setModified(false);
    listDefinitions();
    emit fileSaved(QFileInfo(m_path).fileName());
    return true;
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (!mayDropChanges()) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    if (m_preview)
        m_preview->close();
    event->accept();
}

// ---- the entry line and the grid

void DesignerWindow::entryFromSno()
{
    if (m_clearingEntry)
        return;
    // Only a whole number naming a row selects one; anything else empties the entry line.
    const double number = Val(SNO->text());
    if (number < 1 || number > m_model.rowCount() || number != std::floor(number)) {
        clearEntry();
        return;
    }
    const int row = int(number) - 1;
    SAT1->setText(m_model.cell(row, GridColumn::StartRow));
    SAT2->setText(m_model.cell(row, GridColumn::EndRow));
    SUT1->setText(m_model.cell(row, GridColumn::StartColumn));
    SUT2->setText(m_model.cell(row, GridColumn::EndColumn));
    DURUM->setCurrentIndex(m_model.cell(row, GridColumn::Orientation) == u"Y" ? 0 : 1);
    KARAKTER->setEditText(m_model.cell(row, GridColumn::Set));
    BASLIK->setText(m_model.cell(row, GridColumn::Title));
    KBILGI->setText(m_model.cell(row, GridColumn::Check));
}

void DesignerWindow::clearEntry()
{
    const QScopedValueRollback guard(m_clearingEntry, true);
    for (QLineEdit *box : {SNO, SAT1, SAT2, SUT1, SUT2, BASLIK, KBILGI})
        box->clear();
    DURUM->setCurrentIndex(0);
    KARAKTER->setEditText(QString());
}

void DesignerWindow::addEntry()
{
    const FieldDef entry{SAT1->text(),
                         SAT2->text(),
                         SUT1->text(),
                         SUT2->text(),
                         DURUM->currentText().left(1),
                         KARAKTER->currentText(),
                         BASLIK->text(),
                         KBILGI->text()};
    const EntryCheck check = m_model.addOrReplace(int(Val(SNO->text())), entry);
    if (check.fault != EntryFault::None) {
        MsgBox::show(this, check.message);
        if (QWidget *control = findChild<QWidget *>(check.focus))
            control->setFocus();
        return;
    }
    clearEntry();
}

void DesignerWindow::selectRow(int row)
{
    if (row < 0 || row >= m_model.rowCount())
        return;
    TABLO->setCurrentCell(row, TABLO->currentColumn() < 0 ? 0 : TABLO->currentColumn());
    // Selecting the row shown already fills the entry line anew.
    const QString number = m_model.cell(row, GridColumn::Number);
    if (SNO->text() == number)
        entryFromSno();
    else
        SNO->setText(number);
}

bool DesignerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DNAME && event->type() == QEvent::FocusOut) {
        // Opening the name list or leaving the window is not leaving the name box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            chooseDefinition();
        return false;
    }
    if (watched != TABLO->viewport())
        return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const int row = TABLO->rowAt(int(mouse->position().y()));
            selectRow(row >= 0 ? row : TABLO->currentRow());
        } else if (mouse->button() == Qt::RightButton && !m_path.isEmpty()) {
            m_model.insertRow(std::max(TABLO->currentRow(), 0));
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        const int row = TABLO->currentRow();
        if (row >= 0 && !m_path.isEmpty()) {
            m_model.deleteRow(row);
            clearEntry();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- preview and help

void DesignerWindow::openPreview()
{
    if (Val(CSAY->text()) <= 0) {
        CSAY->setFocus();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    m_preview = new PreviewWindow(m_model);
    connect(m_preview, &PreviewWindow::closed, this, &DesignerWindow::previewClosed);
    m_preview->show();
    emit previewRequested();
    QGuiApplication::restoreOverrideCursor();
}

PreviewWindow *DesignerWindow::preview() const
{
    return m_preview;
}

void DesignerWindow::previewClosed()
{
    setEnabled(true);
    activateWindow();
    CSAY->setFocus();
}

void DesignerWindow::openHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(this);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

// ---- showing the model

void DesignerWindow::showGrid()
{
    showCells(TABLO, m_model.rowCount(), GridColumn::Count,
              [this](int row, int column) { return m_model.cell(row, column); });
}

void DesignerWindow::showMap()
{
    showCells(MTag, m_model.mapRows(), kColumns,
              [this](int row, int column) { return m_model.mapCell(row, column); });
}

void DesignerWindow::showCount(const QString &count)
{
    if (CSAY->text() != count)
        CSAY->setText(count);
}

void DesignerWindow::showDirection(QChar direction)
{
    FTIP->setText(direction);
    const bool right = direction == kMarksRight;
    Opt1[right ? 1 : 0]->setChecked(true);
    TNOT->setVisible(right);
    // The typed set stays; only the offered ones change with the side.
    const QString typed = KARAKTER->currentText();
    KARAKTER->clear();
    KARAKTER->addItems(offeredSets(direction));
    KARAKTER->setCurrentIndex(-1);
    KARAKTER->setEditText(typed);
}
