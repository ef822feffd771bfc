#include "timingmarkwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kTimingMarkCell = 26;

} // namespace

TimingMarkWindow::TimingMarkWindow(ReaderSession &session, QWidget *parent)
    : ReaderWindow(session, parent, Look::Service, false, parent)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Timing Mark"));
    Label1 = label("Label1", QStringLiteral("TM_Value"));
    Text1 = box("Text1", QString());
    Text1->setReadOnly(true);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
}

void TimingMarkWindow::opened()
{
    // The adjustment's own reply is only awaited; the value is read from the memory cell.
    if (exchange([this] { return commands().timingAdjust(); }, Work::Reading) != Result::Done)
        return;
    SerialLine::Reply reply;
    if (exchange([this] { return commands().readCell(kTimingMarkCell); }, Work::Reading, &reply) !=
        Result::Done)
        return;
    Text1->setText(QString::number(quint8(reply.bytes.at(0))));
}
