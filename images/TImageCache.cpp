#include "TImageCache.h"

#include <algorithm>

TImageCache& TImageCache::Instance()
{
  // Never destroyed: images held by other statics (the copy buffer) may
  // let go of their pictures while the program exits, after any static
  // cache would be gone. The buffers it still lists stay reachable.
  static TImageCache* const cache = new TImageCache;
  return *cache;
}

TImageBuffer* TImageCache::Share(const std::string& path)
{
  for (const auto& buffer : m_buffers)
    if (buffer->HasName(path) && buffer->IsValid() && buffer->AddRef())
      return buffer.get();
  return nullptr;
}

TImageBuffer* TImageCache::Adopt(std::unique_ptr<TImageBuffer> buffer)
{
  if (!buffer)
    return nullptr;
  buffer->AddRef();
  m_buffers.push_back(std::move(buffer));
  return m_buffers.back().get();
}

void TImageCache::Release(TImageBuffer* buffer)
{
  if (!buffer || buffer->Release() > 0)
    return;
  auto it = std::find_if(m_buffers.begin(), m_buffers.end(),
                         [buffer](const std::unique_ptr<TImageBuffer>& b) { return b.get() == buffer; });
  if (it != m_buffers.end())
    m_buffers.erase(it);
}
