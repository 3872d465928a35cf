#pragma once
// The main window's toolbars as tables, one row a button: its key, texts,
// icon, enabled rule and handler. Adding a button touches its row only.

#include "app/frmTerIcons.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class frmTer;

namespace ToolbarCommands {

enum class Kind { Button, Separator, Placeholder };

// What the enabled rules look at.
struct State {
    bool terrainEmpty = true;
    bool backupExists = false;
    bool objectsPresent = false;
};
// The button's state for `State`; nothing leaves it as it is.
using EnabledRule = std::optional<bool> (*)(const State&);

struct Command {
    int position = 0;  // Toolbar1: 1-based, separators and placeholders counted
    Kind kind = Kind::Button;
    QString key;
    QString caption;
    QString toolTip;
    QString description;
    QString themeIcon;  // desktop theme icon name, tried before the pictogram
    Pictogram pictogram = nullptr;
    EnabledRule enabled = nullptr;  // none: always usable
    // False when the command ended at once (Toolbar1 then skips its tail).
    std::function<bool(frmTer&)> run;
};

// All 40 positions of Toolbar1, separators and placeholders included.
const std::vector<Command>& toolbar1();
// The tool choice of the Edit tab, its separators included.
const std::vector<Command>& toolbar2();
// The pen shapes.
const std::vector<Command>& toolBarPen();

// The button of `key` (exact, case-sensitive), nullptr when the table has none.
const Command* find(const std::vector<Command>& table, const QString& key);

} // namespace ToolbarCommands
