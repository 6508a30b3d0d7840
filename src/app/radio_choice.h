#pragma once
// Radio groups react to a change of choice however it was made: a click,
// the arrow keys, an accessibility action or the program checking another
// item. A group's click signal alone misses all but the mouse.
#include <functional>

class QButtonGroup;
class QObject;

namespace quorvane {

// Calls `handler` with the id of the item that became checked, while
// `context` lives.
void OnChoiceChanged(QButtonGroup* group, QObject* context, std::function<void(int id)> handler);

}  // namespace quorvane
