#pragma once

#include "definitionmodel.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

class QScrollArea;
class QToolBar;
class QToolButton;
class VisualDesigner;

// The preview window, Onizle: the frame of the visual designer, whose status caption it shows
// in its title bar, with one toolbar button that prints the form's layout. Closing it closes an
// open placement dialog as "Vazgeç" and deletes the window.
class PreviewWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PreviewWindow(formdef::DefinitionModel &model, QWidget *parent = nullptr);

    QToolBar *tbToolBar;
    QToolButton *Print;
    // The toolbar's pictures by key: "Print", "Back", "Forward", "Redo"; only "Print" is used.
    QHash<QString, QPixmap> imlToolbarIcons;
    VisualDesigner *dokum;

    // The toolbar's Print button: the default printer, or a PDF file where there is none.
    void printLayout();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    formdef::DefinitionModel &m_model;
    QScrollArea *m_area;
};
