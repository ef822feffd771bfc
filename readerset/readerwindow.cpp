#include "readerwindow.h"

#include "msgbox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QString failureText(SerialLine::Outcome outcome, bool writing)
{
    if (outcome == SerialLine::Outcome::PortError)
        return writing ? QStringLiteral("Optik okuyucu ile bağlantı kesildi; yeni değerler "
                                        "okuyucuya tam olarak yazılamadı.")
                       : QStringLiteral("Optik okuyucu ile bağlantı kesildi; değerler okunamadı.");
    return writing ? QStringLiteral("Optik okuyucu cevap vermedi; yeni değerler okuyucuya tam "
                                    "olarak yazılamadı.")
                   : QStringLiteral("Optik okuyucu cevap vermedi; değerler okunamadı.");
}

QPalette::ColorRole faceRole(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget))
        return QPalette::Base;
    if (qobject_cast<const QPushButton *>(widget))
        return QPalette::Button;
    return QPalette::Window;
}

} // namespace

ReaderWindow::ReaderWindow(ReaderSession &session, QWidget *focusBack, Look look,
                           bool pauseHeartbeat, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(&session), m_focusBack(focusBack), m_look(look)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Before anything else: the heartbeat must not talk to the reader while the window does.
    if (pauseHeartbeat)
        m_pause = session.pauseHeartbeat();
}

ReaderWindow::~ReaderWindow()
{
    // An exchange of this window still waits further down the stack: end it, so that it
    // returns (and finds the window gone) instead of waiting out its time limit.
    if (m_waiting && m_session)
        m_session->line()->abortWaits();
}

void ReaderWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_closing)
        return;
    m_closing = true;
    if (m_waiting && m_session)
        m_session->line()->abortWaits();
    m_pause.reset();
    if (m_focusBack) {
        m_focusBack->activateWindow();
        m_focusBack->setFocus(Qt::OtherFocusReason);
    }
    emit closed();
}

void ReaderWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    QTimer::singleShot(0, this, [this] { whenLineFree([this] { opened(); }); });
}

void ReaderWindow::leave(const QString &reminder)
{
    QPointer<ReaderWindow> self(this);
    if (isStationLook())
        MsgBox::show(this, reminder);
    if (self)
        close();
}

void ReaderWindow::whenLineFree(std::function<void()> work)
{
    if (m_closing || !m_session)
        return;
    m_session->whenIdle(this, [this, work = std::move(work)] {
        if (!m_closing)
            work();
    });
}

ReaderWindow::Result ReaderWindow::waitFor(const std::function<void()> &call)
{
    QPointer<ReaderWindow> self(this);
    m_waiting = true;
    call();
    if (!self)
        return Result::Gone;
    m_waiting = false;
    return m_closing ? Result::Gone : Result::Done;
}

ReaderWindow::Result ReaderWindow::exchange(const std::function<SerialLine::Reply()> &call,
                                            Work work, SerialLine::Reply *reply)
{
    QPointer<ReaderWindow> self(this);
    SerialLine::Reply result;
    // Aborted: the window is closing, or the program is shutting the line down.
    if (waitFor([&result, &call] { result = call(); }) == Result::Gone ||
        result.outcome == SerialLine::Outcome::Aborted)
        return Result::Gone;
    if (!result.ok()) {
        MsgBox::show(this, failureText(result.outcome, work == Work::Writing), MsgBox::Buttons::Ok,
                     MsgBox::Icon::Warning, windowTitle());
        return self && !m_closing ? Result::Failed : Result::Gone;
    }
    if (reply)
        *reply = std::move(result);
    return Result::Done;
}

bool ReaderWindow::querySensors(const QByteArray &queries, const QList<QLineEdit *> &boxes)
{
    for (int row = 0; row < int(boxes.size()); ++row) {
        SerialLine::Reply reply;
        const char query = queries.at(row);
        if (exchange([this, query] { return commands().sensor(query); }, Work::Reading, &reply) !=
            Result::Done)
            return false;
        boxes[row]->setText(QString::number(quint8(reply.bytes.at(0))));
    }
    return true;
}

void ReaderWindow::repeatWhileOpen(const std::function<bool()> &pass)
{
    if (m_repeating)
        return;
    m_repeating = true;
    QPointer<ReaderWindow> self(this);
    while (!m_closing && pass()) {
        // A reader that answers at once never lets the waits turn the event loop: turn it here,
        // so that the window paints and a click on its exit is seen between two passes.
        QCoreApplication::processEvents();
        if (!self)
            return;
    }
    if (self) // a pass that ended because the window went away
        m_repeating = false;
}

bool ReaderWindow::refuse(const QString &text, QWidget *focus)
{
    QPointer<ReaderWindow> self(this);
    MsgBox::show(this, text, MsgBox::Buttons::Ok, MsgBox::Icon::Warning, windowTitle());
    if (!self || m_closing)
        return false;
    focus->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(focus))
        edit->selectAll();
    return true;
}

template <typename Control>
Control *ReaderWindow::control(const char *name, const QString &text, const QString &toolTip)
{
    auto *made = new Control(text, this);
    made->setObjectName(QLatin1String(name));
    if (isStationLook())
        made->setToolTip(toolTip);
    return made;
}

QLabel *ReaderWindow::label(const char *name, const QString &caption, const QString &toolTip)
{
    return control<QLabel>(name, caption, toolTip);
}

QLineEdit *ReaderWindow::box(const char *name, const QString &text, const QString &toolTip)
{
    return control<QLineEdit>(name, text, toolTip);
}

QPushButton *ReaderWindow::button(const char *name, const QString &caption, const QString &toolTip)
{
    auto *made = control<QPushButton>(name, caption, toolTip);
    made->setAutoDefault(false);
    return made;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void paintBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(faceRole(widget), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor backgroundOf(const QWidget *widget)
{
    return widget->palette().color(faceRole(widget));
}
