#pragma once

#include "definitionmodel.h"
#include "formlayout.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class PlacementDialog;

namespace visual {
class FormPainter;
}

// The visual designer, dokum: the paper form drawn as timing marks and a 48-column grid of
// bubbles with the defined fields in red. Dragging with the left button marks a new field, which
// the placement dialog completes; a right press on a field's upper-left corner deletes it. It
// changes the definition the written designer shows, and nothing else.
//
// What is drawn stays in an image, drawn once at load and then only where the mouse changes it.
class VisualDesigner : public QWidget
{
    Q_OBJECT

public:
    explicit VisualDesigner(formdef::DefinitionModel &model, QWidget *parent = nullptr);
    ~VisualDesigner() override;

    formdef::DefinitionModel &model() { return m_model; }
    const visual::FormGeometry &geometry() const { return m_geometry; }
    // The drawing as the operator sees it, one pixel per screen pixel.
    const QImage &image() const { return m_image; }
    // The widget position of a point given in twips, and back.
    QPoint toPixels(QPoint twips) const;
    QPoint toTwips(QPoint pixels) const;
    visual::CellBox marked() const { return m_marked; }
    PlacementDialog *placement() const;

    // The placement dialog's drawing on this window.
    void drawCharacters(const formdef::FieldDef &field);
    void dropMarking(const visual::CellBox &box);
    // The placement dialog has closed, whichever way.
    void placementClosed();
    // Closes an open placement dialog as "Vazgeç".
    void closePlacement();

    // The four numbers of a finished marking, as text, for the placement dialog.
    QLabel *fsat1;
    QLabel *fsat2;
    QLabel *fsut1;
    QLabel *fsut2;

signals:
    // The status caption: row, column and the covering field's label under the pointer.
    void statusCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    visual::Cell cellAt(QMouseEvent *event) const;
    int cornerField(visual::Cell cell) const;
    void deleteField(int row);
    // Wipes the cells of a box and draws again what the remaining fields have there.
    void redrawCells(const visual::CellBox &box);
    void markCells(const visual::CellBox &box, const visual::CellBox &already);
    void repaintCells(const visual::FormPainter &form, const visual::CellBox &box);

    formdef::DefinitionModel &m_model;
    visual::FormGeometry m_geometry;
    int m_dpi;
    QImage m_image;
    visual::CellBox m_marked;
    QPointer<PlacementDialog> m_placement;
};
