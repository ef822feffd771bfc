#include "eyevalueswindow.h"

#include "twips.h"
#include "val.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kEyesPerRow = 16;
constexpr int kGroup = 8;

const QColor kDesignColour = colorFromBgr(0xC0E0FF); // light orange
const QColor kAboveColour = colorFromBgr(0xFFFFFF);  // white
const QColor kBelowColour = colorFromBgr(0xFFC0C0);  // light blue
const QColor kZeroColour = colorFromBgr(0x00FFFF);   // yellow

} // namespace

EyeValuesWindow::EyeValuesWindow(ReaderSession &session, QWidget *focusBack, QWidget *parent)
    : ReaderWindow(session, focusBack, Look::Station, true, parent)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("OPTİK GÖZ DEĞERLERİ"));

    for (int index = 1; index <= 2 * kEyes; ++index) {
        const QByteArray name = "Label1_" + QByteArray::number(index);
        QLabel *eye = index <= kEyes ? label(name.constData(), QStringLiteral("0"),
                                             QStringLiteral("No lu göz değeri"))
                                     : label(name.constData(), QString());
        eye->setAlignment(Qt::AlignCenter);
        eye->setMinimumWidth(twipsToScreen(450));
        if (index <= kEyes) {
            eye->setFrameShape(QFrame::Box);
            paintBackground(eye, kDesignColour);
        }
        Label1.append(eye);
    }
    auto *eyes = new QGridLayout;
    eyes->setHorizontalSpacing(2);
    for (int eye = 0; eye < kEyes; ++eye) {
        const int row = eye / kEyesPerRow * 2;
        const int position = eye % kEyesPerRow;
        const int column = position + position / kGroup; // an empty column between the groups
        eyes->addWidget(Label1[kEyes + eye], row, column);
        eyes->addWidget(Label1[eye], row + 1, column);
    }
    eyes->setColumnMinimumWidth(kGroup, twipsToScreen(300));

    Text1 = box("Text1", QStringLiteral("1"), QStringLiteral("İzlenecek satırın numarası"));
    Text2 = box("Text2", QStringLiteral("0"));
    Label49 = label("Label49", QStringLiteral("TM Numarası"));
    Label2 = label("Label2", QStringLiteral("Alt Değer"));
    for (QLineEdit *edit : {Text1, Text2}) {
        edit->setMaximumWidth(twipsToScreen(800));
        edit->setAlignment(Qt::AlignRight);
    }
    auto *fields = new QHBoxLayout;
    fields->addWidget(Label49);
    fields->addWidget(Text1);
    fields->addSpacing(twipsToScreen(600));
    fields->addWidget(Label2);
    fields->addWidget(Text2);
    fields->addStretch();

    Command3 = button("Command3", QStringLiteral("Tm No ya Git"),
                      QStringLiteral("Verilen TM nolu satırın göz değerlerini gösterir"));
    Command5 = button("Command5", QStringLiteral("Önceki"),
                      QStringLiteral("Bir önceki TM nolu satırın Göz değerlerini gösterir"));
    Command1 = button("Command1", QStringLiteral("Sonraki"),
                      QStringLiteral("Bir sonraki TM nolu satırın Göz değerlerini gösterir"));
    Command2 = button("Command2", QStringLiteral("Çıkış"), QStringLiteral("Programdan çıkar"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {Command3, Command5, Command1, Command2})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(eyes);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(Text2, &QLineEdit::textChanged, this, &EyeValuesWindow::colourEyes);
    connect(Command3, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { goToLine(); }); });
    connect(Command1, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { nextLine(); }); });
    connect(Command5, &QPushButton::clicked, this,
            [this] { whenLineFree([this] { previousLine(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void EyeValuesWindow::opened()
{
    commands().eyeRewind();
    for (int eye = 1; eye <= kEyes; ++eye)
        Label1[kEyes + eye - 1]->setText(QString::number(eye));
    Text1->setText(QStringLiteral("1"));
    goToLine();
}

std::optional<int> EyeValuesWindow::lineNumber(int offset)
{
    bool ok = false;
    const int line = Text1->text().trimmed().toInt(&ok) + offset;
    if (ok && line >= 1 && line <= kLines)
        return line;
    if (ok && offset < 0 && line < 1)
        return 1; // "Önceki" on the first line stays there
    refuse(QStringLiteral("\"TM Numarası\" 1 ile 64 arasında bir tam sayı olmalıdır."), Text1);
    return std::nullopt;
}

void EyeValuesWindow::goToLine()
{
    const std::optional<int> line = lineNumber(0);
    if (!line)
        return;
    commands().eyeRewind();
    WaitCursor hourglass;
    readLines(*line);
}

void EyeValuesWindow::nextLine()
{
    const std::optional<int> line = lineNumber(1);
    if (!line)
        return;
    Text1->setText(QString::number(*line));
    // After a failed read the stream stands anywhere: go there from the start instead.
    if (!m_streamKnown) {
        goToLine();
        return;
    }
    readLines(1);
}

void EyeValuesWindow::previousLine()
{
    const std::optional<int> line = lineNumber(-1);
    if (!line)
        return;
    Text1->setText(QString::number(*line));
    goToLine();
}

bool EyeValuesWindow::readLines(int count)
{
    m_streamKnown = false;
    for (int line = 0; line < count; ++line) {
        SerialLine::Reply reply;
        const Result result =
            exchange([this] { return commands().eyeLine(ReaderCommands::Wait::Blocking); },
                     Work::Reading, &reply);
        if (result != Result::Done)
            return false;
        for (int eye = 0; eye < kEyes; ++eye) {
            Label1[eye]->setText(QString::number(quint8(reply.bytes.at(eye))));
            colourEye(Label1[eye]);
        }
    }
    m_streamKnown = true;
    return true;
}

void EyeValuesWindow::colourEyes()
{
    for (int eye = 0; eye < kEyes; ++eye)
        colourEye(Label1[eye]);
}

void EyeValuesWindow::colourEye(QLabel *eye)
{
    const double threshold = Val(Text2->text());
    const int value = eye->text().toInt();
    // A value equal to the threshold is not below it: white, never the colour it had before.
    QColor colour = value < threshold ? kBelowColour : kAboveColour;
    if (value == 0)
        colour = kZeroColour;
    paintBackground(eye, colour);
}
