#include "finddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(FindState &state, const QString &startText, QWidget *parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Bul"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Aranacak Bilgi"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setToolTip(QStringLiteral("Text to Find"));
    Label1->setBuddy(txtFind);

    Frame1 = new QGroupBox(QStringLiteral("Doğrultu"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *up = new QRadioButton(QStringLiteral("&Yukarı"), Frame1);
    up->setObjectName(QStringLiteral("optDirection_0"));
    up->setToolTip(QStringLiteral("Search to Beginning of Document"));
    auto *down = new QRadioButton(QStringLiteral("&Aşağı"), Frame1);
    down->setObjectName(QStringLiteral("optDirection_1"));
    down->setToolTip(QStringLiteral("Search to End of Document"));
    optDirection = {up, down};
    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addWidget(up);
    frameLayout->addWidget(down);

    chkCase = new QCheckBox(QStringLiteral("Case Sensitivity"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));

    cmdFind = new QPushButton(QStringLiteral("&Bul"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setToolTip(QStringLiteral("Start Search"));
    cmdFind->setDefault(true);
    cmdcancel = new QPushButton(QStringLiteral("Vazgeç"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    cmdcancel->setToolTip(QStringLiteral("Return to Notepad"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtFind, 0, 1);
    grid->addWidget(cmdFind, 0, 2);
    grid->addWidget(Frame1, 1, 0, 1, 2);
    grid->addWidget(cmdcancel, 1, 2, Qt::AlignTop);
    grid->addWidget(chkCase, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    txtFind->setMinimumWidth(220);

    txtFind->setText(startText);
    m_state.gNewSearch = true;
    chkCase->setChecked(m_state.gFindCase);
    optDirection.at(m_state.gFindDirection == 0 ? 0 : 1)->setChecked(true);
    cmdFind->setEnabled(!startText.isEmpty());

    connect(txtFind, &QLineEdit::textChanged, this, &FindDialog::findTextEdited);
    connect(up, &QRadioButton::clicked, this, [this] { m_state.gFindDirection = 0; });
    connect(down, &QRadioButton::clicked, this, [this] { m_state.gFindDirection = 1; });
    connect(chkCase, &QCheckBox::clicked, this,
            [this](bool checked) { m_state.gFindCase = checked; });
    connect(cmdFind, &QPushButton::clicked, this, &FindDialog::cmdFindClicked);
    connect(cmdcancel, &QPushButton::clicked, this, &FindDialog::cmdcancelClicked);
}

void FindDialog::findTextEdited()
{
    m_state.gNewSearch = true;
    cmdFind->setEnabled(!txtFind->text().isEmpty());
}

void FindDialog::cmdFindClicked()
{
    m_state.gFindText = txtFind->text();
    emit findRequested();
}

void FindDialog::cmdcancelClicked()
{
    reject();
}

void FindDialog::reject()
{
    // The close box keeps what was typed too, so "Sonrakini Bul" can repeat it.
    m_state.gFindText = txtFind->text();
    m_state.gFindCase = chkCase->isChecked();
    QDialog::reject();
}
