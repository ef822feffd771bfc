#pragma once

#include "fmtfile.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// The definition being designed, without widgets: the rows of the definition grid, the
// occupancy map of the form's cells, the timing-mark count, the direction and the name. The
// written designer and the visual designer show and change the same object, so a change made
// in one shows in the other at once.

namespace formdef {

// Columns of the definition grid. Number, Position and Length are computed.
namespace GridColumn {
enum : int {
    Number,
    StartRow,
    EndRow,
    StartColumn,
    EndColumn,
    Orientation,
    Set,
    Title,
    Check,
    Position,
    Length,
    Count
};
}

// Why an entry line cannot become a field, in the order the entry is checked.
enum class EntryFault {
    None,
    ZeroNumber,
    BeyondCount,
    RowsReversed,
    ColumnsReversed,
    SetLength,
    NotWholeNumber,
    BeyondColumns,
    SetCharacters,
    TitleCharacters,
    CheckCharacters,
};

struct EntryCheck
{
    EntryFault fault = EntryFault::None;
    QString message; // for the operator
    QString focus;   // object name of the entry control to correct
};

class DefinitionModel : public QObject
{
    Q_OBJECT

public:
    explicit DefinitionModel(QObject *parent = nullptr);

    int rowCount() const { return int(m_fields.size()); }
    // The text of a grid cell; "" for a row or column that does not exist.
    QString cell(int row, int column) const;
    FieldDef field(int row) const { return m_fields.value(row); }

    // Occupancy map: one row per timing mark, kColumns columns, 0-based like the grid.
    int mapRows() const { return m_mapRows; }
    QString mapCell(int row, int column) const;

    QString count() const { return m_count; }
    QChar direction() const { return m_direction; }
    QString name() const { return m_name; }
    void setCount(const QString &count);
    void setDirection(QChar direction);
    void setName(const QString &name);

    // Changed since the last load, reset or save.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // The checks of an entry line, stopping at the first failure. Numbers are the numeric
    // values of the texts; the orientation is "Y" or "D".
    EntryCheck checkEntry(const FieldDef &entry) const;
    // Checks the entry, then replaces field `number` (1-based) or, when number names no row,
    // appends it. Nothing changes when the check fails.
    EntryCheck addOrReplace(int number, const FieldDef &entry);
    // An empty row at `row` (clamped to the grid); it is no field until it is filled.
    void insertRow(int row);
    void deleteRow(int row);

    // Empty grid and map, no count, direction "D"; the name stays.
    void reset();
    // false, and nothing changes, when the definition has more fields than the designer holds.
    bool load(const Definition &definition);
    Definition definition() const;
    // What a save would write, or nothing with the fault that stops it.
    WriteCheck checkForSaving() const { return checkForWriting(definition()); }
    std::optional<QByteArray> saveText() const { return writeDefinition(definition()); }

    // Sizes the map to the count and marks every field's cells in grid order, a later field
    // over an earlier one.
    void rebuildMap();

signals:
    void gridChanged();
    void mapChanged();
    void countChanged(const QString &count);
    void directionChanged(QChar direction);
    void nameChanged(const QString &name);
    void modifiedChanged(bool modified);

private:
    void fieldsChanged();
    void recompute();

    QList<FieldDef> m_fields;
    QList<FieldSpan> m_spans; // position and length per row; length 0 for an empty row
    QList<QString> m_map;     // m_mapRows * kColumns labels
    int m_mapRows = 0;
    QString m_count;
    QChar m_direction = u'D';
    QString m_name;
    bool m_modified = false;
};

} // namespace formdef
