#pragma once
// The tool on the top view. Picture1 hands every press, move and release to
// the one tool chosen (pen, stroke brush or selection frame); choosing
// another tool replaces it. The plain tool is the arrow: it does nothing.

#include "app/Brushes.h"

#include <QPointF>
#include <Qt>

// The mode fields a tool stands for; frmTer keeps them as the tool's state
// for the code that reads them.
struct ToolModes {
    bool pen = false;     // PenMode
    bool select = false;  // SelectMode
    bool round = false;   // SelectRound
    int brush = Brushes::NoTool;  // FilterTool
};

class ViewTool {
public:
    explicit ViewTool(ToolModes modes = {}) : modes(modes) {}
    virtual ~ViewTool() = default;

    const ToolModes modes;

    // The pen or brush cursor follows the mouse while no button is held.
    virtual bool showsCursor() const { return false; }
    virtual bool squareCursor() const { return false; }

    virtual void press(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {}
    // Also while a command runs: a tool that changes the terrain waits then.
    virtual void move(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF) {}
    // Before the window refreshes its panel for the release ...
    virtual void release(Qt::MouseButton, QPointF) {}
    // ... and after it.
    virtual void afterRelease(Qt::MouseButton, QPointF) {}
};
