#include "csvexport.h"

#include "cp1254.h"
#include "fieldtable.h"
#include "fmtfile.h"
#include "record.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace csvexport {

namespace {

const QByteArray kByteOrderMark = "\xEF\xBB\xBF";
const QByteArray kRowEnd = "\r\n";

QByteArray csvRow(const QStringList &cells, QChar separator)
{
    QString row;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            row += separator;
        row += csvField(cells[i], separator);
    }
    return row.toUtf8() + kRowEnd;
}

void showUsage(QTextStream &err)
{
    err << QStringLiteral(
        "Kullanım: markcsv [--virgul] FMT_DOSYASI VERİ_DOSYASI [CSV_DOSYASI]\n"
        "Veri dosyasını FMT dosyasındaki alanlara göre sütunlara böler ve bir CSV tablosu "
        "yazar\n"
        "(UTF-8, ilk satırda alan başlıkları). CSV_DOSYASI verilmezse tablo standart çıktıya "
        "yazılır.\n"
        "  --virgul   sütunları noktalı virgül (;) yerine virgülle (,) ayırır\n"
        "  --yardim   bu açıklamayı gösterir\n");
}

bool readFile(const QString &path, QByteArray *bytes, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << QStringLiteral("%1 okunamadı: %2\n").arg(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// A table written over the data file or the form would destroy what it was made from.
bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

Form readForm(const QByteArray &fmtBytes)
{
    FieldTable table;
    const FieldTable::LoadReport report = table.load(fmtBytes);
    Form form;
    if (report.faulty) {
        form.faults = report.messages;
        return form;
    }
    int number = 0;
    for (const FieldTable::Field &field : table.fields()) {
        ++number;
        form.titles << (field.title.trimmed().isEmpty() ? QStringLiteral("Alan %1").arg(number)
                                                        : field.title);
    }
    form.lengths = table.fieldLengths();
    form.recordLength = table.recordLength();
    return form;
}

QString csvField(const QString &text, QChar separator)
{
    const bool quote = text.contains(separator) || text.contains(u'"') || text.contains(u'\r') ||
                       text.contains(u'\n') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

Table toCsv(const Form &form, const QByteArray &dataBytes, QChar separator)
{
    Table table;
    table.csv = kByteOrderMark + csvRow(form.titles, separator);
    QList<QByteArray> lines = dataBytes.split('\n');
    // The line end of the last record leaves an empty piece behind it.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        // A torn or mistyped line is cut on its own: it never moves another record's columns.
        if (line.size() != form.recordLength) {
            table.wrongRecords.append({int(i + 1), int(line.size())});
            continue;
        }
        QStringList cells;
        for (const QByteArray &value : record::splitFields(line, form.lengths))
            cells << fromCp1254(value);
        table.csv += csvRow(cells, separator);
        ++table.records;
    }
    return table;
}

int run(const QStringList &arguments, QTextStream &err)
{
    QChar separator = u';';
    QStringList files;
    for (const QString &argument : arguments) {
        if (argument == u"--virgul") {
            separator = u',';
        } else if (argument == u"--yardim" || argument == u"--help" || argument == u"-h") {
            showUsage(err);
            return 0;
        } else if (argument.startsWith(u'-') && argument != u"-") {
            err << QStringLiteral("Bilinmeyen seçenek: %1\n").arg(argument);
            showUsage(err);
            return 2;
        } else {
            files << argument;
        }
    }
    if (files.size() < 2 || files.size() > 3) {
        showUsage(err);
        return 2;
    }
    const QString fmtPath = files[0];
    const QString dataPath = files[1];
    const QString csvPath = files.value(2);
    if (!csvPath.isEmpty() && (sameFile(csvPath, dataPath) || sameFile(csvPath, fmtPath))) {
        err << QStringLiteral("CSV dosyası okunan dosyanın üzerine yazılamaz: %1\n").arg(csvPath);
        return 2;
    }

    QByteArray fmtBytes;
    QByteArray dataBytes;
    if (!readFile(fmtPath, &fmtBytes, err) || !readFile(dataPath, &dataBytes, err))
        return 1;
    const Form form = readForm(fmtBytes);
    if (!form.faults.isEmpty()) {
        err << QStringLiteral("%1 kullanılamaz:\n").arg(fmtPath);
        for (const QString &fault : form.faults)
            err << QStringLiteral("  ") << fault << u'\n';
        return 1;
    }
    if (form.lengths.isEmpty()) {
        err << QStringLiteral("%1 içinde alan satırı yok.\n").arg(fmtPath);
        return 1;
    }

    const Table table = toCsv(form, dataBytes, separator);
    for (const WrongRecord &wrong : table.wrongRecords)
        err << QStringLiteral("%1: %2. satır %3 karakter, bu formun kaydı %4 karakter; satır "
                              "tabloya alınmadı.\n")
                   .arg(dataPath)
                   .arg(wrong.line)
                   .arg(wrong.length)
                   .arg(form.recordLength);

    if (csvPath.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(table.csv) != table.csv.size() ||
            !out.flush()) {
            err << QStringLiteral("Tablo standart çıktıya yazılamadı: %1\n").arg(out.errorString());
            return 1;
        }
    } else {
        QString error;
        if (!formdef::replaceFile(csvPath, table.csv, &error)) {
            err << QStringLiteral("%1 yazılamadı: %2\n").arg(csvPath, error);
            return 1;
        }
        err << QStringLiteral("%1 kayıt %2 dosyasına yazıldı.\n").arg(table.records).arg(csvPath);
    }
    return table.wrongRecords.isEmpty() ? 0 : 1;
}

} // namespace csvexport
