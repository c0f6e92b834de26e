#include "TRecentFiles.h"

#include <QString>

#include <algorithm>
#include <utility>

namespace {

bool SamePath(const std::string& a, const std::string& b)
{
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

void TRecentFiles::Add(std::string path)
{
  if (path.empty())
    return;
  auto found =
      std::find_if(m_paths.begin(), m_paths.end(), [&](const std::string& p) { return SamePath(p, path); });
  // The entries above the old place (or all but the last) move down one.
  auto end = found != m_paths.end() ? found : m_paths.end() - 1;
  std::move_backward(m_paths.begin(), end, end + 1);
  m_paths.front() = std::move(path);
}

void TRecentFiles::Clear()
{
  m_paths.fill(std::string());
}

const std::string& TRecentFiles::At(int32_t index) const
{
  static const std::string none;
  return index >= 0 && index < kCount ? m_paths[static_cast<size_t>(index)] : none;
}

void TRecentFiles::Set(int32_t index, const std::string& path)
{
  if (index >= 0 && index < kCount)
    m_paths[static_cast<size_t>(index)] = path;
}

bool TRecentFiles::IsEmpty() const
{
  return std::all_of(m_paths.begin(), m_paths.end(), [](const std::string& p) { return p.empty(); });
}
