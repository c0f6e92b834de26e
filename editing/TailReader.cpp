#include "TailReader.h"

#include "ClassTable.h"
#include "ObjectStream.h"

#include <algorithm>
#include <chrono>

size_t TailReader::SplitPoint(std::string_view data, size_t from, size_t end)
{
  end = std::min(end, data.size());
  if (from >= end || end - from < kMinimumBytes)
    return std::string_view::npos;
  size_t at = data.find('\n', from + (end - from) / 2);
  while (at != std::string_view::npos && at + 1 < end) {
    const size_t line = at + 1;
    const size_t next = data.find('\n', line);
    const size_t lineEnd = next == std::string_view::npos ? data.size() : next;
    if (RecordClassOfLine(data.substr(line, lineEnd - line)) != 0)
      return line;
    at = next;
  }
  return std::string_view::npos;
}

TailReader::TailReader(std::string_view data, size_t start) : m_data(data), m_start(start)
{
  m_thread = std::thread([this] { Run(); });
}

TailReader::~TailReader()
{
  m_stop.store(true);
  if (m_thread.joinable())
    m_thread.join();
}

void TailReader::Run()
{
  TInStream is;
  is.SetView(m_data);
  is.seekg(static_cast<int64_t>(m_start));
  // The same steps as the list's own reader, short of adding the objects
  // to the view, which the caller does in order.
  for (;;) {
    if (m_stop.load())
      break;
    std::unique_ptr<TStreamable> object(ReadObject(is));
    if (!object) {
      m_intact = !is.fail() && FindNextObject(is) == 0;
      break;
    }
    if (is.fail() || !object->IsA(kTData))
      break;
    m_objects.push_back(std::move(object));
  }
  m_state = (is.eof() ? TInStream::EofBit : 0) | (is.fail() ? TInStream::FailBit : 0);
  is.clear();
  m_end = is.tellg();
  m_done.store(true);
}

bool TailReader::Wait(const std::function<bool()>& giveUp)
{
  while (!m_done.load()) {
    if (giveUp && giveUp()) {
      m_stop.store(true);
      m_thread.join();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  m_thread.join();
  return true;
}

void TailReader::LeaveAsRead(TInStream& is) const
{
  is.clear();
  is.seekg(m_end);
  is.setstate(m_state);
}
