#include "TInStream.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Files at least this long are read in two halves at once, the second on a
// thread of its own: taking the bytes from the system (and the first touch
// of the buffer's pages) is then shared between two cores.
constexpr size_t kReadInHalvesFrom = size_t{16} << 20;

// Reads count bytes of fd from offset into out, as far as the file goes;
// how many were read, or -1 on an error.
ssize_t ReadAt(int fd, char* out, size_t count, off_t offset)
{
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, out + done, count - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return -1;
    if (n == 0)
      break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// Reads length bytes of f from its start into out, in two halves at once;
// how many bytes from the start arrived, or -1 on an error. f is left at
// the end of what was read.
ssize_t ReadInHalves(FILE* f, char* out, size_t length)
{
  const int fd = ::fileno(f);
  const size_t half = length / 2;
  ssize_t second = 0;
  const auto readSecond = [&]() { second = ReadAt(fd, out + half, length - half, static_cast<off_t>(half)); };
  std::thread reader;
  try {
    reader = std::thread(readSecond);
  } catch (const std::system_error&) {
    readSecond(); // no thread to be had: one after the other
  }
  const ssize_t first = ReadAt(fd, out, half, 0);
  if (reader.joinable())
    reader.join();
  if (first < 0 || second < 0)
    return -1;
  // A file that shrank meanwhile ends where its first half ended.
  const size_t used =
      static_cast<size_t>(first) < half ? static_cast<size_t>(first) : half + static_cast<size_t>(second);
  return std::fseek(f, static_cast<long>(used), SEEK_SET) == 0 ? static_cast<ssize_t>(used) : -1;
}

} // namespace

bool TInStream::LoadFile(const std::string& path)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  // Read at once into a buffer of the file's length, left unfilled until
  // the bytes arrive: a document of a hundred megabytes is neither cleared
  // first nor copied again as a growing buffer runs full. A file that grows
  // while it is read, or whose length the system does not know, is still
  // read to its end.
  std::unique_ptr<char[]> whole;
  size_t used = 0;
  struct stat info;
  if (::fstat(::fileno(f), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    const auto length = static_cast<size_t>(info.st_size);
    whole = std::make_unique_for_overwrite<char[]>(length);
    if (length < kReadInHalvesFrom) {
      used = std::fread(whole.get(), 1, length, f);
    } else {
      const ssize_t read = ReadInHalves(f, whole.get(), length);
      if (read < 0) {
        std::fclose(f);
        return false;
      }
      used = static_cast<size_t>(read);
    }
  }
  std::string rest;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    rest.append(chunk, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok)
    return false;
  if (rest.empty() && whole) {
    Reset();
    m_buffer = std::move(whole);
    m_data = std::string_view(m_buffer.get(), used);
    return true;
  }
  SetData(whole ? std::string(whole.get(), used) + rest : std::move(rest));
  return true;
}

void TInStream::Reset()
{
  m_owned.clear();
  m_owned.shrink_to_fit();
  m_buffer.reset();
  m_data = {};
  m_pos = 0;
  m_state = 0;
  m_marks.clear();
  m_marksBuilt = false;
}

void TInStream::SetView(std::string_view data)
{
  Reset();
  m_data = data;
}

void TInStream::SetData(std::string data)
{
  Reset();
  m_owned = std::move(data);
  m_data = m_owned;
}

const std::vector<TInStream::SectionMark>& TInStream::SectionMarks() const
{
  if (m_marksBuilt)
    return m_marks;
  m_marksBuilt = true;
  const char* base = m_data.data();
  const size_t n = m_data.size();
  size_t from = 0;
  while (from < n) {
    const void* hit = std::memchr(base + from, '[', n - from);
    if (!hit)
      break;
    const size_t open = static_cast<size_t>(static_cast<const char*>(hit) - base);
    // The line holding this bracket.
    const void* nlp = std::memchr(base + open, '\n', n - open);
    const size_t lineEnd = nlp ? static_cast<size_t>(static_cast<const char*>(nlp) - base) : n;
    const std::string_view rest(base + open + 1, lineEnd - open - 1);
    const size_t close = rest.find(']');
    m_marks.push_back(
        {close == std::string_view::npos ? rest : rest.substr(0, close), nlp ? lineEnd + 1 : n});
    from = lineEnd + 1;
  }
  return m_marks;
}

