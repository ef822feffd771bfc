#include "datquestionwindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DatQuestionWindow::DatQuestionWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Uyarı"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = new QLabel(QStringLiteral("Bu dosya zaten mevcut devamına yazılsın mı?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = new QPushButton(QStringLiteral("Evet"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Hayır"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, [this] { answer(true); });
    connect(Command2, &QPushButton::clicked, this, [this] { answer(false); });
    Command1->setDefault(true);
}

void DatQuestionWindow::answer(bool append)
{
    if (!m_answered) {
        m_answered = true;
        emit answered(append);
    }
    close();
}

void DatQuestionWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_answered) {
        m_answered = true;
        emit answered(true);
    }
}
