#pragma once

#include "GString.h"
#include "TArrayPtr.h"
#include "TSectionIni.h"

#include <cstdint>
#include <string>
#include <string_view>

// An ini file held whole in memory: the lines met before the
// first section header, then named sections of key/value items. Read adds a
// file's content, the Get/Set operations work in memory, Write replaces the
// file as a whole. Sections and header lines are owned.
//
// Lines of any length are read and written, paths have no length limit, files
// that are not valid UTF-8 are read as Windows-1252, and line breaks inside
// a stored text are written as blanks so that a value cannot add lines.
class TFichierIni
{
public:
  TFichierIni() = default;
  TFichierIni(const TFichierIni&) = delete;
  TFichierIni& operator=(const TFichierIni&) = delete;
  ~TFichierIni();

  // Takes path as the object's path, then adds the file's content. False
  // when path is null or the file cannot be read; the content is unchanged
  // then (the path is still taken, so a later Write(nullptr) creates it).
  bool Read(const char* path);
  // Writes the whole content to path (which becomes the object's path) or,
  // with null, to the stored path. The file is replaced atomically: on any
  // failure the old file stays intact, the result is false and error (when
  // given) receives a readable reason.
  bool Write(const char* path = nullptr, std::string* error = nullptr);

  // The parsing step of Read on a text already in memory (UTF-8).
  void Parse(std::string_view text);
  // The text Write puts in the file.
  std::string Format() const;

  bool GetInt(const char* section, const char* key, int32_t& out) const;
  bool GetString(const char* section, const char* key, char* buffer, int32_t size) const;
  bool GetString(const char* section, const char* key, std::string& out) const;
  // Finds or appends the section, then sets the item (TSectionIni::SetString).
  bool SetString(const char* section, const char* key, const char* value);
  bool SetInt(const char* section, const char* key, int32_t number);

  const std::string& Path() const { return m_path; }
  TSectionIni* FindSection(std::string_view name) const;
  int32_t SectionCount() const { return m_sections.Count(); }
  TSectionIni* SectionAt(int32_t index) const { return m_sections.Get(index); }
  int32_t HeaderCount() const { return m_header.Count(); }
  const GString* HeaderAt(int32_t index) const { return m_header.Get(index); }

private:
  // The section of that name (case-insensitive), appended when missing;
  // null when memory ran out.
  TSectionIni* GetOrAddSection(std::string_view name);
  void AddHeaderLine(std::string_view line);

  std::string m_path;
  TArrayOf<GString> m_header{8, 8};
  TArrayOf<TSectionIni> m_sections{8, 8};
};
