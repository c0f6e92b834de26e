#include "THeldObject.h"

#include "ClassTable.h"
#include "TDataGroup.h"

#include <utility>

void ShellOnly::operator()(TDataGroup* carrier) const
{
  if (carrier) {
    carrier->RemoveAllChildren();
    delete carrier;
  }
}

bool IsCarrier(const TData* object)
{
  // A plain group; a symbol definition is a group too, but the library
  // keeps it whole.
  return object && object->ClassId() == kTDataGroup;
}

THeldObject::~THeldObject()
{
  Reset();
}

THeldObject::THeldObject(THeldObject&& other) noexcept
    : m_object(std::exchange(other.m_object, nullptr)), m_ownsAll(std::exchange(other.m_ownsAll, false)),
      m_carrier(std::exchange(other.m_carrier, false))
{
}

THeldObject& THeldObject::operator=(THeldObject&& other) noexcept
{
  if (this != &other) {
    Reset();
    m_object = std::exchange(other.m_object, nullptr);
    m_ownsAll = std::exchange(other.m_ownsAll, false);
    m_carrier = std::exchange(other.m_carrier, false);
  }
  return *this;
}

THeldObject THeldObject::OutOfDocument(std::unique_ptr<TData> object)
{
  THeldObject held;
  held.m_carrier = ::IsCarrier(object.get());
  held.m_object = object.release();
  held.m_ownsAll = true;
  return held;
}

THeldObject THeldObject::InDocument(TData* object)
{
  THeldObject held;
  held.m_carrier = ::IsCarrier(object);
  held.m_object = object;
  held.m_ownsAll = false;
  return held;
}

void THeldObject::Reset()
{
  TData* object = std::exchange(m_object, nullptr);
  if (!object)
    return;
  if (m_ownsAll) {
    delete object; // a carrier takes its children along
  } else if (m_carrier) {
    ShellOnly()(static_cast<TDataGroup*>(object)); // the children are the view's
  }
  m_ownsAll = false;
  m_carrier = false;
}
