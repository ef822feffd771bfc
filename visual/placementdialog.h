#pragma once

#include "definitionmodel.h"
#include "formlayout.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class VisualDesigner;

// The placement dialog, Fyer: the rectangle just marked in the visual designer becomes a field
// with its character set, orientation and title ("Yerleştir"), or the marking is dropped
// ("Vazgeç", the close box, Escape, or the preview window closing). It is not modal; the
// visual designer stays disabled until it closes. Closing deletes it.
class PlacementDialog : public QDialog
{
    Q_OBJECT

public:
    PlacementDialog(formdef::DefinitionModel &model, VisualDesigner *dokum,
                    QWidget *parent = nullptr);

    visual::CellBox rectangle() const { return m_box; }

    QLabel *Label1;
    QLineEdit *FBASLIK;
    QComboBox *karak;
    QList<QRadioButton *> FOpt; // 0 "Dikey" (tag "D"), 1 "Yatay" (tag "Y")
    QPushButton *CommandYER;
    QPushButton *CommandVAZGEC;

    // Every way of closing ends here: a marking still pending is dropped.
    void done(int result) override;

private:
    void place();

    formdef::DefinitionModel &m_model;
    QPointer<VisualDesigner> m_dokum;
    visual::CellBox m_box;
    QString m_orientation;
    bool m_pending = true;
};
