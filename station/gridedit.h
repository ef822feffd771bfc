#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;
class QTableWidget;

// Editing the results grid in place: a hidden line edit laid over the current cell, opened by
// a double-click or a typed key and committed back into the cell it was opened on.
class GridEditor : public QObject
{
    Q_OBJECT

public:
    GridEditor(QTableWidget *grid, QLineEdit *editBox, QObject *parent = nullptr);

    // Opens the edit box on the current cell; key is the typed character's code (32 or less:
    // start from the cell's text).
    void GridEdit(int key);
    // Puts the edit box's text into its cell and hides it; nothing when it is not open.
    void commit();
    // Hides the edit box without touching its cell.
    void drop();
    bool isEditing() const;

signals:
    void doubleClicked(); // the operator asked for an edit by double-click
    void committed();     // a cell took the edit box's text

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool gridKeyPress(QKeyEvent *event);
    bool editBoxKeyPress(QKeyEvent *event);
    void moveRow(int step);

    QTableWidget *m_grid;
    QLineEdit *m_edit;
    int m_row = -1;
    int m_column = -1;
    int m_maxLength = 0; // 0: no limit
};
