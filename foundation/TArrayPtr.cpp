#include "TArrayPtr.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TArrayPtr::TArrayPtr(int32_t capacity, int32_t growBy) : m_growBy(growBy < 0 ? 0 : growBy)
{
  if (capacity > 0) {
    m_items = static_cast<void**>(std::calloc(static_cast<size_t>(capacity), sizeof(void*)));
    if (m_items)
      m_capacity = capacity;
  }
}

TArrayPtr::TArrayPtr(TArrayPtr&& o) noexcept
    : m_items(o.m_items), m_capacity(o.m_capacity), m_count(o.m_count), m_growBy(o.m_growBy)
{
  o.m_items = nullptr;
  o.m_capacity = o.m_count = 0;
}

TArrayPtr& TArrayPtr::operator=(TArrayPtr&& o) noexcept
{
  if (this != &o) {
    std::free(m_items);
    m_items = o.m_items;
    m_capacity = o.m_capacity;
    m_count = o.m_count;
    m_growBy = o.m_growBy;
    o.m_items = nullptr;
    o.m_capacity = o.m_count = 0;
  }
  return *this;
}

TArrayPtr::~TArrayPtr()
{
  std::free(m_items);
}

int32_t TArrayPtr::IndexOf(const void* p) const
{
  for (int32_t i = 0; i < m_count; ++i)
    if (m_items[i] == p)
      return i;
  return -1;
}

bool TArrayPtr::Reserve(int32_t n)
{
  if (n <= m_capacity)
    return true;
  void** p = static_cast<void**>(std::realloc(m_items, static_cast<size_t>(n) * sizeof(void*)));
  if (!p)
    return false;
  std::memset(p + m_capacity, 0, static_cast<size_t>(n - m_capacity) * sizeof(void*));
  m_items = p;
  m_capacity = n;
  return true;
}

bool TArrayPtr::Grow()
{
  if (m_growBy <= 0)
    return false;
  // Large lists (huge documents) grow geometrically so that appending stays
  // linear overall; small ones keep the configured step.
  int32_t step = m_growBy;
  if (m_capacity > 1024 && step < m_capacity / 2)
    step = m_capacity / 2;
  return Reserve(m_capacity + step);
}

bool TArrayPtr::Append(void* p)
{
  if (m_count >= m_capacity && !Grow())
    return false;
  m_items[m_count++] = p;
  return true;
}

bool TArrayPtr::InsertAt(void* p, int32_t i)
{
  if (i < 0)
    i = 0;
  if (i >= m_count)
    return Append(p);
  if (m_count >= m_capacity && !Grow())
    return false;
  std::memmove(m_items + i + 1, m_items + i, static_cast<size_t>(m_count - i) * sizeof(void*));
  m_items[i] = p;
  ++m_count;
  return true;
}

bool TArrayPtr::RemoveAt(int32_t i)
{
  if (i < 0 || i >= m_count)
    return false;
  std::memmove(m_items + i, m_items + i + 1, static_cast<size_t>(m_count - i - 1) * sizeof(void*));
  m_items[--m_count] = nullptr;
  return true;
}

void TArrayPtr::Remove(const void* p)
{
  RemoveAt(IndexOf(p));
}

void TArrayPtr::Sort(int (*compare)(const void*, const void*))
{
  if (m_count >= 2 && compare)
    std::qsort(m_items, static_cast<size_t>(m_count), sizeof(void*), compare);
}

bool TArrayPtr::ReserveSlot()
{
  if (m_count >= m_capacity && !Grow())
    return false;
  m_items[m_count] = nullptr;
  return true;
}
