#include "TOutStream.h"

#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

// The characters to_chars wrote: appended by count, which the string takes
// on its fast path (a pair of pointers goes through its general replace).
void AppendChars(std::string& out, const char* first, const char* last)
{
  out.append(first, static_cast<size_t>(last - first));
}

} // namespace

TOutStream& TOutStream::operator<<(int32_t v)
{
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  AppendChars(m_data, buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(uint32_t v)
{
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  AppendChars(m_data, buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(int64_t v)
{
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  AppendChars(m_data, buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(double v)
{
  // The default floating-point insertion: six significant digits, the
  // shorter of fixed and exponent notation ("%g"), always with a "." --
  // to_chars ignores the C locale, which a French desktop would otherwise
  // turn into "0,01" in saved documents.
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  AppendChars(m_data, buf, r.ptr);
  return Spill();
}

void TOutStream::SetSink(Sink sink, size_t blockSize)
{
  m_sink = std::move(sink);
  m_blockSize = blockSize;
}

bool TOutStream::Flush()
{
  if (m_sink && !m_data.empty()) {
    if (!m_bad && !m_sink(m_data))
      m_bad = true;
    m_data.clear();
  }
  return good();
}

namespace {

// Blocks a streamed save writes at a time.
constexpr size_t kSaveBlock = size_t{1} << 20;

// Writes the blocks of a save on a thread of its own, so the next block is
// made while the last one goes to the file; one block waits at most, so a
// large file is still never held in memory whole.
class BlockWriter
{
public:
  explicit BlockWriter(TAtomicFile& file) : m_file(file), m_thread([this] { Run(); }) {}
  ~BlockWriter() { Finish(); }
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // Hands a block over, waiting while the one before is still waiting;
  // false once a write failed.
  bool Hand(std::string_view block)
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting; });
    if (m_failed)
      return false;
    m_block.assign(block);
    m_waiting = true;
    m_changed.notify_all();
    return true;
  }
  // Waits until every block is written; false when a write failed.
  bool Finish()
  {
    {
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [this] { return !m_waiting; });
      m_closing = true;
      m_changed.notify_all();
    }
    if (m_thread.joinable())
      m_thread.join();
    return !m_failed;
  }

private:
  void Run()
  {
    std::string block;
    for (;;) {
      {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting || m_closing; });
        if (!m_waiting)
          return;
        block.swap(m_block);
      }
      const bool written = m_file.Write(block);
      std::lock_guard lock(m_mutex);
      m_failed = m_failed || !written;
      m_waiting = false;
      m_changed.notify_all();
    }
  }

  TAtomicFile& m_file;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_block;
  bool m_waiting = false;
  bool m_closing = false;
  bool m_failed = false;
  std::thread m_thread;
};

} // namespace

bool SaveFileAtomic(const std::string& path, const std::function<bool(TOutStream&)>& write,
                    std::string* error)
{
  TAtomicFile file;
  if (!file.Open(path)) {
    if (error)
      *error = file.Error();
    return false;
  }
  bool produced;
  {
    BlockWriter writer(file);
    TOutStream os;
    os.SetSink([&writer](std::string_view block) { return writer.Hand(block); }, kSaveBlock);
    produced = write(os);
    os.Flush();
    writer.Finish();
  }
  // A block that could not be written makes the close fail with the
  // system's reason; a writer that gave up leaves no reason of the system.
  if (file.Close(produced))
    return true;
  if (error)
    *error = produced ? file.Error() : "Cannot write " + path + ": " + std::strerror(EIO);
  return false;
}