bool TInStream::ReadLineView(std::string_view& line)
{
  line = {};
  m_gcount = 0;
  if (!good()) {
    m_state |= FailBit;
    return false;
  }
  if (m_pos >= m_data.size()) {
    m_state |= EofBit | FailBit;
    return false;
  }
  const char* base = m_data.data();
  const void* nlp = std::memchr(base + m_pos, '\n', m_data.size() - m_pos);
  if (!nlp) {
    line = std::string_view(base + m_pos, m_data.size() - m_pos);
    m_gcount = line.size();
    m_pos = m_data.size();
    m_state |= EofBit;
  } else {
    const size_t nl = static_cast<size_t>(static_cast<const char*>(nlp) - base);
    line = std::string_view(base + m_pos, nl - m_pos);
    m_gcount = line.size() + 1;
    m_pos = nl + 1;
  }
  return true;
}

TInStream& TInStream::seekg(int64_t pos)
{
  // Like a std::istream in C++11 and later: seeking clears eof first, and a
  // failed stream stays failed.
  m_state &= ~EofBit;
  if (fail())
    return *this;
  if (pos < 0 || static_cast<size_t>(pos) > m_data.size()) {
    m_state |= FailBit;
    return *this;
  }
  m_pos = static_cast<size_t>(pos);
  return *this;
}

int TInStream::peek()
{
  if (!good())
    return -1;
  if (m_pos >= m_data.size()) {
    m_state |= EofBit;
    return -1;
  }
  return static_cast<unsigned char>(m_data[m_pos]);
}

int TInStream::get()
{
  m_gcount = 0;
  if (!good()) {
    m_state |= FailBit;
    return -1;
  }
  if (m_pos >= m_data.size()) {
    m_state |= EofBit | FailBit;
    return -1;
  }
  m_gcount = 1;
  return static_cast<unsigned char>(m_data[m_pos++]);
}

TInStream& TInStream::get(char& c)
{
  const int v = get();
  if (v >= 0)
    c = static_cast<char>(v);
  return *this;
}

TInStream& TInStream::getline(std::string& line)
{
  line.clear();
  m_gcount = 0;
  if (!good()) {
    m_state |= FailBit;
    return *this;
  }
  if (m_pos >= m_data.size()) {
    m_state |= EofBit | FailBit;
    return *this;
  }
  const size_t nl = m_data.find('\n', m_pos);
  if (nl == std::string_view::npos) {
    line.assign(m_data.substr(m_pos));
    m_gcount = line.size();
    m_pos = m_data.size();
    m_state |= EofBit;
  } else {
    line.assign(m_data.substr(m_pos, nl - m_pos));
    m_gcount = line.size() + 1;
    m_pos = nl + 1;
  }
  return *this;
}

TInStream& TInStream::ignore(int64_t n, int delim)
{
  m_gcount = 0;
  if (!good())
    return *this;
  while (n-- > 0) {
    if (m_pos >= m_data.size()) {
      m_state |= EofBit;
      break;
    }
    const int c = static_cast<unsigned char>(m_data[m_pos++]);
    ++m_gcount;
    if (c == delim)
      break;
  }
  return *this;
}

TInStream& TInStream::read(char* out, size_t n)
{
  m_gcount = 0;
  if (!good()) {
    m_state |= FailBit;
    return *this;
  }
  const size_t avail = m_data.size() - m_pos;
  const size_t take = n < avail ? n : avail;
  m_data.copy(out, take, m_pos);
  m_pos += take;
  m_gcount = take;
  if (take < n)
    m_state |= EofBit | FailBit;
  return *this;
}

void TInStream::SkipWhitespace()
{
  while (m_pos < m_data.size() && IsStreamSpace(static_cast<unsigned char>(m_data[m_pos])))
    ++m_pos;
}

TInStream& TInStream::ReadWord(std::string& word)
{
  word.clear();
  if (!good()) {
    m_state |= FailBit;
    return *this;
  }
  SkipWhitespace();
  const size_t start = m_pos;
  SkipWord();
  word.assign(m_data.substr(start, m_pos - start));
  return *this;
}

void TInStream::SkipWord()
{
  if (!good()) {
    m_state |= FailBit;
    return;
  }
  SkipWhitespace();
  const size_t start = m_pos;
  while (m_pos < m_data.size() && !IsStreamSpace(static_cast<unsigned char>(m_data[m_pos])))
    ++m_pos;
  if (m_pos >= m_data.size())
    m_state |= EofBit;
  if (m_pos == start)
    m_state |= FailBit;
}

std::string_view TInStream::PeekWord() const
{
  if (!good())
    return {};
  size_t p = m_pos;
  while (p < m_data.size() && IsStreamSpace(static_cast<unsigned char>(m_data[p])))
    ++p;
  const size_t start = p;
  while (p < m_data.size() && !IsStreamSpace(static_cast<unsigned char>(m_data[p])))
    ++p;
  return m_data.substr(start, p - start);
}

