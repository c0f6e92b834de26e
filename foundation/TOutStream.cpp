#include "TOutStream.h"

#include <cerrno>
#include <charconv>
#include <cstring>

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
  TOutStream os;
  os.SetSink([&file](std::string_view block) { return file.Write(block); }, kSaveBlock);
  const bool produced = write(os);
  os.Flush();
  // A block that could not be written makes the close fail with the
  // system's reason; a writer that gave up leaves no reason of the system.
  if (file.Close(produced))
    return true;
  if (error)
    *error = produced ? file.Error() : "Cannot write " + path + ": " + std::strerror(EIO);
  return false;
}
