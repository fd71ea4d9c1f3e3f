#include "shows/sceneclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>

namespace Shows {

const char SceneMimeType[] = "application/x-vn274-scene";
const char ProgramMimeType[] = "application/x-vn274-program";

namespace {
constexpr int SceneDataSize = RecordSize + 1;
}

QMimeData *sceneMimeData(const CopiedScene &scene)
{
    SceneRecord record = scene.record;
    std::memset(record.reserved, 0, sizeof record.reserved);
    if (!scene.hasEndMarker)
        record.endMarker = 0;

    QByteArray data(reinterpret_cast<const char *>(&record), RecordSize);
    data.append(char(scene.hasEndMarker ? 1 : 0));

    auto *mime = new QMimeData;
    mime->setData(QLatin1String(SceneMimeType), data);
    return mime;
}

std::optional<CopiedScene> sceneFromMimeData(const QMimeData *mime)
{
    if (!mime || !mime->hasFormat(QLatin1String(SceneMimeType)))
        return std::nullopt;
    const QByteArray data = mime->data(QLatin1String(SceneMimeType));
    if (data.size() != SceneDataSize || quint8(data.at(RecordSize)) > 1)
        return std::nullopt;

    CopiedScene scene;
    std::memcpy(&scene.record, data.constData(), sizeof scene.record);
    scene.hasEndMarker = data.at(RecordSize) == 1;
    return scene;
}

void copySceneToClipboard(const CopiedScene &scene)
{
    QGuiApplication::clipboard()->setMimeData(sceneMimeData(scene));
}

std::optional<CopiedScene> sceneOnClipboard()
{
    return sceneFromMimeData(QGuiApplication::clipboard()->mimeData());
}

bool clipboardHoldsScene()
{
    return sceneOnClipboard().has_value();
}

void copyProgramToClipboard(const QByteArray &steps)
{
    Q_ASSERT(steps.size() == StepsPerProgram * RecordSize);
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(ProgramMimeType), steps);
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::optional<QByteArray> programOnClipboard()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(QLatin1String(ProgramMimeType)))
        return std::nullopt;
    const QByteArray steps = mime->data(QLatin1String(ProgramMimeType));
    if (steps.size() != StepsPerProgram * RecordSize)
        return std::nullopt;
    return steps;
}

} // namespace Shows
