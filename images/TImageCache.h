#pragma once

#include "TImageBuffer.h"

#include <memory>
#include <string>
#include <vector>

// The process-wide list of picture buffers, shared by file name: two image
// objects that show one file hold one copy of its pixels. A buffer stays in
// the list while an object holds a reference to it; the last Release
// removes and destroys it. Buffers without a name (pictures made in memory)
// are listed too but never shared.
class TImageCache
{
public:
  static TImageCache& Instance();

  // The buffer of that name with one more reference, or null.
  TImageBuffer* Share(const std::string& path);
  // Takes a buffer (a loaded picture), gives it a first reference and lists
  // it; null when buffer is null.
  TImageBuffer* Adopt(std::unique_ptr<TImageBuffer> buffer);
  // Drops one reference; the last one removes and destroys the buffer.
  void Release(TImageBuffer* buffer);

  size_t Size() const { return m_buffers.size(); }

private:
  TImageCache() = default;
  std::vector<std::unique_ptr<TImageBuffer>> m_buffers;
};
