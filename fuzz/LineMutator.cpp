// The mutator of the document and record fuzzers: it knows how documents
// are built (lines, tab-indented parts of a record, numbers).

#include "FuzzSupport.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
  return MutateLines(data, size, maxSize, seed);
}

namespace {

std::vector<std::string> SplitLines(std::string_view text)
{
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      if (start < text.size())
        lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start + 1));
    start = end + 1;
  }
  return lines;
}

// Numbers a file may hold and a reader must survive.
constexpr const char* kExtremes[] = {"0",          "-1",          "1",       "2147483647", "-2147483648",
                                     "65535",      "65536",       "32767",   "-32768",     "4294967295",
                                     "1000000000", "-1000000000", "1048576", "400",        "99999999999"};

// Replaces the n-th number of the line with an extreme.
bool SwapNumber(std::string& line, std::mt19937& random)
{
  std::vector<std::pair<size_t, size_t>> numbers;
  for (size_t i = 0; i < line.size();) {
    if (std::isdigit(static_cast<unsigned char>(line[i])) ||
        (line[i] == '-' && i + 1 < line.size() && std::isdigit(static_cast<unsigned char>(line[i + 1])))) {
      size_t j = i + 1;
      while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j])))
        ++j;
      numbers.emplace_back(i, j - i);
      i = j;
    } else {
      ++i;
    }
  }
  if (numbers.empty())
    return false;
  const auto [at, length] = numbers[random() % numbers.size()];
  line.replace(at, length, kExtremes[random() % std::size(kExtremes)]);
  return true;
}

} // namespace

size_t MutateLines(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
  std::mt19937 random(seed);
  if (random() % 4 == 0 || size == 0)
    return LLVMFuzzerMutate(data, size, maxSize);
  std::vector<std::string> lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (lines.empty())
    return LLVMFuzzerMutate(data, size, maxSize);
  const size_t pick = random() % lines.size();
  switch (random() % 5) {
  case 0:
    if (!SwapNumber(lines[pick], random))
      return LLVMFuzzerMutate(data, size, maxSize);
    break;
  case 1:
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(pick));
    break;
  case 2: {
    // A run of lines (a record with its tab-indented parts) doubled.
    size_t end = pick + 1;
    while (end < lines.size() && !lines[end].empty() && lines[end][0] == '\t')
      ++end;
    const std::vector<std::string> run(lines.begin() + static_cast<std::ptrdiff_t>(pick),
                                       lines.begin() + static_cast<std::ptrdiff_t>(end));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), run.begin(), run.end());
    break;
  }
  case 3: {
    const size_t to = random() % lines.size();
    std::string moved = lines[pick];
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(pick));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(std::min(to, lines.size())), std::move(moved));
    break;
  }
  default: {
    // A record copied to just after another record's header, nesting it in
    // a group or a symbol when that is where it lands.
    std::string copied = lines[pick];
    const size_t to = random() % lines.size();
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(to), "\t" + copied);
    break;
  }
  }
  std::string joined;
  for (const std::string& line : lines)
    joined += line;
  if (joined.size() > maxSize)
    joined.resize(maxSize);
  std::memcpy(data, joined.data(), joined.size());
  return joined.size();
}
