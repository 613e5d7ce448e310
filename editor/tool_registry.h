#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QObject;

namespace velmor {

class Tool;
struct ToolContext;

// A tool as the program knows it before it is made: its key, its menu text and shortcut, and how
// to make it. The Tools menu and the tool strip are built from this list, in its order.
struct ToolInfo
{
    QString key; // "brush"
    const char *title; // "&Brush", translated in the context "velmor::Tools"
    QKeySequence shortcut;
    std::function<Tool *(ToolContext &context, QObject *parent)> make;

    // "actionToolBrush": the menu entry's object name.
    QString actionName() const;
    QString shownTitle() const;
};

// Every tool, one line each (tool_registry.cpp); the first is the one a window starts with.
const QList<ToolInfo> &toolRegistry();
const ToolInfo *toolInfo(const QString &key);

} // namespace velmor
