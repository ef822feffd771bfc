#include "stationrig.h"

#include "sheetwriter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

StationRig::StationRig() = default;

StationRig::~StationRig()
{
    if (w)
        w->stopHeartbeat();
}

bool StationRig::start()
{
    QString error;
    if (!fx.readerStarted() && !fx.startReader(&error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    w = std::make_unique<StationWindow>();
    if (!w->startUp(fx.iniPath()))
        return false;
    w->show();
    QApplication::setActiveWindow(w.get());
    return QTest::qWaitForWindowActive(w.get());
}

void StationRig::addForm(const QString &name, const QByteArray &bytes)
{
    fx.writeFile(fx.fmtFolder() + name, bytes);
}

bool StationRig::addSheet(const QString &fmtName, const QList<QByteArray> &values, int status)
{
    QString error;
    const QString sheet = QStringLiteral("%1sheet%2.txt")
                              .arg(fx.trayFolder())
                              .arg(++m_sheets, 4, 10, QLatin1Char('0'));
    if (!SheetWriter::writeSheetFile(fx.fmtFolder() + fmtName, values, status, sheet, &error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    return true;
}

void StationRig::choose(const QString &fmtName)
{
    w->Combo1->clear();
    w->Combo1->addItems(QDir(fx.fmtFolder()).entryList({QStringLiteral("*.fmt")}));
    const int index = w->Combo1->findText(fmtName);
    w->Combo1->setFocus();
    w->Combo1->setCurrentIndex(index);
    emit w->Combo1->activated(index);
}

void StationRig::typeDataName(const QString &name)
{
    w->dosyaadi->setFocus();
    w->dosyaadi->setCurrentText(name);
}

void StationRig::clickRead()
{
    QTest::mouseClick(w->Command1, Qt::LeftButton);
}

void StationRig::clickSingle()
{
    QTest::mouseClick(w->Command4, Qt::LeftButton);
}

QString StationRig::dataPath(const QString &name) const
{
    return fx.dataFolder() + name + QStringLiteral(".DAT");
}

QByteArray StationRig::dataBytes(const QString &name) const
{
    return StationFixture::readFile(dataPath(name));
}

QList<QByteArray> StationRig::dataLines(const QString &name) const
{
    QByteArray bytes = dataBytes(name);
    QList<QByteArray> lines;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf("\r\n");
        if (end < 0) {
            lines.append(bytes + '\\');
            break;
        }
        lines.append(bytes.left(end));
        bytes.remove(0, end + 2);
    }
    return lines;
}

QString StationRig::cellText(int row, int column) const
{
    const QTableWidgetItem *item = w->MSG->item(row, column);
    return item ? item->text() : QString();
}
