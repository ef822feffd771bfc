#include "serviceeyewindow.h"

#include "twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kEyesPerRow = 24;

} // namespace

ServiceEyeWindow::ServiceEyeWindow(ReaderSession &session, QWidget *parent)
    : ReaderWindow(session, parent, Look::Service, false, parent)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Göz Değerleri"));

    // Two rows of 24 values, each under the numbers of its eyes.
    auto *eyes = new QGridLayout;
    eyes->setHorizontalSpacing(2);
    for (int eye = 0; eye < kEyes; ++eye) {
        const QByteArray name = "Label" + QByteArray::number(eye + 1);
        QLabel *value = label(name.constData(), QString());
        value->setAlignment(Qt::AlignCenter);
        value->setFrameShape(QFrame::Box);
        value->setMinimumWidth(twipsToScreen(400));
        auto *number = new QLabel(QString::number(eye + 1), this);
        number->setAlignment(Qt::AlignCenter);
        const int row = eye / kEyesPerRow * 2;
        eyes->addWidget(number, row, eye % kEyesPerRow);
        eyes->addWidget(value, row + 1, eye % kEyesPerRow);
        values.append(value);
    }

    Label49 = label("Label49", QStringLiteral("Tm Number :"));
    Text1 = box("Text1", QStringLiteral("1"));
    Text1->setMaximumWidth(twipsToScreen(800));
    Text1->setAlignment(Qt::AlignRight);
    Command3 = button("Command3", QStringLiteral("OK"));
    Command1 = button("Command1", QStringLiteral("Next"));
    Command2 = button("Command2", QStringLiteral("Cancel"));
    // The routine that reads one line; never shown.
    Command4 = button("Command4", QString());
    Command4->hide();
    auto *controls = new QHBoxLayout;
    controls->addWidget(Label49);
    controls->addWidget(Text1);
    controls->addStretch();
    for (QPushButton *b : {Command3, Command1, Command2, Command4})
        controls->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(eyes);
    layout->addLayout(controls);

    connect(Command3, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { goToLine(); }); });
    connect(Command1, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { nextLine(); }); });
    connect(Command4, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { readLine(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void ServiceEyeWindow::opened()
{
    if (commands().eyeRewind())
        m_streamLine = 0;
}

std::optional<int> ServiceEyeWindow::lineNumber(int offset)
{
    bool ok = false;
    const int line = Text1->text().trimmed().toInt(&ok) + offset;
    if (ok && line >= 1 && line <= kLines)
        return line;
    refuse(QStringLiteral("\"Tm Number\" 1 ile 64 arasında bir tam sayı olmalıdır."), Text1);
    return std::nullopt;
}

void ServiceEyeWindow::goToLine()
{
    const std::optional<int> line = lineNumber(0);
    if (!line)
        return;
    m_streamLine = commands().eyeRewind() ? 0 : -1;
    WaitCursor hourglass;
    for (int read = 0; read < *line; ++read)
        if (!readLine())
            return;
}

void ServiceEyeWindow::nextLine()
{
    const std::optional<int> line = lineNumber(1);
    if (!line)
        return;
    Text1->setText(QString::number(*line));
    // The reader's stream only goes forward: when it does not stand just before the line (on
    // opening, after a failed read, after a typed number) the line is found from the start.
    if (m_streamLine != *line - 1) {
        goToLine();
        return;
    }
    readLine();
}

bool ServiceEyeWindow::readLine()
{
    const int before = m_streamLine;
    m_streamLine = -1;
    SerialLine::Reply reply;
    if (exchange([this] { return commands().eyeLine(ReaderCommands::Wait::Yielding); },
                 Work::Reading, &reply) != Result::Done)
        return false;
    for (int eye = 0; eye < kEyes; ++eye)
        values[eye]->setText(QString::number(quint8(reply.bytes.at(eye))));
    m_streamLine = before < 0 ? -1 : before + 1;
    return true;
}
