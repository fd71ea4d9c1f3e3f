#include "shows/showtables.h"

#include <cstring>

namespace Shows {

SceneRecord recordAt(const QByteArray &table, int offset)
{
    Q_ASSERT(offset >= 0 && offset + RecordSize <= table.size());
    SceneRecord record;
    std::memcpy(&record, table.constData() + offset, sizeof record);
    return record;
}

void setRecordAt(QByteArray &table, int offset, const SceneRecord &record)
{
    Q_ASSERT(offset >= 0 && offset + RecordSize <= table.size());
    std::memcpy(table.data() + offset, &record, sizeof record);
}

} // namespace Shows
