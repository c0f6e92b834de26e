#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Input side of the document stream: a byte buffer read with the same
// semantics as a binary std::istream (whitespace-separated extraction,
// good/fail/eof state, tellg/seekg), but without locale overhead so that
// multi-megabyte documents parse quickly. Lines may have any length.
class TInStream
{
public:
  TInStream() = default;
  explicit TInStream(std::string data) { SetData(std::move(data)); }
  // A stream may read bytes it borrows (another stream's, for a second
  // reader of one document): they must outlive it.
  TInStream(const TInStream&) = delete;
  TInStream& operator=(const TInStream&) = delete;

  // Reads a whole file into a new stream; returns false when it cannot be read.
  bool LoadFile(const std::string& path);
  void SetData(std::string data);
  void SetView(std::string_view data);
  std::string_view Data() const { return m_data; }

  bool good() const { return m_state == 0; }
  bool fail() const { return (m_state & (FailBit | BadBit)) != 0; }
  bool bad() const { return (m_state & BadBit) != 0; }
  bool eof() const { return (m_state & EofBit) != 0; }
  explicit operator bool() const { return !fail(); }
  bool operator!() const { return fail(); }
  void clear() { m_state = 0; }
  void setstate(int bits) { m_state |= bits; }

  // Positions are byte offsets; tellg answers -1 once the stream has failed.
  int64_t tellg() const { return fail() ? -1 : static_cast<int64_t>(m_pos); }
  TInStream& seekg(int64_t pos);
  bool AtEnd() const { return m_pos >= m_data.size(); }

  int peek();
  int get();
  TInStream& get(char& c);
  // Reads up to and including the next line feed (not stored in line).
  // Sets fail when nothing at all could be extracted.
  TInStream& getline(std::string& line);
  // Skips up to n characters, stopping after delim.
  TInStream& ignore(int64_t n = 1, int delim = -1);
  // Reads exactly n raw bytes; fails (keeping what was read) at end of data.
  TInStream& read(char* out, size_t n);
  size_t gcount() const { return m_gcount; }

  void SkipWhitespace();
  // Extracts one whitespace-delimited word.
  TInStream& ReadWord(std::string& word);
  std::string_view PeekWord() const;
  // Passes over one whitespace-delimited word, as ReadWord without keeping it.
  void SkipWord();

  TInStream& operator>>(int32_t& v);
  TInStream& operator>>(uint32_t& v);
  TInStream& operator>>(int16_t& v);
  TInStream& operator>>(uint16_t& v);
  TInStream& operator>>(uint8_t& v) = delete; // ambiguous: use ReadByteValue
  TInStream& operator>>(float& v);
  TInStream& operator>>(double& v);
  TInStream& operator>>(std::string& word) { return ReadWord(word); }

  // An unsigned decimal 0..255 (byte fields of records).
  TInStream& ReadByteValue(uint8_t& v);

  // Reads the next line as a view into the buffer (line feed consumed, not
  // included). Same state rules as getline.
  bool ReadLineView(std::string_view& line);

  // Every line holding a "[": the bracketed text after the first "[" and
  // the position of the following line. Built once per buffer, so looking
  // up sections in a large document does not rescan it each time.
  struct SectionMark
  {
    std::string_view name;
    size_t next;
  };
  const std::vector<SectionMark>& SectionMarks() const;

  enum { FailBit = 1, BadBit = 2, EofBit = 4 };

private:
  bool ScanInteger(bool allowNegative, int64_t min, int64_t max, int64_t& out, bool wrapNegative);

  void Reset();

  std::string m_owned;
  std::unique_ptr<char[]> m_buffer; // a file read whole
  std::string_view m_data;          // m_owned, m_buffer, or bytes borrowed
  size_t m_pos = 0;
  int m_state = 0;
  size_t m_gcount = 0;
  mutable std::vector<SectionMark> m_marks;
  mutable bool m_marksBuilt = false;
};

static inline bool IsStreamSpace(unsigned char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
