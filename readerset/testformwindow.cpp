#include "testformwindow.h"

#include "twips.h"
#include "val.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace {

const QColor kWhite = colorFromBgr(0xFFFFFF);
const QColor kBlack = colorFromBgr(0x000000);
const QColor kMagenta = colorFromBgr(0xFF00FF);
const QColor kRed = colorFromBgr(0x0000FF);
const QColor kLightOrange = colorFromBgr(0x80C0FF);
const QColor kYellow = colorFromBgr(0x00FFFF);
const QColor kGreen = colorFromBgr(0x00C000);
const QColor kDarkBlue = colorFromBgr(0xC00000);

constexpr int kColumnTwips = 350;
constexpr int kBelowGridTwips = 3000;

// Keeps the grid from repainting cell by cell during a bulk update (each cell's change would
// otherwise be reported to the view one at a time) and paints it once afterwards.
class QuietGrid
{
public:
    explicit QuietGrid(QTableWidget *grid) : m_grid(grid)
    {
        m_grid->setUpdatesEnabled(false);
        m_grid->model()->blockSignals(true);
    }
    ~QuietGrid()
    {
        m_grid->model()->blockSignals(false);
        m_grid->setUpdatesEnabled(true);
        m_grid->viewport()->update();
    }

private:
    QTableWidget *m_grid;
};

// Paints a cell as its background and its three digits, no more: the style's full treatment of
// every cell, and laying its text out afresh each time, make a screenful of the grid slow to
// paint. The 256 texts a cell can hold are laid out once.
class PlainCells : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QVariant background = index.data(Qt::BackgroundRole);
        painter->fillRect(option.rect, background.isValid() ? background.value<QBrush>()
                                                            : option.palette.base());
        const QString text = index.data().toString();
        if (text.isEmpty())
            return;
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(foreground.isValid() ? foreground.value<QBrush>().color()
                                             : option.palette.text().color());
        QStaticText &laidOut = m_texts[quint8(text.toInt())];
        if (laidOut.text() != text) {
            laidOut.setText(text);
            laidOut.prepare(QTransform(), option.font);
        }
        const QSizeF size = laidOut.size();
        painter->setFont(option.font);
        painter->drawStaticText(
            QPointF(option.rect.x() + (option.rect.width() - size.width()) / 2,
                    option.rect.y() + (option.rect.height() - size.height()) / 2),
            laidOut);
    }

private:
    mutable std::array<QStaticText, 256> m_texts;
};

} // namespace

TestFormWindow::TestFormWindow(ReaderSession &session, QWidget *focusBack, QWidget *parent)
    : ReaderWindow(session, focusBack, Look::Station, false, parent),
      m_table(kLines, QByteArray(kEyes, '\0'))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Form5"));

    msg_goz = new QTableWidget(kLines, kEyes, this);
    msg_goz->setObjectName(QStringLiteral("msg_goz"));
    QStringList eyes, lines;
    for (int eye = 1; eye <= kEyes; ++eye)
        eyes.append(QString::number(eye));
    for (int line = 1; line <= kLines; ++line)
        lines.append(QString::number(line));
    msg_goz->setHorizontalHeaderLabels(eyes);
    msg_goz->setVerticalHeaderLabels(lines);
    msg_goz->horizontalHeader()->setMinimumSectionSize(1);
    msg_goz->horizontalHeader()->setDefaultSectionSize(twipsToScreen(kColumnTwips));
    // Three digits must stand apart in a column that narrow: a smaller font where needed.
    QFont cellFont = msg_goz->font();
    while (cellFont.pointSizeF() > 6 && QFontMetrics(cellFont).horizontalAdvance(QStringLiteral(
                                            "000")) > twipsToScreen(kColumnTwips) - 5)
        cellFont.setPointSizeF(cellFont.pointSizeF() - 0.5);
    msg_goz->setFont(cellFont);
    msg_goz->verticalHeader()->setDefaultSectionSize(QFontMetrics(cellFont).height() + 4);
    msg_goz->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msg_goz->setItemDelegate(new PlainCells(msg_goz));
    for (int line = 0; line < kLines; ++line)
        for (int eye = 0; eye < kEyes; ++eye) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            msg_goz->setItem(line, eye, item);
        }

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Command1 = button("Command1", QStringLiteral("YENİLE"));
    Text1 = box("Text1", QStringLiteral("99"));
    Text2 = box("Text2", QStringLiteral("100"));
    paintBackground(Text1, kMagenta);
    paintBackground(Text2, kRed);
    Label1 = label("Label1", QStringLiteral("ALTINDA KALANLAR"));
    Label2 = label("Label2", QStringLiteral("ÜSTÜNDE KALANLAR"));
    Command1->setMinimumWidth(twipsToScreen(1800));
    auto *thresholds = new QHBoxLayout(Frame1);
    thresholds->addWidget(Command1);
    for (auto [text, caption] : {std::pair{Text1, Label1}, std::pair{Text2, Label2}}) {
        text->setMaximumWidth(twipsToScreen(700));
        text->setAlignment(Qt::AlignRight);
        thresholds->addWidget(text);
        thresholds->addWidget(caption);
    }

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Command2 = button("Command2", QStringLiteral("TEST FORM KONTROL"));
    Command2->setMinimumWidth(twipsToScreen(2600));
    Label3 = label("Label3", QStringLiteral("000 OLMALI"));
    Label4 = label("Label4", QStringLiteral("000 OLMAMALI"));
    auto *check = new QHBoxLayout(Frame2);
    check->addWidget(Command2);
    for (auto [legend, colour] : {std::pair{Label3, kGreen}, std::pair{Label4, kDarkBlue}}) {
        paintBackground(legend, colour);
        QPalette palette = legend->palette();
        palette.setColor(QPalette::WindowText, kWhite);
        legend->setPalette(palette);
        legend->setMargin(4);
        check->addWidget(legend);
    }

    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    frames->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(msg_goz, 1);
    layout->addLayout(frames);

    // The whole screen, the grid taking all but a strip for the frames below it.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
        msg_goz->setMinimumHeight(
            qMax(0, screen->availableGeometry().height() - twipsToScreen(kBelowGridTwips)));
    }

    connect(Text1, &QLineEdit::textChanged, this, &TestFormWindow::colourByThresholds);
    connect(Text2, &QLineEdit::textChanged, this, &TestFormWindow::colourByThresholds);
    connect(Command1, &QPushButton::clicked, this, [this] { whenLineFree([this] { refresh(); }); });
    connect(Command2, &QPushButton::clicked, this, &TestFormWindow::checkTestForm);
}

