#pragma once

#include "TAtomicFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Output side of the document stream: values are appended to a memory
// buffer in the text forms of the standard insertion operators in their
// default state (decimal integers, floats with six significant digits).
// Writing to disk happens atomically, through SaveFileAtomic.
class TOutStream
{
public:
  TOutStream() = default;

  // What was written and not yet handed to a sink.
  const std::string& Data() const { return m_data; }
  std::string TakeData() { return std::move(m_data); }
  // Empties the buffer, keeping its room, and makes the stream good again.
  void Clear()
  {
    m_data.clear();
    m_bad = false;
  }
  void Reserve(size_t n) { m_data.reserve(n); }

  // A stream stays good unless a caller marks it bad (for example a
  // writer that could not produce a value) or its sink fails.
  bool good() const { return !m_bad; }
  void setbad() { m_bad = true; }

  // Hands the buffer to sink and empties it whenever it holds blockSize
  // bytes or more, so that a large output never lies in memory whole. A
  // sink that answers false marks the stream bad. Flush hands over the
  // rest; it answers whether the stream is still good.
  using Sink = std::function<bool(std::string_view)>;
  void SetSink(Sink sink, size_t blockSize);
  bool Flush();

  TOutStream& put(char c)
  {
    m_data.push_back(c);
    return Spill();
  }
  TOutStream& write(const char* p, size_t n)
  {
    m_data.append(p, n);
    return Spill();
  }

  TOutStream& operator<<(char c) { return put(c); }
  TOutStream& operator<<(const char* s)
  {
    m_data.append(s ? s : "");
    return Spill();
  }
  TOutStream& operator<<(std::string_view s)
  {
    m_data.append(s);
    return Spill();
  }
  TOutStream& operator<<(const std::string& s)
  {
    m_data.append(s);
    return Spill();
  }
  TOutStream& operator<<(int32_t v);
  TOutStream& operator<<(uint32_t v);
  TOutStream& operator<<(int16_t v) { return *this << static_cast<int32_t>(v); }
  TOutStream& operator<<(uint16_t v) { return *this << static_cast<uint32_t>(v); }
  TOutStream& operator<<(int64_t v);
  TOutStream& operator<<(double v);
  TOutStream& operator<<(float v) { return *this << static_cast<double>(v); }

private:
  TOutStream& Spill()
  {
    if (m_sink && m_data.size() >= m_blockSize)
      Flush();
    return *this;
  }

  std::string m_data;
  bool m_bad = false;
  Sink m_sink;
  size_t m_blockSize = 0;
};

// The file at path made of what write produces, through TAtomicFile: what
// it writes into the stream goes to the temporary file block by block, so a large file is never held
// in memory whole. write answers whether it produced everything.
bool SaveFileAtomic(const std::string& path, const std::function<bool(TOutStream&)>& write,
                    std::string* error = nullptr);
