// vekta-bench: the micro-benchmarks of large documents (README.md tells how
// to run them and what they measure).
#include "ObjectFactories.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 2;
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  // Fonts and painters need the application object.
  QGuiApplication app(argc, argv);
  RegisterObjectFactories();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
