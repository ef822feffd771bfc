#include "readervalueswindow.h"

#include "msgbox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kOpeningCells = 28;
constexpr int kReloadCells = 26;

} // namespace

ReaderValuesWindow::ReaderValuesWindow(ReaderSession &session, QWidget *focusBack, Look look,
                                       QWidget *parent)
    : CellWindow(session, focusBack, look, true, parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kalibrasyon Değerleri"));

    Text3 = box("Text3", QStringLiteral("255"), QStringLiteral("Kağıt alıcı motorun hızı"));
    Text4 = box("Text4", QStringLiteral("0"), QStringLiteral("Kağıt sürücü motorun hızı"));
    Text5 = box("Text5", QStringLiteral("0"));
    Text6 = box("Text6", QStringLiteral("0"));
    Text7 = box("Text7", QStringLiteral("0"));
    Text8 = box("Text8", QStringLiteral("0"),
                QStringLiteral("Minimum okuma seviyesi (alt grilik değeri)"));
    Text9 = box("Text9", QStringLiteral("0"),
                QStringLiteral("Okunan kağıdın tepsiye doğru çıkış hızı"));
    Text26 = box("Text26", QStringLiteral("0"),
                 QStringLiteral("Bu değeri geçen işaretler çift kabul edilir (* kabul edilir)"));
    Text28 = box("Text28", QStringLiteral("0"));
    Text1 = box("Text1", QStringLiteral("0"));
    Text2 = box("Text2", QStringLiteral("0"));
    Label2 = label("Label2", QStringLiteral("Tm Zamanı"));
    Command3 = button(
        "Command3", isStationLook() ? QStringLiteral("Okuyucudan Yükle") : QStringLiteral("Tazele"),
        QStringLiteral("Okuyucunun hafızasındaki değerleri okuyup görüntüler"));
    Command4 = button(
        "Command4", isStationLook() ? QStringLiteral("Okuyucuya yaz") : QStringLiteral("Güncelle"),
        QStringLiteral("Bu değerleri okuyucunun hafızasına kayıt eder"));
    Command2 =
        button("Command2", isStationLook() ? QStringLiteral("Çıkış") : QStringLiteral("Cancel"),
               QStringLiteral("Bu programdan çıkış"));

    const QList<QPair<QLineEdit *, QString>> rows = {
        {Text3, QStringLiteral("Besleme Motor Hızı")},
        {Text4, QStringLiteral("Ana Motor Hızı")},
        {Text5, QStringLiteral("ADC Bekleme Zamanı")},
        {Text6, QStringLiteral("Baslama Puls  Zamanı")},
        {Text7, QStringLiteral("Binary Alt Limit")},
        {Text8, QStringLiteral("Desimal Alt Limit")},
        {Text9, QStringLiteral("Kağıt Çıkış Hızı")},
        {Text26, QStringLiteral("Desimal Üst Limit")},
        {Text28, QStringLiteral("Tm Değeri")},
    };
    auto *grid = new QGridLayout;
    for (int row = 0; row < rows.size(); ++row) {
        const QByteArray name = "Label1_" + QByteArray::number(row + 1);
        grid->addWidget(label(name.constData(), rows[row].second), row, 0);
        grid->addWidget(rows[row].first, row, 1);
        m_boxLabels.append(rows[row].second);
    }
    grid->addWidget(Label2, int(rows.size()), 0);
    m_boxLabels << Label2->text() << Label2->text();
    auto *tmBoxes = new QHBoxLayout;
    tmBoxes->addWidget(Text1);
    tmBoxes->addWidget(Text2);
    grid->addLayout(tmBoxes, int(rows.size()), 1);
    for (QLineEdit *edit :
         {Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text26, Text28, Text1, Text2})
        edit->setAlignment(Qt::AlignRight);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setByteBoxes({Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text26, Text28, Text1, Text2});
    connect(Command3, &QPushButton::clicked, this, &ReaderValuesWindow::reload);
    connect(Command4, &QPushButton::clicked, this, &ReaderValuesWindow::write);
    connect(Command2, &QPushButton::clicked, this,
            [this] { leave(QStringLiteral("OPTİK OKYUCUNUZU RESET YAPMAYI UNUTMAYINIZ")); });
}

void ReaderValuesWindow::opened()
{
    readCells(kOpeningCells, false);
}

void ReaderValuesWindow::showCells(const Cells &cells)
{
    const auto show = [](QLineEdit *box, quint8 value) { box->setText(QString::number(value)); };
    show(Text3, cells.first[2]);
    show(Text4, cells.second[2]);
    show(Text5, cells.first[3]);
    show(Text6, cells.second[3]);
    show(Text7, cells.first[4]);
    show(Text8, cells.second[4]);
    show(Text9, cells.first[5]);
    show(Text26, cells.second[13]);
    show(Text28, cells.second[26]);
    show(Text1, cells.first[12]);
    show(Text2, cells.second[12]);
}

void ReaderValuesWindow::reload()
{
    whenLineFree([this] {
        if (readCells(kReloadCells, true) == Result::Done)
            MsgBox::show(this, QStringLiteral("İşlem tamamlandı"));
    });
}

void ReaderValuesWindow::write()
{
    whenLineFree([this] {
        const auto bytes = boxBytes([this](int box) {
            return QStringLiteral("\"%1\" değeri 0 ile 255 arasında bir tam sayı olmalıdır. "
                                  "Okuyucuya hiçbir değer yazılmadı.")
                .arg(m_boxLabels[box]);
        });
        if (!bytes)
            return;
        const QList<quint8> &b = *bytes;
        // Cells 5 and 26 take their one box twice; cell 13's first byte is always 0.
        const QList<CellWrite> writes = {
            {2, b[0], b[1]}, {3, b[2], b[3]},  {4, b[4], b[5]},   {5, b[6], b[6]},
            {13, 0, b[7]},   {26, b[8], b[8]}, {12, b[9], b[10]},
        };
        if (writeCells(writes) == Result::Done)
            MsgBox::show(this, QStringLiteral("İşlem tamamlandı"));
    });
}
