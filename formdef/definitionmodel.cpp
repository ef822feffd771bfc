#include "definitionmodel.h"

#include "fmtline.h"
#include "val.h"

#include <algorithm>

namespace formdef {

namespace {

QString cellLabel(int row, const QString &title)
{
    return QStringLiteral("(Sıra No : ") + QString::number(row + 1) + QStringLiteral(" )  ") +
           title;
}

EntryCheck refused(EntryFault fault, const QString &message, const QString &focus)
{
    return {fault, message, focus};
}

} // namespace

DefinitionModel::DefinitionModel(QObject *parent) : QObject(parent) {}

QString DefinitionModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const FieldDef &f = m_fields.at(row);
    const FieldSpan &span = m_spans.at(row);
    switch (column) {
    case GridColumn::Number:
        return QString::number(row + 1);
    case GridColumn::StartRow:
        return f.startRow;
    case GridColumn::EndRow:
        return f.endRow;
    case GridColumn::StartColumn:
        return f.startColumn;
    case GridColumn::EndColumn:
        return f.endColumn;
    case GridColumn::Orientation:
        return f.orientation;
    case GridColumn::Set:
        return f.characterSet;
    case GridColumn::Title:
        return f.title;
    case GridColumn::Check:
        return f.check;
    case GridColumn::Position:
        return isWritten(f) ? QString::number(span.start) : QString();
    case GridColumn::Length:
        return isWritten(f) ? QString::number(span.length) : QString();
    default:
        return {};
    }
}

QString DefinitionModel::mapCell(int row, int column) const
{
    if (row < 0 || row >= m_mapRows || column < 0 || column >= kColumns)
        return {};
    return m_map.at(row * kColumns + column);
}

void DefinitionModel::setCount(const QString &count)
{
    if (count == m_count)
        return;
    m_count = count;
    rebuildMap();
    emit countChanged(m_count);
    setModified(true);
}

void DefinitionModel::setDirection(QChar direction)
{
    const QChar letter = direction == kMarksRight ? kMarksRight : kMarksLeft;
    if (letter == m_direction)
        return;
    m_direction = letter;
    emit directionChanged(m_direction);
    setModified(true);
}

void DefinitionModel::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit nameChanged(m_name);
}

void DefinitionModel::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

EntryCheck DefinitionModel::checkEntry(const FieldDef &entry) const
{
    const double startRow = Val(entry.startRow);
    const double endRow = Val(entry.endRow);
    const double startColumn = Val(entry.startColumn);
    const double endColumn = Val(entry.endColumn);

    if (startRow == 0 || endRow == 0 || startColumn == 0 || endColumn == 0)
        return refused(EntryFault::ZeroNumber, QStringLiteral("Satır veya Sütun sıfır olamaz."),
                       QStringLiteral("SAT1"));
    if (Val(m_count) < endRow)
        return refused(EntryFault::BeyondCount,
                       QStringLiteral("Bitiş satırı, siyah çizgi sayısından büyük olamaz."),
                       QStringLiteral("SAT2"));
    if (endRow < startRow)
        return refused(EntryFault::RowsReversed,
                       QStringLiteral("Başlangıç satırı, bitişten büyük olamaz."),
                       QStringLiteral("SAT1"));
    if (endColumn < startColumn)
        return refused(EntryFault::ColumnsReversed,
                       QStringLiteral("Başlangıç sütunu, bitişten büyük olamaz."),
                       QStringLiteral("SUT1"));
    const bool vertical = entry.orientation.startsWith(kVertical);
    const double n = vertical ? endRow - startRow + 1 : endColumn - startColumn + 1;
    if (double(entry.characterSet.size()) != n)
        return refused(EntryFault::SetLength,
                       QStringLiteral("Karakter uzunluğu ") +
                           (vertical ? QStringLiteral("satır") : QStringLiteral("sütun")) +
                           QStringLiteral(" aralığı ile uyumsuz."),
                       QStringLiteral("KARAKTER"));

    // What the station or the reader would refuse, or read back otherwise, is refused here
    // rather than when the file is loaded for reading.
    const std::pair<const QString *, const char *> numbers[] = {{&entry.startRow, "SAT1"},
                                                                {&entry.endRow, "SAT2"},
                                                                {&entry.startColumn, "SUT1"},
                                                                {&entry.endColumn, "SUT2"}};
    for (const auto &[text, control] : numbers)
        if (!twoDigitValue(*text))
            return refused(EntryFault::NotWholeNumber,
                           QStringLiteral("Satır ve Sütun 1 ile 99 arasında tam sayı olmalıdır."),
                           QString::fromLatin1(control));
    if (endColumn > kColumns)
        return refused(EntryFault::BeyondColumns,
                       QStringLiteral("Bitiş sütunu, 48' den büyük olamaz."),
                       QStringLiteral("SUT2"));
    if (!writesBack(entry.characterSet, kSetForbidden) ||
        trimBlanks(entry.characterSet) != entry.characterSet)
        return refused(
            EntryFault::SetCharacters,
            QStringLiteral("Karakterlerde = [ ] ( ) , kullanılamaz; başta ve sonda boşluk olamaz."),
            QStringLiteral("KARAKTER"));
    if (!writesBack(entry.title, kTitleForbidden))
        return refused(EntryFault::TitleCharacters,
                       QStringLiteral("Başlıkta [ ] ( ) , kullanılamaz."),
                       QStringLiteral("BASLIK"));
    if (!writesBack(entry.check, kCheckForbidden))
        return refused(EntryFault::CheckCharacters,
                       QStringLiteral("Kontrol bilgisinde ( ) , kullanılamaz."),
                       QStringLiteral("KBILGI"));
    return {};
}

