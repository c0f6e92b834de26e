#include "ViewRegistry.h"

#include <QPointer>
#include <QWidget>

#include <unordered_map>

namespace {

std::unordered_map<const TVue*, QPointer<QWidget>>& Registry()
{
  static std::unordered_map<const TVue*, QPointer<QWidget>> registry;
  return registry;
}

} // namespace

void BindViewWidget(TVue* view, QWidget* widget)
{
  if (!view)
    return;
  if (!widget) {
    UnbindView(view);
    return;
  }
  Registry()[view] = widget;
  // The entry goes with the widget, unless the view was bound to another
  // widget meanwhile.
  QObject::connect(widget, &QObject::destroyed, [view](QObject* gone) {
    auto& registry = Registry();
    const auto it = registry.find(view);
    if (it != registry.end() && (it->second.isNull() || it->second.data() == gone))
      registry.erase(it);
  });
}

void UnbindView(const TVue* view)
{
  Registry().erase(view);
}

QWidget* ViewWidget(const TVue* view)
{
  if (!view)
    return nullptr;
  const auto& registry = Registry();
  const auto it = registry.find(view);
  return it != registry.end() ? it->second.data() : nullptr;
}

QWidget* ViewWindow(const TVue* view)
{
  QWidget* widget = ViewWidget(view);
  return widget ? widget->window() : nullptr;
}
