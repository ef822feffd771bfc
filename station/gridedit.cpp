#include "gridedit.h"

#include "twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

namespace {

constexpr int kValueColumn = 1;
constexpr int kOtherColumnLimit = 100;

} // namespace

GridEditor::GridEditor(QTableWidget *grid, QLineEdit *editBox, QObject *parent)
    : QObject(parent), m_grid(grid), m_edit(editBox)
{
    m_edit->hide();
    // Tab leaves the grid; moving between cells with it would also move the edit's cell.
    m_grid->setTabKeyNavigation(false);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    m_edit->installEventFilter(this);
    connect(m_grid, &QTableWidget::currentCellChanged, this, &GridEditor::commit);
}

bool GridEditor::isEditing() const
{
    return !m_edit->isHidden();
}

void GridEditor::GridEdit(int key)
{
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    if (row < 0 || column < 0)
        return;
    QTableWidgetItem *item = m_grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(row, column, item);
    }
    m_row = row;
    m_column = column;
    m_edit->setFont(m_grid->font());
    // A value keeps its field's width; other cells take a check text or a constant.
    m_maxLength = column == kValueColumn ? int(item->text().size()) : kOtherColumnLimit;
    m_edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    if (key > 32 || key < 0) {
        m_edit->setText(QString(QChar(char16_t(key))));
        m_edit->setCursorPosition(int(m_edit->text().size()));
    } else {
        m_edit->setText(item->text());
        m_edit->setCursorPosition(0);
    }
    QRect cell = m_grid->visualItemRect(item);
    cell.setHeight(qMax(cell.height() - twipsToScreen(60), m_edit->minimumSizeHint().height()));
    m_edit->setGeometry(cell);
    m_edit->show();
    m_edit->setFocus();
}

void GridEditor::commit()
{
    if (!isEditing())
        return;
    QString text = m_edit->text();
    if (m_column == kValueColumn && text.size() < m_maxLength)
        text = text.leftJustified(m_maxLength, u' ');
    m_edit->hide();
    if (QTableWidgetItem *item = m_grid->item(m_row, m_column)) {
        item->setText(text);
        emit committed();
    }
}

void GridEditor::drop()
{
    m_edit->hide();
}

bool GridEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress)
            return editBoxKeyPress(static_cast<QKeyEvent *>(event));
        // Going elsewhere (a read button) keeps the correction rather than losing it.
        if (event->type() == QEvent::FocusOut && isEditing())
            commit();
        return false;
    }
    if (event->type() == QEvent::FocusIn && watched == m_grid)
        commit();
    if (event->type() == QEvent::KeyPress && watched == m_grid)
        return gridKeyPress(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_grid->viewport()) {
        if (m_grid->currentRow() >= 0) {
            emit doubleClicked();
            GridEdit(32);
        }
        return true;
    }
    return false;
}

bool GridEditor::gridKeyPress(QKeyEvent *event)
{
    // Characters open the edit box; keys without one (arrows, paging) move in the grid.
    const QString text = event->text();
    if (text.isEmpty() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) ||
        event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false; // Tab moves on to the next control
    const int key = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                        ? 13
                        : int(text.at(0).unicode());
    GridEdit(key);
    return true;
}

bool GridEditor::editBoxKeyPress(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        drop(); // hidden first: the edit is dropped, not committed
        m_grid->setFocus();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commit();
        m_grid->setFocus();
        return true;
    case Qt::Key_Down:
        moveRow(+1);
        return true;
    case Qt::Key_Up:
        moveRow(-1);
        return true;
    default:
        return false;
    }
}

void GridEditor::moveRow(int step)
{
    commit();
    m_grid->setFocus();
    QApplication::processEvents();
    const int row = m_grid->currentRow() + step;
    if (row >= 0 && row < m_grid->rowCount())
        m_grid->setCurrentCell(row, m_grid->currentColumn());
}
