#include "app/radio_choice.h"

#include <QButtonGroup>
#include <utility>

namespace quorvane {

void OnChoiceChanged(QButtonGroup* group, QObject* context, std::function<void(int id)> handler) {
  // The item left unchecked reports too; only the one chosen counts.
  QObject::connect(group, &QButtonGroup::idToggled, context,
                   [handler = std::move(handler)](int id, bool checked) {
                     if (checked) handler(id);
                   });
}

}  // namespace quorvane
