#include "sensortimeswindow.h"

#include "msgbox.h"
#include "twips.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kReadCells = 26;
constexpr int kFirstCell = 6;
constexpr int kLastCell = 11;
constexpr int kBoxesPerRow = 3;

// Light yellow, light orange, light red: one colour per column.
constexpr quint32 kColumnColours[kBoxesPerRow] = {0x80FFFF, 0x80C0FF, 0x8080FF};

} // namespace

SensorTimesWindow::SensorTimesWindow(ReaderSession &session, QWidget *focusBack, Look look,
                                     QWidget *parent)
    : CellWindow(session, focusBack, look, true, parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(isStationLook() ? QStringLiteral("SENSÖR ZAMANLARI")
                                   : QStringLiteral("Sensör Zamanları"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = label("Label1", QStringLiteral("Besleme motoru ve giriş sensoru arasındaki zaman"));
    Label4 = label("Label4", QStringLiteral("Giriş sensor ile orta sensor arasında geçen zaman"));
    Label6 = label("Label6", QStringLiteral("Orta sensor ile Tm arasında geçen zaman"));
    Label7 = label("Label7", QStringLiteral("Tm  ile cikis sensor arasinda gecen zaman"));
    const QList<QLabel *> rowLabels = {Label1, Label4, Label6, Label7};

    QFont courier;
    courier.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    courier.setStyleHint(QFont::Monospace);
    auto *grid = new QGridLayout(Frame1);
    for (int i = 0; i < 12; ++i) {
        const QByteArray name = "Text" + QByteArray::number(i + 1);
        QLineEdit *edit = box(name.constData(), QStringLiteral("0"));
        edit->setFont(courier);
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(twipsToScreen(900));
        paintBackground(edit, colorFromBgr(kColumnColours[i % kBoxesPerRow]));
        boxes.append(edit);
        const int row = i / kBoxesPerRow;
        if (i % kBoxesPerRow == 0)
            grid->addWidget(rowLabels[row], row, 0);
        grid->addWidget(edit, row, 1 + i % kBoxesPerRow);
    }

    Command4 = button(
        "Command4", isStationLook() ? QStringLiteral("Okuyucudan Yükle") : QStringLiteral("Tazele"),
        QStringLiteral("Okuyucunun hafızasındaki değerleri getirir"));
    Command1 = button(
        "Command1", isStationLook() ? QStringLiteral("Okuyucuya Yaz") : QStringLiteral("Güncelle"),
        QStringLiteral("Bu değerleri Okuyucunun hafızasına yazar"));
    Command5 =
        button("Command5", isStationLook() ? QStringLiteral("Çıkış") : QStringLiteral("Cancel"),
               QStringLiteral("Bu programdan çıkış"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command4);
    buttons->addWidget(Command1);
    buttons->addWidget(Command5);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    setByteBoxes(boxes);
    connect(Command4, &QPushButton::clicked, this, &SensorTimesWindow::reload);
    connect(Command1, &QPushButton::clicked, this, &SensorTimesWindow::write);
    connect(Command5, &QPushButton::clicked, this,
            [this] { leave(QStringLiteral("OPTİK OKUYUCUNUZU RESET YAPMAYI UNUTMAYINIZ")); });
}

void SensorTimesWindow::opened()
{
    readCells(kReadCells, true);
}

void SensorTimesWindow::showCells(const Cells &cells)
{
    for (int i = 0; i < boxes.size(); ++i) {
        const int cell = kFirstCell + i / 2;
        boxes[i]->setText(QString::number(i % 2 == 0 ? cells.first[cell] : cells.second[cell]));
    }
}

void SensorTimesWindow::reload()
{
    whenLineFree([this] { readCells(kReadCells, true); });
}

void SensorTimesWindow::write()
{
    whenLineFree([this] {
        const auto bytes = boxBytes([this](int box) {
            const QList<QLabel *> rowLabels = {Label1, Label4, Label6, Label7};
            return QStringLiteral("\"%1\" satırındaki %2. değer 0 ile 255 arasında bir tam sayı "
                                  "olmalıdır. Okuyucuya hiçbir değer yazılmadı.")
                .arg(rowLabels[box / kBoxesPerRow]->text())
                .arg(box % kBoxesPerRow + 1);
        });
        if (!bytes)
            return;
        QList<CellWrite> writes;
        for (int cell = kFirstCell; cell <= kLastCell; ++cell) {
            const int box = (cell - kFirstCell) * 2;
            writes.append({cell, (*bytes)[box], (*bytes)[box + 1]});
        }
        if (writeCells(writes) == Result::Done && isStationLook())
            MsgBox::show(this, QStringLiteral("YENİ DEĞERLER OPTİK OKUYUCUYA KAYDEDİLDİ"));
    });
}
