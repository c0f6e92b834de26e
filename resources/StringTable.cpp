#include "StringTable.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

struct Entry
{
  uint32_t id;
  const char* text;
};

const Entry kEntries[] = {
#include "strings/app.inc"
#include "strings/document.inc"
#include "strings/editing.inc"
#include "strings/foundation.inc"
#include "strings/images.inc"
#include "strings/objects.inc"
#include "strings/output.inc"
#include "strings/ui.inc"
};

const std::vector<Entry>& Sorted()
{
  static const std::vector<Entry> sorted = [] {
    std::vector<Entry> v(std::begin(kEntries), std::end(kEntries));
    std::stable_sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return v;
  }();
  return sorted;
}

const Entry* Find(uint32_t id)
{
  const auto& v = Sorted();
  const auto it =
      std::lower_bound(v.begin(), v.end(), id, [](const Entry& e, uint32_t x) { return e.id < x; });
  return it != v.end() && it->id == id ? &*it : nullptr;
}

} // namespace

const char* LoadStr(uint32_t id)
{
  const Entry* e = Find(id);
  return e ? e->text : "";
}

bool HasString(uint32_t id)
{
  return Find(id) != nullptr;
}

std::string FormatStr(uint32_t id, ...)
{
  const char* fmt = LoadStr(id);
  va_list ap;
  va_start(ap, id);
  va_list ap2;
  va_copy(ap2, ap);
  const int n = std::vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, ap2);
    out.resize(static_cast<size_t>(n));
  }
  va_end(ap2);
  return out;
}

std::vector<uint32_t> DuplicateStringIds()
{
  std::vector<uint32_t> dups;
  const auto& v = Sorted();
  for (size_t i = 1; i < v.size(); ++i)
    if (v[i].id == v[i - 1].id && (dups.empty() || dups.back() != v[i].id))
      dups.push_back(v[i].id);
  return dups;
}
