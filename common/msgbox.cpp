#include "msgbox.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace MsgBox {

namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

} // namespace

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

Answer show(QWidget *parent, const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    if (currentHandler()) {
        Shown shown{text, titleOr(title), buttons, icon, false, QString()};
        return currentHandler()(shown, nullptr);
    }

    QMessageBox box(parent);
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    // Turkish captions on the buttons whatever the system's translation files say.
    auto add = [&box](QMessageBox::StandardButton b, const QString &caption) {
        box.addButton(b)->setText(caption);
    };
    switch (buttons) {
    case Buttons::Ok:
        add(QMessageBox::Ok, QStringLiteral("Tamam"));
        break;
    case Buttons::OkCancel:
        add(QMessageBox::Ok, QStringLiteral("Tamam"));
        add(QMessageBox::Cancel, QStringLiteral("İptal"));
        break;
    case Buttons::YesNo:
        add(QMessageBox::Yes, QStringLiteral("Evet"));
        add(QMessageBox::No, QStringLiteral("Hayır"));
        break;
    case Buttons::YesNoCancel:
        add(QMessageBox::Yes, QStringLiteral("Evet"));
        add(QMessageBox::No, QStringLiteral("Hayır"));
        add(QMessageBox::Cancel, QStringLiteral("İptal"));
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString input(QWidget *parent, const QString &prompt, const QString &title,
              const QString &defaultText, bool *accepted)
{
    if (currentHandler()) {
        Shown shown{prompt, titleOr(title), Buttons::OkCancel, Icon::None, true, defaultText};
        QString typed = defaultText;
        const bool ok = currentHandler()(shown, &typed) == Answer::Ok;
        if (accepted)
            *accepted = ok;
        return ok ? typed : QString();
    }

    QInputDialog dialog(parent);
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("Tamam"));
    dialog.setCancelButtonText(QStringLiteral("İptal"));
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (accepted)
        *accepted = ok;
    return ok ? dialog.textValue() : QString();
}

QString quoted(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    return text.left(limit) +
           QStringLiteral(" … (satırın devamı kesildi, %1 karakter)").arg(text.size());
}

} // namespace MsgBox
