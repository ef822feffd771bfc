#include "configscrn.h"

#include "msgbox.h"
#include "serialline.h"
#include "settingsfile.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr int kPorts = 4;
constexpr std::array<int, 6> kBauds = {9600, 19200, 38400, 57600, 115200, 250000};
constexpr char kParities[] = "NOE"; // in the order of the options
constexpr int kFlowCodes = 4;

} // namespace

ConfigScrn::ConfigScrn(SerialLine &line, QWidget *parent)
    : QDialog(parent), m_line(&line), m_ports(new QButtonGroup(this)),
      m_bauds(new QButtonGroup(this)), m_parities(new QButtonGroup(this)),
      m_dataBits(new QButtonGroup(this)), m_stopBits(new QButtonGroup(this)),
      m_flows(new QButtonGroup(this)), m_echoes(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("ConfigScrn"));
    setWindowTitle(QStringLiteral("Communication Settings"));
    setAttribute(Qt::WA_DeleteOnClose);

    for (int index = 1; index <= kPorts; ++index) {
        const QByteArray name = "ComPort_" + QByteArray::number(index);
        ComPort.append(
            option(m_ports, index, name.constData(), QStringLiteral("Com%1").arg(index)));
    }
    Baud3 = option(m_bauds, 0, "Baud3", QStringLiteral("9600"));
    Baud6 = option(m_bauds, 1, "Baud6", QStringLiteral("19200"));
    Baud12 = option(m_bauds, 2, "Baud12", QStringLiteral("38400"));
    Baud24 = option(m_bauds, 3, "Baud24", QStringLiteral("57600"));
    Baud48 = option(m_bauds, 4, "Baud48", QStringLiteral("115200"));
    Baud96 = option(m_bauds, 5, "Baud96", QStringLiteral("250000"));
    NoParity = option(m_parities, 0, "NoParity", QStringLiteral("None"));
    OddParity = option(m_parities, 1, "OddParity", QStringLiteral("Odd"));
    EvenParity = option(m_parities, 2, "EvenParity", QStringLiteral("Even"));
    Data7 = option(m_dataBits, 7, "Data7", QStringLiteral("7"));
    Data8 = option(m_dataBits, 8, "Data8", QStringLiteral("8"));
    Stop1 = option(m_stopBits, 1, "Stop1", QStringLiteral("1"));
    Stop2 = option(m_stopBits, 2, "Stop2", QStringLiteral("2"));
    NoFlow = option(m_flows, 0, "NoFlow", QStringLiteral("None"));
    XonFlow = option(m_flows, 1, "XonFlow", QStringLiteral("Xon/Xoff"));
    RTSFlow = option(m_flows, 2, "RTSFlow", QStringLiteral("RTS"));
    BothFlow = option(m_flows, 3, "BothFlow", QStringLiteral("Xon/RTS"));
    EchoOff = option(m_echoes, 0, "EchoOff", QStringLiteral("Off"));
    EchoOn = option(m_echoes, 1, "EchoOn", QStringLiteral("On"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *frames = new QGridLayout;
    frames->addWidget(frame(QStringLiteral("&Com Port"), m_ports), 0, 0);
    frames->addWidget(frame(QStringLiteral("&Baud Rate"), m_bauds), 0, 1);
    frames->addWidget(frame(QStringLiteral("&Parity"), m_parities), 0, 2);
    frames->addWidget(frame(QStringLiteral("&Flow Control"), m_flows), 0, 3);
    frames->addWidget(frame(QStringLiteral("&Data Bits"), m_dataBits), 1, 0);
    frames->addWidget(frame(QStringLiteral("&Stop Bits"), m_stopBits), 1, 1);
    frames->addWidget(frame(QStringLiteral("&Echo"), m_echoes), 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    frames->addLayout(buttons, 1, 3);
    setLayout(frames);

    // Selecting an option keeps its value at once, the load's selections too.
    connect(m_ports, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        m_port = id;
        emit portChosen(id);
    });
    connect(m_bauds, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_baud = QString::number(kBauds[id]);
    });
    connect(m_parities, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_parity = QChar::fromLatin1(kParities[id]);
    });
    connect(m_dataBits, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_data = QString::number(id);
    });
    connect(m_stopBits, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_stop = QString::number(id);
    });
    connect(m_flows, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_handshaking = id;
    });
    connect(OKButton, &QPushButton::clicked, this, &ConfigScrn::ok);
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);
}

QRadioButton *ConfigScrn::option(QButtonGroup *group, int id, const char *name,
                                 const QString &caption)
{
    auto *button = new QRadioButton(caption, this);
    button->setObjectName(QLatin1String(name));
    group->addButton(button, id);
    return button;
}

QGroupBox *ConfigScrn::frame(const QString &title, QButtonGroup *group)
{
    auto *box = new QGroupBox(title, this);
    auto *layout = new QVBoxLayout(box);
    for (QAbstractButton *button : group->buttons())
        layout->addWidget(button);
    layout->addStretch();
    return box;
}

void ConfigScrn::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Loaded when shown, not when made, so that the opener hears the port of the load.
    if (!m_loaded) {
        m_loaded = true;
        load();
    }
}

void ConfigScrn::load()
{
    if (!m_line)
        return;
    showPort(m_line->portName());

    // A part the options do not offer leaves its group unselected and is kept as it is.
    const QStringList parts = m_line->settings().split(u',');
    m_baud = parts.value(0).trimmed();
    m_parity = parts.value(1).trimmed().toUpper();
    m_data = parts.value(2).trimmed();
    m_stop = parts.value(3).trimmed();
    m_handshaking = m_line->handshaking();
    const auto select = [](QButtonGroup *group, int id) {
        if (QAbstractButton *button = group->button(id))
            button->setChecked(true);
    };
    select(m_bauds, int(std::find(kBauds.begin(), kBauds.end(), m_baud.toInt()) - kBauds.begin()));
    if (m_parity.size() == 1)
        select(m_parities, int(QByteArrayView(kParities).indexOf(m_parity[0].toLatin1())));
    select(m_dataBits, m_data.toInt());
    select(m_stopBits, m_stop.toInt());
    if (m_handshaking < kFlowCodes)
        select(m_flows, m_handshaking);
    EchoOff->setChecked(true);
}

void ConfigScrn::showPort(const QString &portName)
{
    const int number = portNumberFor(portName);
    if (QAbstractButton *button = m_ports->button(number)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group will not let its selected option go.
    m_ports->setExclusive(false);
    if (QAbstractButton *chosen = m_ports->checkedButton())
        chosen->setChecked(false);
    m_ports->setExclusive(true);
    m_port = 0;
}

void ConfigScrn::ok()
{
    if (!m_line) {
        close();
        return;
    }
    // No port option chosen (the line runs on a device the options do not name): kept.
    const QString oldPort = m_line->portName();
    if (m_port > 0) {
        const QString portName = portNameFor(QString::number(m_port));
        if (portName != oldPort && !m_line->setPortName(portName)) {
            if (warn(m_line->errorString()))
                showPort(oldPort);
            return;
        }
    }
    const QString settings = QStringList{m_baud, m_parity, m_data, m_stop}.join(u',');
    if (!m_line->setSettings(settings)) {
        warn(m_line->errorString());
        return;
    }
    if (!m_line->setHandshaking(m_handshaking)) {
        warn(m_line->errorString());
        return;
    }
    close();
}

bool ConfigScrn::warn(const QString &text)
{
    QPointer<ConfigScrn> self(this);
    MsgBox::show(this, text, MsgBox::Buttons::Ok, MsgBox::Icon::Warning, windowTitle());
    return self && m_line;
}
