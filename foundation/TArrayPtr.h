#pragma once

#include <cstdint>

// A growable array of pointers that it does not own. It grows by a fixed
// step; an array with growBy 0 never grows. Out-of-range reads give null.
class TArrayPtr
{
public:
  TArrayPtr(int32_t capacity = 8, int32_t growBy = 8);
  TArrayPtr(const TArrayPtr&) = delete;
  TArrayPtr& operator=(const TArrayPtr&) = delete;
  TArrayPtr(TArrayPtr&& other) noexcept;
  TArrayPtr& operator=(TArrayPtr&& other) noexcept;
  virtual ~TArrayPtr();

  int32_t Count() const { return m_count; }
  int32_t Capacity() const { return m_capacity; }
  int32_t GrowBy() const { return m_growBy; }
  void* Get(int32_t i) const { return i >= 0 && i < m_count ? m_items[i] : nullptr; }
  void* operator[](int32_t i) const { return Get(i); }
  void* const* Items() const { return m_items; }

  bool Contains(const void* p) const { return IndexOf(p) >= 0; }
  int32_t IndexOf(const void* p) const;
  bool Append(void* p);
  bool InsertAt(void* p, int32_t i);
  void Remove(const void* p);
  bool RemoveAt(int32_t i);
  void Set(int32_t i, void* p)
  {
    if (i >= 0 && i < m_count)
      m_items[i] = p;
  }
  void Clear() { m_count = 0; }
  void Sort(int (*compare)(const void* a, const void* b));
  bool ReserveSlot();
  // Makes room for n entries at once (used by bulk loaders).
  bool Reserve(int32_t n);

private:
  bool Grow();

  void** m_items = nullptr;
  int32_t m_capacity = 0;
  int32_t m_count = 0;
  int32_t m_growBy = 0;
};

// Typed view over TArrayPtr for callers that store one kind of object.
template <class T> class TArrayOf : public TArrayPtr
{
public:
  using TArrayPtr::TArrayPtr;
  T* Get(int32_t i) const { return static_cast<T*>(TArrayPtr::Get(i)); }
  T* operator[](int32_t i) const { return Get(i); }
  T* const* begin() const { return reinterpret_cast<T* const*>(Items()); }
  T* const* end() const { return begin() + Count(); }
};
