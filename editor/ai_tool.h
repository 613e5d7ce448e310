#pragma once

#include "editor/ai_edits.h"
#include "editor/tool.h"

#include <cstddef>

namespace velmor {

// What the AI zones and targets tools share: the document's AI edits, the record chosen (a zone,
// or a zone's target, by its number) and the AI as a gesture found it.
class AiTool : public Tool
{
public:
    AiTool(ToolContext &context, QObject *parent)
        : Tool(context, parent)
        , mEdits(context.document)
    { }

protected:
    // A left press on AI that can be edited. AI the ROM held unreadably is not, and says why.
    bool startsGesture(const ToolEvent &event)
    {
        if (event.button != LeftButton)
            return false;
        if (const QString reason = mEdits.blocked(); !reason.isEmpty()) {
            emit refused(reason);
            return false;
        }
        mBefore = mEdits.ai();
        return true;
    }
    // The number when it names one of count records, else -1.
    static int within(int index, std::size_t count)
    {
        return index >= 0 && index < int(count) ? index : -1;
    }

    AiEdits mEdits;
    int mSelected = -1;
    rom::CourseAi mBefore;
};

} // namespace velmor
