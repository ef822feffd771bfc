#pragma once

#include "attention.h"
#include "readerwindow.h"

#include <functional>

class QLabel;
class QPushButton;

// Form13: looks for the reader on the port already chosen, with the console's attention
// loop, and says whether it answered there.
class MachineSearchWindow : public ReaderWindow
{
    Q_OBJECT

public:
    MachineSearchWindow(ReaderSession &session, const QString &portText,
                        std::function<Attention()> attention, QWidget *parent = nullptr);

    QLabel *Label1, *Label2;
    QPushButton *Command1;

protected:
    void opened() override;

private:
    QString m_portText;
    std::function<Attention()> m_attention;
};
