#pragma once

#include <array>
#include <cstdint>
#include <string>

// The recent-files list: at most kCount paths, the most recent first. A
// path that is already listed (letter case aside) moves to the top instead
// of appearing twice; a new one pushes the oldest out.
class TRecentFiles
{
public:
  static constexpr int32_t kCount = 8;

  // Puts path at the top; an empty path is ignored.
  void Add(std::string path);
  void Clear();
  // An empty text for a free entry or an index out of range.
  const std::string& At(int32_t index) const;
  // Stores an entry as it was kept (reading the preferences).
  void Set(int32_t index, const std::string& path);
  bool IsEmpty() const;

private:
  std::array<std::string, kCount> m_paths;
};
