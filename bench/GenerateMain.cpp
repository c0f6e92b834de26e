// vekta-bench-doc: writes a generated benchmark document.
//
//   vekta-bench-doc [--simple | --kind mix|dense|plan|text] [--seed S] COUNT OUT.vk1
#include "DocumentFile.h"
#include "DocumentGenerator.h"
#include "HeadlessProcess.h"
#include "ImageFactories.h"
#include "ObjectFactories.h"
#include "TaClientPage.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage()
{
  std::fputs("usage: vekta-bench-doc [--simple | --kind mix|dense|plan|text] [--seed S] COUNT OUT.vk1\n",
             stderr);
  return 2;
}

} // namespace

int main(int argc, char** argv)
{
  PrepareHeadlessProcess();
  QGuiApplication app(argc, argv);
  RegisterObjectFactories();
  RegisterImageFactories();

  GeneratorOptions options;
  std::string out;
  bool haveCount = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--simple") {
      options.simpleOnly = true;
    } else if (arg == "--kind" && i + 1 < argc) {
      const std::string kind = argv[++i];
      if (kind == "mix")
        options.kind = GeneratorOptions::Kind::kMix;
      else if (kind == "dense")
        options.kind = GeneratorOptions::Kind::kDense;
      else if (kind == "plan")
        options.kind = GeneratorOptions::Kind::kPlan;
      else if (kind == "text")
        options.kind = GeneratorOptions::Kind::kText;
      else
        return Usage();
    } else if (arg == "--seed" && i + 1 < argc) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (!haveCount) {
      char* end = nullptr;
      const long count = std::strtol(arg.c_str(), &end, 10);
      if (*end != '\0' || count < 0 || count > 100000000)
        return Usage();
      options.count = static_cast<int32_t>(count);
      haveCount = true;
    } else if (out.empty()) {
      out = arg;
    } else {
      return Usage();
    }
  }
  if (!haveCount || out.empty())
    return Usage();

  TaClientPage client;
  GenerateDocument(client, options);
  client.SetFilePath(out);
  std::string reason;
  if (SaveDocument(client, false, false, &reason) != kDocumentDone) {
    std::fprintf(stderr, "vekta-bench-doc: %s: %s\n", out.c_str(), reason.c_str());
    return 1;
  }
  return 0;
}
