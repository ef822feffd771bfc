#include "calibrationwindow.h"

#include "msgbox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CalibrationWindow::CalibrationWindow(ReaderSession &session, QWidget *parent)
    : ReaderWindow(session, parent, Look::Service, false, parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Kalibrasyon"));
    Label1 = label("Label1", QStringLiteral("Okuyucuya bir test kağıdı koyun ve  'OK'  butonuna "
                                            "basın kağıt geçtikten sonra 'Cancel' butonuna "
                                            "basınız."));
    Label1->setWordWrap(true);
    Command1 = button("Command1", QStringLiteral("OK"));
    Command2 = button("Command2", QStringLiteral("Cancel"));
    // Never shown, so never clicked: it has no action.
    Command3 = button("Command3", QStringLiteral("Calibrated Values"));
    Command3->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { calibrate(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void CalibrationWindow::calibrate()
{
    // The command has no reply; only a line that cannot carry it is worth saying.
    if (!commands().calibrate())
        MsgBox::show(this,
                     QStringLiteral("Optik okuyucu ile bağlantı kesildi; kalibrasyon komutu "
                                    "gönderilemedi."),
                     MsgBox::Buttons::Ok, MsgBox::Icon::Warning, windowTitle());
}
