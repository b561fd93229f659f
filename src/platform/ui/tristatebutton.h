#pragma once

class QAction;
class QToolBar;

// A toolbar's style buttons (bold, italic, ...) as three states: pressed when all the
// selection has the style, unpressed when none of it has, and mixed when part of it has,
// drawn apart from both so that the presenter sees a partly bold selection for what it is.
namespace TriStateButton {

// State 1 pressed, -1 mixed, anything else unpressed; the action is made checkable. The
// button's look follows at once.
void SetState(QToolBar* bar, QAction* action, int state);
// -1 while the action shows mixed, else 1 or 0 by its check.
int State(const QAction* action);

} // namespace TriStateButton
