#ifndef EDITEDTABLE_H
#define EDITEDTABLE_H

#include <QByteArray>
#include <QObject>
#include <QUndoStack>

// One show table (the programs or the scenes) with its history. Every change
// to the bytes goes through change() or replace(), which record it on the
// table's undo stack; nothing else writes them, so no edit can bypass the
// history. Undo and redo put the bytes back and say which record they touched,
// so that whoever shows the table can show that record.
class EditedTable : public QObject
{
    Q_OBJECT

public:
    // Steps kept per table. The largest step (a whole programs table replaced)
    // holds 7680 bytes, so a full history stays under 8 MB.
    static constexpr int HistoryLimit = 1000;

    // The table as it starts, with an empty history.
    explicit EditedTable(const QByteArray &initial, QObject *parent = nullptr);

    const QByteArray &bytes() const { return table; }
    QUndoStack *history() { return &stack; }
    const QUndoStack *history() const { return &stack; }

    // Sets the bytes from offset on to replacement as one step named by the
    // untranslated text (context "EditedTable"); record is the 0-based record
    // the step is about. A change equal to what is there records nothing.
    // Consecutive changes with the same non-zero mergeKey over the same bytes
    // make one step.
    void change(const char *text, int offset, const QByteArray &replacement, int record, int mergeKey = 0);
    // The whole table, as one step over the bytes that differ.
    void replace(const char *text, const QByteArray &replacement, int record);

    // The bytes the history holds for its steps.
    qint64 heldBytes() const;
    // The step names in the language now installed (after a language switch).
    void retranslate();

signals:
    // After any change, undo or redo: the record concerned; byUndo when it
    // came from undo or redo, not from a new change.
    void changed(int record, bool byUndo);

private:
    friend class TableStep;
    void apply(int offset, const QByteArray &difference, int record, bool byUndo);

    QByteArray table;
    QUndoStack stack;
};

#endif // EDITEDTABLE_H
