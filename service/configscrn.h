#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class SerialLine;

// ConfigScrn: the console's serial port, line settings and flow control, changed while the
// program runs. It shows the line as it is when it opens and applies the choice on "OK"; a
// choice the line refuses is reported and the dialog stays open. It deletes itself on closing.
class ConfigScrn : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigScrn(SerialLine &line, QWidget *parent = nullptr);

    QList<QRadioButton *> ComPort; // ComPort_1 .. ComPort_4
    QRadioButton *Baud3, *Baud6, *Baud12, *Baud24, *Baud48, *Baud96;
    QRadioButton *NoParity, *OddParity, *EvenParity;
    QRadioButton *Data7, *Data8;
    QRadioButton *Stop1, *Stop2;
    QRadioButton *NoFlow, *XonFlow, *RTSFlow, *BothFlow;
    QRadioButton *EchoOff, *EchoOn;
    QPushButton *OKButton, *CancelButton;

signals:
    // A port option was selected, by the operator or by the load; the console keeps the number.
    void portChosen(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *option(QButtonGroup *group, int id, const char *name, const QString &caption);
    QGroupBox *frame(const QString &title, QButtonGroup *group);
    void load();
    void ok();
    // Selects the port option of a port name, or none for a device the options do not name.
    void showPort(const QString &portName);
    bool warn(const QString &text);

    QPointer<SerialLine> m_line;
    QButtonGroup *m_ports, *m_bauds, *m_parities, *m_dataBits, *m_stopBits, *m_flows, *m_echoes;
    bool m_loaded = false;
    int m_port = 0; // the chosen port option; 0 while none is
    QString m_baud, m_parity, m_data, m_stop;
    int m_handshaking = 0;
};
