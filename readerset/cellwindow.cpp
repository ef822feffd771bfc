#include "cellwindow.h"

#include <QLineEdit>

namespace {

// A box's text as one byte: a whole number from 0 to 255, blanks around it allowed.
std::optional<quint8> byteOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 3)
        return std::nullopt;
    for (const QChar c : trimmed)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int value = trimmed.toInt();
    return value <= 255 ? std::optional<quint8>(quint8(value)) : std::nullopt;
}

} // namespace

CellWindow::Result CellWindow::readCells(int lastCell, bool discardFirst)
{
    QStringList before;
    for (const QLineEdit *box : std::as_const(m_boxes))
        before.append(box->text());
    if (discardFirst)
        commands().line()->discardInput();
    Cells cells;
    for (int cell = 1; cell <= lastCell; ++cell) {
        SerialLine::Reply reply;
        const Result result =
            exchange([this, cell] { return commands().readCell(cell); }, Work::Reading, &reply);
        if (result == Result::Gone)
            return result;
        if (result == Result::Failed) {
            // Half-read boxes would show zeros as if the reader held them, ready to be written.
            for (qsizetype i = 0; i < m_boxes.size(); ++i)
                m_boxes[i]->setText(before[i]);
            return result;
        }
        // Stale bytes ahead of the reply are taken with it; only the first two count.
        cells.first[cell] = quint8(reply.bytes.at(0));
        cells.second[cell] = quint8(reply.bytes.at(1));
        showCells(cells);
    }
    return Result::Done;
}

std::optional<QList<quint8>> CellWindow::boxBytes(const std::function<QString(int box)> &refusal)
{
    QList<quint8> bytes;
    for (int i = 0; i < m_boxes.size(); ++i) {
        const std::optional<quint8> byte = byteOf(m_boxes[i]->text());
        if (!byte) {
            refuse(refusal(i), m_boxes[i]);
            return std::nullopt;
        }
        bytes.append(*byte);
    }
    return bytes;
}

CellWindow::Result CellWindow::writeCells(const QList<CellWrite> &writes)
{
    for (const CellWrite &write : writes) {
        const Result result = exchange(
            [this, write] {
                return commands().writeCell(write.cell, write.first, write.second,
                                            ReaderCommands::Wait::Blocking);
            },
            Work::Writing);
        if (result != Result::Done)
            return result;
    }
    return Result::Done;
}
