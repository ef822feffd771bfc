#pragma once

#include "definitionmodel.h"

#include <QPageLayout>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// The printed layout of a form: timing marks and the fields with their characters at the
// paper's pitch, on one page, with no empty bubbles, title or name.
namespace Printout {

// Draws the layout on a printer that is ready to print, as one page. false with the reason in
// *error when nothing could be printed.
bool print(QPrinter &printer, const formdef::DefinitionModel &model, QString *error);

// How many of the form's lines of timing marks fit on the printer's page.
int rowsOnPage(QPrinter &printer, const formdef::DefinitionModel &model);
// How many columns fit across the page, and the highest column a field uses.
int columnsOnPage(QPrinter &printer, const formdef::DefinitionModel &model);
int columnsUsed(const formdef::DefinitionModel &model);

// The page of a PDF file written where no printer is installed: A4, with the margins of a
// common office printer.
QPageLayout pdfPageLayout();

// Asks the operator for the PDF file to write, starting at `suggested`; "" when cancelled.
// Replaceable so that a test can answer it.
using FileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
QString chooseFile(QWidget *parent, const QString &suggested);
// nullptr goes back to the file dialog.
void setFileChooser(FileChooser chooser);

} // namespace Printout
