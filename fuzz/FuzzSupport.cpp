#include "FuzzSupport.h"

#include "HeadlessProcess.h"
#include "ImageFactories.h"
#include "ObjectFactories.h"
#include "TestSupport.h"

#include <QGuiApplication>

#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  InitFuzzProcess();
  return 0;
}

void InitFuzzProcess()
{
  static bool ready = false;
  if (ready)
    return;
  ready = true;
  PrepareHeadlessProcess();
  static int argc = 1;
  static char name[] = "vekta-fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
  RegisterObjectFactories();
  RegisterImageFactories();
}

const std::string& ScratchFile(std::string_view data, const char* extension)
{
  static const std::string folder = [] {
    char pattern[] = "/tmp/vekta-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  static std::string path;
  path = folder + "/input" + extension;
  WriteWholeFile(path, std::string(data));
  return path;
}
