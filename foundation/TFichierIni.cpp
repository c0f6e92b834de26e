#include "TFichierIni.h"

#include "TInStream.h"
#include "TOutStream.h"
#include "TextCompare.h"
#include "TextEncoding.h"

#include <new>

namespace {

bool IsBlank(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Appends text with its line breaks turned into blanks, so that a stored
// text cannot start a line of its own in the file.
void AppendOneLine(std::string& out, std::string_view text)
{
  for (char c : text)
    out.push_back(c == '\n' || c == '\r' ? ' ' : c);
}

} // namespace

TFichierIni::~TFichierIni()
{
  for (TSectionIni* section : m_sections)
    delete section;
  for (GString* line : m_header)
    delete line;
}

bool TFichierIni::Read(const char* path)
{
  if (!path)
    return false;
  m_path = path;
  TInStream file;
  if (!file.LoadFile(m_path))
    return false;
  Parse(ToUtf8(file.Data()));
  return true;
}

bool TFichierIni::Write(const char* path, std::string* error)
{
  if (path)
    m_path = path;
  return SaveFileAtomic(m_path, Format(), error);
}

void TFichierIni::Parse(std::string_view text)
{
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3); // a UTF-8 byte order mark is no part of the first line
  bool inSection = false;
  TSectionIni* section = nullptr; // null inside a section that could not be added
  size_t pos = 0;
  for (;;) {
    while (pos < text.size() && IsBlank(text[pos]))
      ++pos;
    if (pos >= text.size())
      break;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);

    if (line[0] == '[') {
      std::string_view name = line.substr(1);
      name = name.substr(0, name.find(']'));
      inSection = true;
      section = GetOrAddSection(name);
    } else if (!inSection) {
      AddHeaderLine(line);
    } else if (section) {
      if (line[0] == ';')
        section->AddComment(line);
      else
        section->AddLine(line);
    }
  }
}

std::string TFichierIni::Format() const
{
  std::string out;
  for (const GString* line : m_header) {
    if (line->Text()[0] != ';')
      out.push_back(';');
    AppendOneLine(out, line->View());
    out.push_back('\n');
  }
  for (const TSectionIni* section : m_sections) {
    out += "\n[";
    AppendOneLine(out, section->Name().View());
    out += "]\n";
    for (int32_t i = 0; i < section->Count(); ++i) {
      const TItemIni* item = section->ItemAt(i);
      AppendOneLine(out, item->Key().View());
      if (!item->IsComment()) {
        out += " = ";
        AppendOneLine(out, item->Value().View());
      }
      out.push_back('\n');
    }
  }
  return out;
}

TSectionIni* TFichierIni::FindSection(std::string_view name) const
{
  for (TSectionIni* section : m_sections)
    if (CompareTextNoCase(section->Name().View(), name) == 0)
      return section;
  return nullptr;
}

TSectionIni* TFichierIni::GetOrAddSection(std::string_view name)
{
  GString trimmed;
  if (!trimmed.Assign(name))
    return nullptr;
  trimmed.Trim();
  if (TSectionIni* section = FindSection(trimmed.View()))
    return section;
  TSectionIni* section = new (std::nothrow) TSectionIni;
  if (!section)
    return nullptr;
  if (!section->SetName(trimmed.View()) || !m_sections.Append(section)) {
    delete section;
    return nullptr;
  }
  return section;
}

void TFichierIni::AddHeaderLine(std::string_view line)
{
  GString* copy = new (std::nothrow) GString;
  if (!copy)
    return;
  if (!copy->Assign(line) || !m_header.Append(copy))
    delete copy;
}

bool TFichierIni::GetInt(const char* section, const char* key, int32_t& out) const
{
  const TSectionIni* s = section ? FindSection(section) : nullptr;
  return s && s->GetInt(key, out);
}

bool TFichierIni::GetString(const char* section, const char* key, char* buffer, int32_t size) const
{
  const TSectionIni* s = section ? FindSection(section) : nullptr;
  return s && s->GetString(key, buffer, size);
}

bool TFichierIni::GetString(const char* section, const char* key, std::string& out) const
{
  const TSectionIni* s = section ? FindSection(section) : nullptr;
  return s && s->GetString(key, out);
}

bool TFichierIni::SetString(const char* section, const char* key, const char* value)
{
  if (!section || !key)
    return false;
  TSectionIni* s = GetOrAddSection(section);
  return s && s->SetString(key, value);
}

bool TFichierIni::SetInt(const char* section, const char* key, int32_t number)
{
  if (!section || !key)
    return false;
  TSectionIni* s = GetOrAddSection(section);
  return s && s->SetInt(key, number);
}
