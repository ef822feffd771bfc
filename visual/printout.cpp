#include "printout.h"

#include "fmtline.h"
#include "formpainter.h"
#include "twips.h"

#include <QFileDialog>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

using namespace formdef;
using namespace visual;

namespace Printout {

namespace {

FileChooser &fileChooser()
{
    static FileChooser chooser;
    return chooser;
}

int pageTwips(int pixels, int dpi)
{
    return int(std::lround(qreal(pixels) * kTwipsPerInch / dpi));
}

FormGeometry geometryOf(QPrinter &printer, const DefinitionModel &model)
{
    // The drawing origin and width are those of the printable area, as the printer reports it.
    return FormGeometry::printout(model.mapRows(), model.direction() == kMarksRight,
                                  pageTwips(printer.width(), printer.logicalDpiX()));
}

} // namespace

bool print(QPrinter &printer, const DefinitionModel &model, QString *error)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = printer.outputFileName().isEmpty()
                     ? QStringLiteral("Yazıcı kullanılamıyor.")
                     : QStringLiteral("%1 dosyası yazılamadı.").arg(printer.outputFileName());
        return false;
    }
    QList<FieldDef> fields;
    for (int row = 0; row < model.rowCount(); ++row)
        fields.append(model.field(row));
    drawForm(painter, geometryOf(printer, model), fields, false);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("Yazıcı hata bildirdi.");
        return false;
    }
    return true;
}

int rowsOnPage(QPrinter &printer, const DefinitionModel &model)
{
    return geometryOf(printer, model)
        .linesWithin(pageTwips(printer.height(), printer.logicalDpiY()));
}

int columnsOnPage(QPrinter &printer, const DefinitionModel &model)
{
    return geometryOf(printer, model).columnsWithin();
}

int columnsUsed(const DefinitionModel &model)
{
    int highest = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const FieldDef field = model.field(row);
        if (hasCoordinates(field))
            highest = std::max(highest, std::min(boxOf(field).endColumn, kColumns));
    }
    return highest;
}

QPageLayout pdfPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
}

QString chooseFile(QWidget *parent, const QString &suggested)
{
    if (fileChooser())
        return fileChooser()(parent, suggested);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("PDF Olarak Kaydet"), suggested,
                                        QStringLiteral("PDF dosyaları (*.pdf)"));
}

void setFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

} // namespace Printout
