// The ini reader behind the preferences, and the defaults file (".prf")
// read through it.

#include "FuzzSupport.h"

#include "Defaults.h"
#include "TFichierIni.h"
#include "TPage.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TFichierIni ini;
  ini.Parse(text);
  ini.Format();
  const std::string& path = ScratchFile(text, ".prf");
  TPage page;
  ReadDefaultsFile(path, &page);
  return 0;
}
