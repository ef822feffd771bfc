#pragma once

#include "designerwindow.h"
#include "testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

// The designer window on an FMT folder, shown and active, with the operator's moves as methods.
// Closing the window deletes it; whatever is left is deleted at the end.
struct DesignerUnderTest
{
    QPointer<DesignerWindow> w;
    explicit DesignerUnderTest(const QString &fmtFolder)
        : DesignerUnderTest(new DesignerWindow(fmtFolder))
    {}
    // A window someone else opened (form1's "FMT Yazımı").
    explicit DesignerUnderTest(DesignerWindow *window) : w(window)
    {
        w->show();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w))
            qWarning("designer window did not become active");
    }
    ~DesignerUnderTest() { delete w; }
    DesignerUnderTest(const DesignerUnderTest &) = delete;
    DesignerUnderTest &operator=(const DesignerUnderTest &) = delete;
    // Types a name and leaves the box for the grid.
    void name(const QString &text)
    {
        w->DNAME->setFocus();
        w->DNAME->setEditText(text);
        w->TABLO->setFocus(Qt::TabFocusReason);
    }
    void count(const QString &text)
    {
        w->CSAY->setFocus();
        w->CSAY->selectAll();
        QTest::keyClicks(w->CSAY, text);
    }
    // Fills the entry line and presses "Satır Ekle".
    void add(const QString &r1, const QString &r2, const QString &c1, const QString &c2,
             bool vertical, const QString &set, const QString &title = {},
             const QString &check = {})
    {
        const QList<std::pair<QLineEdit *, QString>> texts = {
            {w->SAT1, r1}, {w->SAT2, r2},      {w->SUT1, c1},
            {w->SUT2, c2}, {w->BASLIK, title}, {w->KBILGI, check}};
        for (const auto &[box, text] : texts)
            box->setText(text);
        w->DURUM->setCurrentIndex(vertical ? 1 : 0);
        w->KARAKTER->setEditText(set);
        QTest::mouseClick(w->CommandEKLE, Qt::LeftButton);
    }
    void save() { QTest::mouseClick(w->CommandKAYDET, Qt::LeftButton); }
    // A mouse press (or double click) on a row of the definition grid.
    void onRow(int row, Qt::MouseButton button, bool doubleClick = false)
    {
        QWidget *viewport = w->TABLO->viewport();
        const QPoint at = w->TABLO->visualRect(w->TABLO->model()->index(row, 1)).center();
        QTest::mousePress(viewport, button, {}, at);
        if (doubleClick)
            QTest::mouseDClick(viewport, button, {}, at);
    }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = w->TABLO->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
};
