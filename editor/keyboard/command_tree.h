#pragma once
// The command tree as the keyboard page shows it: one tree node per command,
// keyed by the command's dotted path, its text the command's plain label and
// its shortcuts. A rebuild keeps what the user was looking at: the selected
// command, the open branches and the first visible row.

#include <string>

class TesselCommand;
class TesselTreeview;

// What the tree's root, the whole scheme, is called on the page.
inline constexpr const char kSchemeRootLabel[] = "Keyboard Scheme";

// The plain label, then the shortcuts' texts in brackets.
std::string commandNodeText(const TesselCommand& command);

// Empties the tree below its root and fills it from the scheme, depth first
// in table order; nodes found again by key keep their open state and the
// selection, and the first visible row stays where it can.
void rebuildCommandTree(TesselTreeview& tree, const TesselCommand& scheme);