void TestFormWindow::opened()
{
    commands().eyeRewind();
}

void TestFormWindow::refresh()
{
    WaitCursor hourglass;
    commands().eyeRewind();
    LineTable table;
    for (int line = 1; line <= kLines; ++line) {
        // The waits below let no event through: paint the counter now or it is never seen.
        Command1->setText(signedText(line));
        Command1->repaint();
        SerialLine::Reply reply;
        const Result result =
            exchange([this] { return commands().eyeLine(ReaderCommands::Wait::Blocking); },
                     Work::Reading, &reply);
        if (result == Result::Gone)
            return;
        if (result == Result::Failed) {
            Command1->setText(QStringLiteral("YENİLE"));
            return; // the grid keeps the last full set of lines
        }
        table.append(reply.bytes.left(kEyes));
    }
    showLines(table);
    Command1->setText(QStringLiteral("YENİLE"));
}

void TestFormWindow::showLines(const LineTable &table)
{
    QuietGrid quiet(msg_goz);
    m_table = table;
    for (int line = 0; line < kLines; ++line)
        for (int eye = 0; eye < kEyes; ++eye)
            msg_goz->item(line, eye)->setText(
                QString::number(quint8(m_table[line][eye])).rightJustified(3, u'0'));
}

void TestFormWindow::paintCell(int line, int eye, const QColor &background, const QColor &text)
{
    QTableWidgetItem *item = msg_goz->item(line, eye);
    item->setBackground(background);
    item->setForeground(text);
}

void TestFormWindow::colourByThresholds()
{
    WaitCursor hourglass;
    QuietGrid quiet(msg_goz);
    const double below = Val(Text1->text());
    const double above = Val(Text2->text());
    for (int line = 0; line < kLines; ++line)
        for (int eye = 0; eye < kEyes; ++eye) {
            const int value = quint8(m_table[line][eye]);
            QColor colour = kWhite;
            if (value != 0 && value <= below)
                colour = kMagenta;
            else if (value != 0 && value >= above)
                colour = kLightOrange;
            if (below < value && value < above)
                colour = kYellow;
            paintCell(line, eye, colour, kBlack);
        }
}

void TestFormWindow::checkTestForm()
{
    WaitCursor hourglass;
    QuietGrid quiet(msg_goz);
    for (int line = 0; line < kLines; ++line) {
        Command2->setText(signedText(line + 1));
        Command2->repaint();
        const bool reference = m_table[line][0] != 0;
        // Odd eyes only (1, 3, ..., 47), each against eye 1 of its line.
        for (int eye = 0; eye < kEyes; eye += 2) {
            if ((m_table[line][eye] != 0) == reference)
                continue;
            // Green where the eye should read 000 and does not, dark blue where it should not
            // and does: the colours of the legend.
            paintCell(line, eye, reference ? kDarkBlue : kGreen, kWhite);
        }
    }
    Command2->setText(QStringLiteral("TEST FORM KONTROL"));
}
