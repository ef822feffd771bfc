#include "sensorcontrolwindow.h"

#include "protocol.h"
#include "twips.h"
#include "val.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor kPaperColour = colorFromBgr(0x00C000);   // green
const QColor kNoPaperColour = colorFromBgr(0x0000FF); // red

const QByteArray kQueries = QByteArray() + Reader::kTraySensor + Reader::kEntrySensor +
                            Reader::kMiddleSensor + Reader::kExitSensor + Reader::kClearButton;

} // namespace

SensorControlWindow::SensorControlWindow(ReaderSession &session, QWidget *focusBack,
                                         QWidget *parent)
    : ReaderWindow(session, focusBack, Look::Station, true, parent)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Sensör Kontrolü"));

    labels = {
        label("Label1", QStringLiteral("Tepsi Sensörü"),
              QStringLiteral("Tepside Kağı var/yok algılayan sensör")),
        label("Label2", QStringLiteral("Giriş Sensörü"),
              QStringLiteral("kağıdın beslemeye geldiğini algılayan sensör")),
        label("Label3", QStringLiteral("Orta Sensör"),
              QStringLiteral("kağıdın beslemeye girdiğini algılayan sensör")),
        label("Label4", QStringLiteral("Çıkış Sensörü"),
              QStringLiteral("kağıdın okunup çıktığını algılayan sensör")),
        label("Label5", QStringLiteral("Clear Butonu"), QStringLiteral("Clear butonu test")),
    };
    auto *rows = new QGridLayout;
    for (int row = 0; row < int(labels.size()); ++row) {
        const QByteArray valueName = "Text" + QByteArray::number(row + 1);
        const QByteArray lampName = "Command" + QByteArray::number(row + 3);
        QLineEdit *value = box(valueName.constData(), QString(),
                               QStringLiteral("1-Sensör de kağıt var 0-Kağıt yok"));
        value->setMaximumWidth(twipsToScreen(700));
        value->setAlignment(Qt::AlignRight);
        QPushButton *lamp = button(lampName.constData(), QString(),
                                   QStringLiteral("Yeşil-Sensör de kağıt var Kırmızı-Kağıt yok"));
        lamp->setFixedWidth(twipsToScreen(500));
        lamp->setFocusPolicy(Qt::NoFocus);
        paintBackground(lamp, kNoPaperColour);
        values.append(value);
        lamps.append(lamp);
        rows->addWidget(labels[row], row, 0);
        rows->addWidget(value, row, 1);
        rows->addWidget(lamp, row, 2);
    }

    Command1 = button("Command1", QStringLiteral("İzle"),
                      QStringLiteral("Sensörleri izlemek için aktif eder"));
    Command2 = button("Command2", QStringLiteral("Çıkış"), QStringLiteral("Bu programdan çıkış"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] {
        // A second "İzle" while the sensors are watched starts no second loop.
        if (!isRepeating())
            whenLineFree([this] { monitor(); });
    });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void SensorControlWindow::opened()
{
    querySensors(kQueries, values);
}

void SensorControlWindow::monitor()
{
    repeatWhileOpen([this] {
        if (!querySensors(kQueries, values))
            return false;
        for (int row = 0; row < int(values.size()); ++row)
            paintBackground(lamps[row],
                            Val(values[row]->text()) == 0 ? kNoPaperColour : kPaperColour);
        return true;
    });
}
