#include "TEdBase.h"

#include "TStatic.h"

TEdBase::TEdBase(TDialog* dialog, int32_t id, const std::string& label, int32_t labelId)
    : TControl(dialog, id)
{
  if (dialog && !label.empty())
    m_label = new TStatic(dialog, labelId, label, true);
}