bool TInStream::ScanInteger(bool allowNegative, int64_t min, int64_t max, int64_t& out, bool wrapNegative)
{
  out = 0;
  if (!good()) {
    m_state |= FailBit;
    return false;
  }
  SkipWhitespace();
  size_t p = m_pos;
  const size_t n = m_data.size();
  bool negative = false;
  if (p < n && (m_data[p] == '+' || m_data[p] == '-')) {
    negative = m_data[p] == '-';
    ++p;
  }
  const size_t digitsStart = p;
  uint64_t magnitude = 0;
  bool overflow = false;
  while (p < n && m_data[p] >= '0' && m_data[p] <= '9') {
    if (magnitude > (std::numeric_limits<uint64_t>::max() - 9) / 10)
      overflow = true;
    else
      magnitude = magnitude * 10 + static_cast<uint64_t>(m_data[p] - '0');
    ++p;
  }
  if (p >= n)
    m_state |= EofBit;
  if (p == digitsStart) {
    m_pos = p;
    m_state |= FailBit;
    return false;
  }
  m_pos = p;
  if (overflow || magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    m_state |= FailBit;
    out = negative ? min : max;
    return false;
  }
  int64_t value = static_cast<int64_t>(magnitude);
  if (negative) {
    if (!allowNegative && !wrapNegative && value != 0) {
      m_state |= FailBit;
      return false;
    }
    value = -value;
    if (wrapNegative && value < 0) {
      // Unsigned 32-bit fields written as negative numbers wrap, as the
      // standard extraction of an unsigned int does.
      if (-value > max) {
        m_state |= FailBit;
        out = max;
        return false;
      }
      value += max + 1;
    }
  }
  if (value < min || value > max) {
    m_state |= FailBit;
    out = value < min ? min : max;
    return false;
  }
  out = value;
  return true;
}

TInStream& TInStream::operator>>(int32_t& v)
{
  int64_t x;
  if (ScanInteger(true, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), x, false))
    v = static_cast<int32_t>(x);
  return *this;
}

TInStream& TInStream::operator>>(uint32_t& v)
{
  int64_t x;
  if (ScanInteger(false, 0, std::numeric_limits<uint32_t>::max(), x, true))
    v = static_cast<uint32_t>(x);
  return *this;
}

TInStream& TInStream::operator>>(int16_t& v)
{
  int64_t x;
  if (ScanInteger(true, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), x, false))
    v = static_cast<int16_t>(x);
  return *this;
}

TInStream& TInStream::operator>>(uint16_t& v)
{
  int64_t x;
  if (ScanInteger(false, 0, std::numeric_limits<uint16_t>::max(), x, false))
    v = static_cast<uint16_t>(x);
  return *this;
}

TInStream& TInStream::ReadByteValue(uint8_t& v)
{
  int64_t x;
  if (ScanInteger(false, 0, 255, x, false))
    v = static_cast<uint8_t>(x);
  return *this;
}

TInStream& TInStream::operator>>(double& v)
{
  if (!good()) {
    m_state |= FailBit;
    return *this;
  }
  SkipWhitespace();
  // Take the longest prefix shaped like a decimal number, as the standard
  // extraction does, then convert it.
  const size_t n = m_data.size();
  size_t p = m_pos;
  if (p < n && (m_data[p] == '+' || m_data[p] == '-'))
    ++p;
  size_t digits = 0;
  while (p < n && m_data[p] >= '0' && m_data[p] <= '9') {
    ++p;
    ++digits;
  }
  if (p < n && m_data[p] == '.') {
    ++p;
    while (p < n && m_data[p] >= '0' && m_data[p] <= '9') {
      ++p;
      ++digits;
    }
  }
  if (digits > 0 && p < n && (m_data[p] == 'e' || m_data[p] == 'E')) {
    size_t q = p + 1;
    if (q < n && (m_data[q] == '+' || m_data[q] == '-'))
      ++q;
    size_t expDigits = 0;
    while (q < n && m_data[q] >= '0' && m_data[q] <= '9') {
      ++q;
      ++expDigits;
    }
    if (expDigits > 0)
      p = q;
  }
  if (p >= n)
    m_state |= EofBit;
  if (digits == 0) {
    m_pos = p;
    m_state |= FailBit;
    v = 0;
    return *this;
  }
  const char* first = m_data.data() + m_pos;
  if (*first == '+')
    ++first;
  double value = 0;
  const auto res = std::from_chars(first, m_data.data() + p, value);
  m_pos = p;
  if (res.ec != std::errc()) {
    m_state |= FailBit;
    v = 0;
    return *this;
  }
  v = value;
  return *this;
}

TInStream& TInStream::operator>>(float& v)
{
  double d = 0;
  *this >> d;
  if (!fail())
    v = static_cast<float>(d);
  else
    v = 0;
  return *this;
}
