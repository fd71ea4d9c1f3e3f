#include "shows/editedtable.h"

#include <QCoreApplication>
#include <QUndoCommand>

namespace {

QByteArray exclusiveOr(const QByteArray &a, const QByteArray &b)
{
    Q_ASSERT(a.size() == b.size());
    QByteArray result(a.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < a.size(); ++i)
        result[i] = char(a.at(i) ^ b.at(i));
    return result;
}

QString translated(const char *text)
{
    return QCoreApplication::translate("EditedTable", text);
}

constexpr int MergeableId = 0x5654;

} // namespace

// One step of a table's history: the bytes it changed, as before XOR after.
// A step is only ever undone from the state it left and redone from the state
// it found, so either state gives the other exactly, in half the memory of
// keeping both.
class TableStep : public QUndoCommand
{
public:
    TableStep(EditedTable *table, const char *text, int offset, const QByteArray &difference, int record,
              int mergeKey)
        : QUndoCommand(translated(text)),
          table(table), sourceText(text), offset(offset), difference(difference), record(record),
          mergeKey(mergeKey)
    {
    }

    void undo() override { table->apply(offset, difference, record, true); }
    void redo() override
    {
        table->apply(offset, difference, record, !firstRedo);
        firstRedo = false;
    }
    int id() const override { return mergeKey != 0 ? MergeableId : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const TableStep *>(other);
        if (next->mergeKey != mergeKey || next->offset != offset || next->difference.size() != difference.size())
            return false;
        difference = exclusiveOr(difference, next->difference);
        // A drag that ends where it began changes nothing: no step is left.
        setObsolete(difference.count('\0') == difference.size());
        if (next->sourceText != sourceText) {
            sourceText = next->sourceText;
            setText(translated(sourceText));
        }
        return true;
    }

    void retranslate() { setText(translated(sourceText)); }
    qint64 heldBytes() const { return difference.size(); }

private:
    EditedTable *table;
    const char *sourceText;
    int offset;
    QByteArray difference;
    int record;
    int mergeKey;
    bool firstRedo = true;
};

EditedTable::EditedTable(const QByteArray &initial, QObject *parent)
    : QObject(parent),
      table(initial)
{
    stack.setUndoLimit(HistoryLimit);
}

void EditedTable::change(const char *text, int offset, const QByteArray &replacement, int record, int mergeKey)
{
    Q_ASSERT(offset >= 0 && offset + replacement.size() <= table.size());
    const QByteArray difference = exclusiveOr(table.mid(offset, replacement.size()), replacement);
    if (difference.count('\0') == difference.size())
        return;
    stack.push(new TableStep(this, text, offset, difference, record, mergeKey));
}

void EditedTable::replace(const char *text, const QByteArray &replacement, int record)
{
    Q_ASSERT(replacement.size() == table.size());
    qsizetype first = 0;
    while (first < table.size() && table.at(first) == replacement.at(first))
        ++first;
    if (first == table.size())
        return;
    qsizetype last = table.size() - 1;
    while (table.at(last) == replacement.at(last))
        --last;
    change(text, int(first), replacement.mid(first, last - first + 1), record);
}

void EditedTable::apply(int offset, const QByteArray &difference, int record, bool byUndo)
{
    char *bytes = table.data() + offset;
    for (qsizetype i = 0; i < difference.size(); ++i)
        bytes[i] = char(bytes[i] ^ difference.at(i));
    emit changed(record, byUndo);
}

qint64 EditedTable::heldBytes() const
{
    qint64 held = 0;
    for (int i = 0; i < stack.count(); ++i)
        held += static_cast<const TableStep *>(stack.command(i))->heldBytes();
    return held;
}

// The stack hands out its steps as const; they are ours, and only their text changes.
void EditedTable::retranslate()
{
    for (int i = 0; i < stack.count(); ++i)
        const_cast<TableStep *>(static_cast<const TableStep *>(stack.command(i)))->retranslate();
}
