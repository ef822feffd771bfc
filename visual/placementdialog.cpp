#include "placementdialog.h"

#include "fmtline.h"
#include "msgbox.h"
#include "visualdesigner.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace formdef;
using namespace visual;

PlacementDialog::PlacementDialog(DefinitionModel &model, VisualDesigner *dokum, QWidget *parent)
    : QDialog(parent), m_model(model), m_dokum(dokum)
{
    setObjectName(QStringLiteral("Fyer"));
    setWindowTitle(QStringLiteral("Karakter Yerleştirme"));
    m_box = {numberOf(dokum->fsat1->text()), numberOf(dokum->fsat2->text()),
             numberOf(dokum->fsut1->text()), numberOf(dokum->fsut2->text())};

    Label1 = new QLabel(QStringLiteral("Başlık"));
    Label1->setObjectName(QStringLiteral("Label1"));
    FBASLIK = new QLineEdit;
    FBASLIK->setObjectName(QStringLiteral("FBASLIK"));
    Label1->setBuddy(FBASLIK);
    karak = new QComboBox;
    karak->setObjectName(QStringLiteral("karak"));
    karak->setEditable(true);
    karak->setInsertPolicy(QComboBox::NoInsert);
    karak->addItems(offeredSets(model.direction()));
    karak->setCurrentIndex(-1);
    karak->setMinimumWidth(karak->fontMetrics().horizontalAdvance(karak->itemText(3)) + 40);

    // Neither option is chosen at first: the operator says which way the characters run.
    FOpt = {new QRadioButton(QStringLiteral("Dikey")), new QRadioButton(QStringLiteral("Yatay"))};
    auto *options = new QButtonGroup(this);
    const QString tags[] = {QString(kVertical), QString(kHorizontal)};
    auto *optionBox = new QGroupBox;
    auto *optionRow = new QHBoxLayout(optionBox);
    for (int i = 0; i < FOpt.size(); ++i) {
        FOpt[i]->setObjectName(QStringLiteral("FOpt_%1").arg(i));
        options->addButton(FOpt[i]);
        optionRow->addWidget(FOpt[i]);
        connect(FOpt[i], &QRadioButton::clicked, this,
                [this, tag = tags[i]] { m_orientation = tag; });
    }

    CommandYER = new QPushButton(QStringLiteral("Yerleştir"));
    CommandYER->setObjectName(QStringLiteral("CommandYER"));
    CommandVAZGEC = new QPushButton(QStringLiteral("Vazgeç"));
    CommandVAZGEC->setObjectName(QStringLiteral("CommandVAZGEC"));
    CommandYER->setDefault(true);
    connect(CommandYER, &QPushButton::clicked, this, &PlacementDialog::place);
    connect(CommandVAZGEC, &QPushButton::clicked, this, &PlacementDialog::reject);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(Label1);
    titleRow->addWidget(FBASLIK, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CommandYER);
    buttons->addWidget(CommandVAZGEC);
    auto *root = new QVBoxLayout(this);
    root->addLayout(titleRow);
    root->addWidget(karak);
    root->addWidget(optionBox);
    root->addLayout(buttons);
    FBASLIK->setFocus();
}

void PlacementDialog::place()
{
    // Every field line of the file needs its orientation letter.
    if (m_orientation.isEmpty()) {
        MsgBox::show(this, QStringLiteral("Karakterlerin yerleşimini seçiniz: Dikey ya da Yatay."));
        FOpt[0]->setFocus();
        return;
    }
    const FieldDef field{QString::number(m_box.startRow),
                         QString::number(m_box.endRow),
                         QString::number(m_box.startColumn),
                         QString::number(m_box.endColumn),
                         m_orientation,
                         karak->currentText(),
                         FBASLIK->text(),
                         QString()};
    // The designer's own checks: the length of the set first, then what the file cannot hold.
    const EntryCheck check = m_model.addOrReplace(0, field);
    if (check.fault != EntryFault::None) {
        MsgBox::show(this, check.message);
        if (check.focus == QLatin1String("BASLIK"))
            FBASLIK->setFocus();
        else
            karak->setFocus();
        return;
    }
    if (m_dokum)
        m_dokum->drawCharacters(field);
    m_pending = false;
    accept();
}

void PlacementDialog::done(int result)
{
    if (!isVisible())
        return;
    if (m_pending && m_dokum)
        m_dokum->dropMarking(m_box);
    m_pending = false;
    if (m_dokum)
        m_dokum->placementClosed();
    QDialog::done(result);
    deleteLater();
}
