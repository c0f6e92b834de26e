#include "HeadlessProcess.h"

#include "TempFiles.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

void PrepareHeadlessProcess()
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  std::error_code error;
  SetTempFolder(std::filesystem::temp_directory_path(error).string());
}
