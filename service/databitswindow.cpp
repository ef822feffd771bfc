#include "databitswindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename Control> Control *named(QWidget *parent, const char *name, const QString &text)
{
    auto *control = new Control(text, parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

DataBitsWindow::DataBitsWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Data bits"));
    setAttribute(Qt::WA_DeleteOnClose);
    Option1 = named<QRadioButton>(this, "Option1", QStringLiteral("8 Bits"));
    Option2 = named<QRadioButton>(this, "Option2", QStringLiteral("4 Bits"));
    Label1 = named<QLabel>(this, "Label1",
                           QStringLiteral("Choosing 4 bits increases machine's speed and decreases "
                                          "its reading  resolution."));
    Label1->setWordWrap(true);
    Command1 = named<QPushButton>(this, "Command1", QStringLiteral("OK"));
    Command2 = named<QPushButton>(this, "Command2", QStringLiteral("Cancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Option1);
    layout->addWidget(Option2);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
}
