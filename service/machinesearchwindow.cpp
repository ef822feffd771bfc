#include "machinesearchwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MachineSearchWindow::MachineSearchWindow(ReaderSession &session, const QString &portText,
                                         std::function<Attention()> attention, QWidget *parent)
    : ReaderWindow(session, parent, Look::Service, false, parent), m_portText(portText),
      m_attention(std::move(attention))
{
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("Makine Arama"));
    Label1 = label("Label1", QStringLiteral("Makine aranıyor"));
    Label2 = label("Label2", QString());
    Command1 = button("Command1", QStringLiteral("OK"));
    auto *found = new QHBoxLayout;
    found->addWidget(Label1);
    found->addWidget(Label2);
    found->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(found);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void MachineSearchWindow::opened()
{
    if (!m_attention)
        return;
    // A copy: the window, and its member with it, may go while the loop waits.
    const std::function<Attention()> attention = m_attention;
    Attention result = Attention::Aborted;
    if (waitFor([&result, &attention] { result = attention(); }) == Result::Gone)
        return;
    switch (result) {
    case Attention::Ready:
        Label1->setText(QStringLiteral("Tamam! Makine'nin bağlı olduğu ComPort "));
        Label2->setText(m_portText);
        break;
    case Attention::NoAnswer:
        Label1->setText(QStringLiteral("Makine bulunamadı: bu ComPort'tan cevap gelmedi."));
        break;
    case Attention::PortLost:
        Label1->setText(QStringLiteral("Makine bulunamadı: bu ComPort ile bağlantı kurulamadı."));
        break;
    case Attention::Aborted:
        break;
    }
}
