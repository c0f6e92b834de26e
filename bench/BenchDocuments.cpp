#include "BenchDocuments.h"

#include "DocumentFile.h"
#include "DocumentGenerator.h"
#include "TaClientPage.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

// The run's own temporary folder, removed with everything in it at exit.
class TempFolder
{
public:
  TempFolder()
      : m_path(std::filesystem::temp_directory_path() / ("vekta-bench-" + std::to_string(::getpid())))
  {
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder()
  {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};

TempFolder& Folder()
{
  static TempFolder folder;
  return folder;
}

std::unique_ptr<TaClientPage> Generate(int32_t count, bool simpleOnly)
{
  auto client = std::make_unique<TaClientPage>();
  GeneratorOptions options;
  options.count = count;
  options.simpleOnly = simpleOnly;
  GenerateDocument(*client, options);
  return client;
}

} // namespace

std::string BenchTempPath(const std::string& name)
{
  return (Folder().Path() / name).string();
}

const std::string& BenchDocumentFile(int32_t count, bool simpleOnly)
{
  static std::map<std::pair<int32_t, bool>, std::string> files;
  std::string& path = files[{count, simpleOnly}];
  if (path.empty()) {
    path = BenchTempPath((simpleOnly ? "simple" : "mixed") + std::to_string(count) + ".vk1");
    std::unique_ptr<TaClientPage> client = Generate(count, simpleOnly);
    client->SetFilePath(path);
    SaveDocument(*client, false, false);
  }
  return path;
}

TaClientPage& BenchDocument(int32_t count)
{
  // Read from its file, as a document is opened: its objects then lie in
  // memory as they do for the user, not among what generating them left.
  static std::map<int32_t, std::unique_ptr<TaClientPage>> documents;
  std::unique_ptr<TaClientPage>& slot = documents[count];
  if (!slot) {
    const std::string& path = BenchDocumentFile(count);
    slot = std::make_unique<TaClientPage>();
    LoadDocument(*slot, path.c_str());
  }
  return *slot;
}

std::vector<int64_t> DocumentCounts()
{
  std::vector<int64_t> counts = {1000, 10000, 100000};
  if (const char* million = std::getenv("VEKTA_BENCH_MILLION"); million && std::string(million) == "1")
    counts.push_back(1000000);
  return counts;
}

void DocumentSizes(benchmark::internal::Benchmark* b)
{
  for (int64_t count : DocumentCounts())
    b->Arg(count);
}
