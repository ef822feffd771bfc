#include "messagerecorder.h"

MessageRecorder::MessageRecorder()
{
    MsgBox::setHandler([this](const MsgBox::Shown &shown, QString *typed) {
        m_shown.append(shown);
        if (onShow)
            onShow();
        if (m_answers.isEmpty()) {
            return shown.buttons == MsgBox::Buttons::YesNo ||
                           shown.buttons == MsgBox::Buttons::YesNoCancel
                       ? MsgBox::Answer::Yes
                       : MsgBox::Answer::Ok;
        }
        const Queued next = m_answers.takeFirst();
        if (typed && !next.typed.isNull())
            *typed = next.typed;
        return next.answer;
    });
}

MessageRecorder::~MessageRecorder()
{
    MsgBox::setHandler(nullptr);
}

void MessageRecorder::queueAnswer(MsgBox::Answer answer, const QString &typed)
{
    m_answers.append({answer, typed});
}

QStringList MessageRecorder::texts() const
{
    QStringList list;
    for (const MsgBox::Shown &s : m_shown)
        list.append(s.text);
    return list;
}
