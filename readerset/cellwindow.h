#pragma once

#include "readerwindow.h"

#include <QList>
#include <array>

// A window that shows memory cells of the reader in boxes of one byte each, reads them all
// in a row and writes back the ones it shows.
class CellWindow : public ReaderWindow
{
    Q_OBJECT

protected:
    static constexpr int kCells = 30;

    // Both bytes of every cell read so far; cells not read yet hold 0.
    struct Cells
    {
        std::array<quint8, kCells + 1> first{};
        std::array<quint8, kCells + 1> second{};
    };
    struct CellWrite
    {
        int cell;
        quint8 first;
        quint8 second;
    };

    using ReaderWindow::ReaderWindow;

    // The boxes in the order the operator reads them; the check of a write goes in this order.
    void setByteBoxes(const QList<QLineEdit *> &boxes) { m_boxes = boxes; }

    // Reads cells 1 to lastCell (the input thrown away first when asked), showing the boxes
    // after each cell. A read that fails puts back what the boxes held before it.
    Result readCells(int lastCell, bool discardFirst);
    virtual void showCells(const Cells &cells) = 0;

    // Every box as a byte, or nullopt after the operator was told which box holds none (the
    // focus goes there). refusal(i) is the message for box i.
    std::optional<QList<quint8>> boxBytes(const std::function<QString(int box)> &refusal);

    // The writes in order, each waited for without yielding. One that fails is reported and
    // ends the run: what follows is not sent.
    Result writeCells(const QList<CellWrite> &writes);

private:
    QList<QLineEdit *> m_boxes;
};
