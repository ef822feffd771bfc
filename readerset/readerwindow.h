#pragma once

#include "readersession.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

// What the reader settings windows share: the reader session they talk through, a pause of
// the heartbeat while they are open, the button that takes the focus back when they close, and
// exchanges that end safely when the window closes, or goes away, while they wait.
//
// A window deletes itself when it closes; whoever opens it keeps a QPointer to bring the same
// window forward while it is open.
class ReaderWindow : public QWidget
{
    Q_OBJECT

public:
    // The station's look, or the service console's plainer one (other captions, no tooltips,
    // no reminder on leaving).
    enum class Look { Station, Service };

    ~ReaderWindow() override;

    Look look() const { return m_look; }

signals:
    // The window has closed, by any means; the heartbeat runs again and focusBack has the focus.
    void closed();

protected:
    // How an exchange or a run of them ended. Gone: the window closed or was deleted
    // meanwhile; the caller returns at once and touches nothing of the window.
    enum class Result { Done, Failed, Gone };
    enum class Work { Reading, Writing };

    ReaderWindow(ReaderSession &session, QWidget *focusBack, Look look, bool pauseHeartbeat,
                 QWidget *parent);

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // The window's first exchanges, run once when it is first shown, after the opener's handler
    // has returned.
    virtual void opened() {}
    // "Çıkış": the station's look reminds the operator first.
    void leave(const QString &reminder);

    ReaderCommands &commands() { return m_session->commands(); }
    bool isStationLook() const { return m_look == Look::Station; }
    bool closing() const { return m_closing; }

    // Runs work once no other exchange waits on the line (at once when none does), unless the
    // window has closed by then.
    void whenLineFree(std::function<void()> work);

    // Runs call, which waits on the line (a loop of exchanges, say), so that closing the window
    // ends the wait; Gone when the window closed or went away meanwhile.
    Result waitFor(const std::function<void()> &call);

    // One exchange. A failed one (time limit, lost port) is reported to the operator as a
    // failed reading or writing before Failed is returned.
    Result exchange(const std::function<SerialLine::Reply()> &call, Work work,
                    SerialLine::Reply *reply = nullptr);

    // Queries the sensors in order and shows each reply byte in decimal in its box; false when
    // a query ended early.
    bool querySensors(const QByteArray &queries, const QList<QLineEdit *> &boxes);
    // Runs pass again and again until the window closes or a pass fails, letting the operator's
    // clicks in between; a second call while it runs does nothing.
    void repeatWhileOpen(const std::function<bool()> &pass);
    bool isRepeating() const { return m_repeating; }

    // The message box of the operator's own mistakes (a box that holds no byte, say); false
    // when the window went away while it was shown.
    bool refuse(const QString &text, QWidget *focus);

    // Named controls, with tooltips only in the station's look.
    QLabel *label(const char *name, const QString &caption, const QString &toolTip = QString());
    QLineEdit *box(const char *name, const QString &text, const QString &toolTip = QString());
    QPushButton *button(const char *name, const QString &caption,
                        const QString &toolTip = QString());

private:
    template <typename Control>
    Control *control(const char *name, const QString &text, const QString &toolTip);

    QPointer<ReaderSession> m_session;
    QPointer<QWidget> m_focusBack;
    Look m_look;
    std::unique_ptr<ReaderSession::Pause> m_pause;
    bool m_waiting = false;
    bool m_closing = false;
    bool m_opened = false;
    bool m_repeating = false;
};

// The hourglass for as long as it lives.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A background colour that tests and the operator see alike: the palette role the widget
// paints its face with.
void paintBackground(QWidget *widget, const QColor &colour);
QColor backgroundOf(const QWidget *widget);
