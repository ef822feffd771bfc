#pragma once

#include "msgbox.h"

#include <QList>
#include <QStringList>
#include <functional>

// Answers every message and input box while it lives and keeps what was shown, so a test can
// check the operator's texts and never blocks on a modal box. Answers are taken from the queue
// in order; when it is empty, Ok (or Yes) is answered.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    // The answer to the next box; for an input box also the text typed into it.
    void queueAnswer(MsgBox::Answer answer, const QString &typed = QString());

    const QList<MsgBox::Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    int count() const { return int(m_shown.size()); }
    void clear() { m_shown.clear(); }

    // Runs when a box is shown, before it is answered: what the operator does meanwhile.
    std::function<void()> onShow;

private:
    struct Queued
    {
        MsgBox::Answer answer;
        QString typed;
    };
    QList<MsgBox::Shown> m_shown;
    QList<Queued> m_answers;
};
