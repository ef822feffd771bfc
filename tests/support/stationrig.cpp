#include "stationrig.h"

#include "sheetwriter.h"
#include "testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

bool StationRig::start()
{
    QString error;
    if (!fx.startReader(&error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    StationOptions options;
    options.settingsPath = fx.iniPath();
    options.timings = m_timings;
    w = std::make_unique<StationWindow>(options);
    if (!w->startUp())
        return false;
    w->show();
    QApplication::setActiveWindow(w.get());
    return QTest::qWaitForWindowActive(w.get());
}

void StationRig::addForm(const QString &name, const QByteArray &bytes)
{
    TestFiles::write(fx.fmtFolder() + name, bytes);
}

bool StationRig::addSheet(const QString &fmtName, const QList<QByteArray> &values, int status)
{
    QString error;
    const QString sheet = QStringLiteral("%1sheet%2.txt")
                              .arg(fx.trayFolder())
                              .arg(++m_sheets, 4, 10, QLatin1Char('0'));
    const bool written =
        SheetWriter::writeSheetFile(fx.fmtFolder() + fmtName, values, status, sheet, &error);
    if (!written)
        qWarning("%s", qPrintable(error));
    return written;
}

void StationRig::choose(const QString &fmtName)
{
    auto *list = control<QComboBox>("Combo1");
    list->clear();
    list->addItems(QDir(fx.fmtFolder()).entryList({QStringLiteral("*.fmt")}));
    const int index = list->findText(fmtName);
    list->setFocus();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void StationRig::typeDataName(const QString &name)
{
    auto *box = control<QComboBox>("dosyaadi");
    box->setFocus();
    box->setCurrentText(name);
}

void StationRig::click(const char *buttonName)
{
    QTest::mouseClick(control<QPushButton>(buttonName), Qt::LeftButton);
}

QList<QByteArray> StationRig::dataLines(const QString &name) const
{
    const QByteArray bytes = TestFiles::read(dataPath(name));
    return TestFiles::lines(bytes == "<missing>" ? QByteArray() : bytes);
}

QString StationRig::cellText(int row, int column) const
{
    const QTableWidgetItem *item = grid()->item(row, column);
    return item ? item->text() : QString();
}

QColor StationRig::cellColour(int row, int column) const
{
    const QTableWidgetItem *item = grid()->item(row, column);
    return item ? item->background().color() : QColor();
}
