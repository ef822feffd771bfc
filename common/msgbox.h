#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box and input box of both programs goes through here, so that a test can
// answer them and read their texts instead of blocking on a modal dialog.
namespace MsgBox {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Critical, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct Shown
{
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool isInput = false;
    QString defaultInput;
};

Answer show(QWidget *parent, const QString &text, Buttons buttons = Buttons::Ok,
            Icon icon = Icon::None, const QString &title = QString());

// Returns the typed text; *accepted is false when the operator cancelled (the text is then "").
QString input(QWidget *parent, const QString &prompt, const QString &title = QString(),
              const QString &defaultText = QString(), bool *accepted = nullptr);

// A piece of a file's line fit to quote in a box: a line of megabytes would take the box
// seconds to lay out and say nothing more. A longer text is cut, and says so.
QString quoted(const QString &text, qsizetype limit = 120);

// A handler set here answers every box instead of the operator; for an input box it returns
// the answer and, through *typed, the text. Pass nullptr to go back to real dialogs.
using Handler = std::function<Answer(const Shown &shown, QString *typed)>;
void setHandler(Handler handler);

} // namespace MsgBox
