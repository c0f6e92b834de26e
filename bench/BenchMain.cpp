// vekta-bench: the micro-benchmarks of large documents (README.md tells how
// to run them and what they measure).
#include "HeadlessProcess.h"
#include "ImageFactories.h"
#include "ObjectFactories.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 2;
  PrepareHeadlessProcess();
  // Fonts and painters need the application object.
  QGuiApplication app(argc, argv);
  RegisterObjectFactories();
  RegisterImageFactories();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
