#include "editor/tool_registry.h"

#include "editor/brush_tool.h"
#include "editor/click_tools.h"
#include "editor/items_tool.h"
#include "editor/lap_tool.h"
#include "editor/objects_tool.h"
#include "editor/select_tool.h"
#include "editor/shape_tool.h"
#include "editor/start_tool.h"
#include "editor/targets_tool.h"
#include "editor/zones_tool.h"

#include <QCoreApplication>

namespace velmor {

namespace {

template<typename T>
Tool *make(ToolContext &context, QObject *parent)
{
    return new T(context, parent);
}

template<ShapeTool::Shape shape>
Tool *makeShape(ToolContext &context, QObject *parent)
{
    return new ShapeTool(shape, context, parent);
}

// Single keys as map editors have them; typing into a palette's field keeps its letters.
#define TOOL_TITLE(text) QT_TRANSLATE_NOOP("velmor::Tools", text)

} // namespace

const QList<ToolInfo> &toolRegistry()
{
    static const QList<ToolInfo> tools = {
        {QStringLiteral("brush"), TOOL_TITLE("&Brush"), Qt::Key_B, make<BrushTool>},
        {QStringLiteral("line"), TOOL_TITLE("&Line"), Qt::Key_L, makeShape<ShapeTool::Shape::Line>},
        {QStringLiteral("rectangle"), TOOL_TITLE("&Rectangle"), Qt::Key_R,
            makeShape<ShapeTool::Shape::Rectangle>},
        {QStringLiteral("fill"), TOOL_TITLE("&Fill"), Qt::Key_F, make<FillTool>},
        {QStringLiteral("pick"), TOOL_TITLE("&Pick"), Qt::Key_I, make<PickTool>},
        {QStringLiteral("select"), TOOL_TITLE("&Select"), Qt::Key_S, make<SelectTool>},
        // The race's layers; the start grid takes P, as S selects.
        {QStringLiteral("items"), TOOL_TITLE("I&tems"), Qt::Key_T, make<ItemsTool>},
        {QStringLiteral("objects"), TOOL_TITLE("&Objects"), Qt::Key_O, make<ObjectsTool>},
        {QStringLiteral("start"), TOOL_TITLE("St&art Grid"), Qt::Key_P, make<StartTool>},
        {QStringLiteral("lap"), TOOL_TITLE("Lap Lin&e"), Qt::Key_K, make<LapTool>},
        {QStringLiteral("zones"), TOOL_TITLE("AI &Zones"), Qt::Key_Z, make<ZonesTool>},
        {QStringLiteral("targets"), TOOL_TITLE("AI Tar&gets"), Qt::Key_G, make<TargetsTool>},
    };
    return tools;
}

const ToolInfo *toolInfo(const QString &key)
{
    for (const ToolInfo &info : toolRegistry()) {
        if (info.key == key)
            return &info;
    }
    return nullptr;
}

QString ToolInfo::actionName() const
{
    return QStringLiteral("actionTool") + key.left(1).toUpper() + key.mid(1);
}

QString ToolInfo::shownTitle() const
{
    return QCoreApplication::translate("velmor::Tools", title);
}

} // namespace velmor