EntryCheck DefinitionModel::addOrReplace(int number, const FieldDef &entry)
{
    const EntryCheck check = checkEntry(entry);
    if (check.fault != EntryFault::None)
        return check;
    FieldDef field = entry;
    field.orientation =
        entry.orientation.startsWith(kVertical) ? QString(kVertical) : QString(kHorizontal);
    if (number >= 1 && number <= rowCount())
        m_fields[number - 1] = field;
    else
        m_fields.append(field);
    fieldsChanged();
    return check;
}

void DefinitionModel::insertRow(int row)
{
    m_fields.insert(std::clamp(row, 0, rowCount()), FieldDef{});
    fieldsChanged();
}

void DefinitionModel::deleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_fields.removeAt(row);
    fieldsChanged();
}

void DefinitionModel::reset()
{
    load(Definition{QString(), kMarksLeft, {}});
}

bool DefinitionModel::load(const Definition &definition)
{
    if (definition.fields.size() > kDesignerMaxFields)
        return false;
    m_fields = definition.fields;
    const bool countChanges = m_count != definition.count;
    m_count = definition.count;
    recompute();
    rebuildMap();
    if (countChanges)
        emit countChanged(m_count);
    const QChar letter = definition.direction == kMarksRight ? kMarksRight : kMarksLeft;
    if (letter != m_direction) {
        m_direction = letter;
        emit directionChanged(m_direction);
    }
    emit gridChanged();
    setModified(false);
    return true;
}

Definition DefinitionModel::definition() const
{
    return {m_count, m_direction, m_fields};
}

void DefinitionModel::rebuildMap()
{
    m_mapRows = std::clamp(numberOf(m_count), 0, kMaxNumber);
    m_map = QList<QString>(m_mapRows * kColumns);
    for (int i = 0; i < rowCount(); ++i) {
        const FieldDef &f = m_fields.at(i);
        // Cells beyond the map have no place in it; the entry checks keep new fields inside.
        const int lastRow = std::min(numberOf(f.endRow), m_mapRows);
        const int lastColumn = std::min(numberOf(f.endColumn), kColumns);
        const QString label = cellLabel(i, f.title);
        for (int row = std::max(numberOf(f.startRow), 1); row <= lastRow; ++row)
            for (int column = std::max(numberOf(f.startColumn), 1); column <= lastColumn; ++column)
                m_map[(row - 1) * kColumns + column - 1] = label;
    }
    emit mapChanged();
}

void DefinitionModel::fieldsChanged()
{
    recompute();
    rebuildMap();
    emit gridChanged();
    setModified(true);
}

void DefinitionModel::recompute()
{
    // Rows left empty after an insert take no place in the record, as the save skips them.
    m_spans.resize(m_fields.size());
    int start = 1;
    for (int i = 0; i < rowCount(); ++i) {
        const int length = isWritten(m_fields.at(i)) ? m_fields.at(i).length() : 0;
        m_spans[i] = {start, length};
        start += length;
    }
}

} // namespace formdef
