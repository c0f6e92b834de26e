#include "PageBinding.h"

#include "TPage.h"
#include "TQtPageDevice.h"

#include <QPainter>

#include <memory>

bool BindPage(TPage& page, QPaintDevice* device, int32_t kind)
{
  if (!device)
    return false;
  auto backend = std::make_unique<TQtPageDevice>(device);
  if (!backend->IsActive())
    return false;
  return page.BindBackend(std::move(backend), kind);
}

bool BindPage(TPage& page, QPainter* painter, int32_t kind)
{
  if (!painter || !painter->isActive())
    return false;
  return page.BindBackend(std::make_unique<TQtPageDevice>(painter), kind);
}
