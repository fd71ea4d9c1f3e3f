#ifndef LAMPGROUP_H
#define LAMPGROUP_H

#include <QList>
#include <QObject>

class SuperRGB;

// Group editing over the lamp editors of one tab. The user selects sliders
// (Ctrl+click, or a sweep with Shift held); moving one selected slider then
// moves every selected slider of every lamp to the same value, and Brighter
// and Darker scale them all. Unselected sliders are never touched, so with
// nothing selected each slider works alone.
class LampGroup : public QObject
{
    Q_OBJECT

public:
    // The step of Brighter and Darker, in percent of a slider's value.
    static constexpr int PercentStep = 10;

    explicit LampGroup(const QList<SuperRGB *> &lamps, QObject *parent = nullptr);

    // The editors, for a group made before them; an earlier list is dropped.
    void setLamps(const QList<SuperRGB *> &editors);

    // Red, green and blue of lamp 0, then of lamp 1, and so on.
    QList<bool> selection() const;
    void setSelection(const QList<bool> &selected);
    bool hasSelection() const;

public slots:
    void setSelectedValue(int value);
    void brighter();
    void darker();
    void selectNone();

private:
    QList<SuperRGB *> lamps;
};

#endif // LAMPGROUP_H
