#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the editor remembers between searches; shared by the editor window and the find dialog.
struct FindState
{
    QString gFindText;
    bool gFindCase = false;
    int gFindDirection = 1; // 1 towards the end, 0 towards the beginning
    int gLastFindPos = 0;
    bool gNewSearch = false;
};

// The find dialog. It edits the shared find state and asks the editor to search.
class FindDialog : public QDialog
{
    Q_OBJECT
public:
    FindDialog(FindState &state, const QString &startText, QWidget *parent = nullptr);

signals:
    void findRequested();

protected:
    void reject() override;

private:
    void findTextEdited();
    void cmdFindClicked();
    void cmdcancelClicked();

    FindState &m_state;
    QGroupBox *Frame1;
    QList<QRadioButton *> optDirection; // index 0 up, 1 down
    QCheckBox *chkCase;
    QLabel *Label1;
    QLineEdit *txtFind;
    QPushButton *cmdFind;
    QPushButton *cmdcancel;
};
