#include "servicesensorwindow.h"

#include "protocol.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QByteArray kQueries = QByteArray() + Reader::kTraySensor + Reader::kEntrySensor +
                            Reader::kMiddleSensor + Reader::kExitSensor + Reader::kClearButton +
                            Reader::kButton2;

} // namespace

ServiceSensorWindow::ServiceSensorWindow(ReaderSession &session, QWidget *parent)
    : ReaderWindow(session, parent, Look::Service, false, parent)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Sensör Kontrolü"));
    labels = {
        label("Label1", QStringLiteral("Besleme Sensoru")),
        label("Label2", QStringLiteral("Giris Sensoru")),
        label("Label3", QStringLiteral("Orta Sensor")),
        label("Label4", QStringLiteral("Cikis Sensoru")),
        label("Label5", QStringLiteral("Clear Butonu")),
        label("Label6", QStringLiteral("Button2")),
    };
    auto *rows = new QGridLayout;
    for (int row = 0; row < int(labels.size()); ++row) {
        const QByteArray name = "Text" + QByteArray::number(row + 1);
        QLineEdit *value = box(name.constData(), QString());
        value->setAlignment(Qt::AlignRight);
        values.append(value);
        rows->addWidget(labels[row], row, 0);
        rows->addWidget(value, row, 1);
    }
    Command1 = button("Command1", QStringLiteral("Refresh"));
    Command2 = button("Command2", QStringLiteral("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] {
        // A second "Refresh" while the sensors are polled starts no second loop.
        if (!isRepeating())
            whenLineFree(
                [this] { repeatWhileOpen([this] { return querySensors(kQueries, values); }); });
    });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void ServiceSensorWindow::opened()
{
    querySensors(kQueries, values);
}
