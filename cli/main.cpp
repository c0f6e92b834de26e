// vekta-cli: reads, rewrites and exports Vekta documents without a display.
//
// Every failure prints one line on stderr and ends with a nonzero status;
// outputs are written whole through a temporary file or not at all.
#include "DocumentFile.h"
#include "DocumentInfo.h"
#include "HeadlessProcess.h"
#include "ImageFactories.h"
#include "LanguageSettings.h"
#include "ObjectFactories.h"
#include "SheetExport.h"
#include "StringTable.h"
#include "TaClientPage.h"

#include <QGuiApplication>
#include <QJsonDocument>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

enum ExitStatus : int { kSuccess = 0, kFailure = 1, kUsage = 2 };

int Error(const std::string& message, int status = kFailure)
{
  std::fprintf(stderr, "%s\n", FormatStr(IDS_CLI_ERROR, message.c_str()).c_str());
  return status;
}

// A whole number within [low, high]; false for anything else.
bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value)
{
  if (text.empty())
    return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < low || parsed > high)
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

// Loads path into client; on failure prints why and answers false.
bool Load(TaClientPage& client, const std::string& path, int32_t& fileVersion)
{
  LoadReport report;
  // The view has no user: every question gets its safe answer, so an
  // unrecognised or newer file is refused rather than half understood.
  LoadDocument(client, path.c_str(), &report);
  fileVersion = report.fileVersion;
  switch (report.outcome) {
  case LoadReport::Outcome::kLoaded:
    if (report.damaged) {
      Error(FormatStr(IDS_CLI_DAMAGED, path.c_str(), report.objectsRead));
      return false;
    }
    return true;
  case LoadReport::Outcome::kUnreadable:
    Error(FormatStr(IDS_CLI_UNREADABLE, path.c_str(), report.reason.c_str()));
    return false;
  case LoadReport::Outcome::kRefused:
    if (report.fileVersion == 0)
      Error(FormatStr(IDS_CLI_NOT_DOCUMENT, path.c_str()));
    else
      Error(FormatStr(IDS_CLI_NEWER_VERSION, path.c_str(), report.fileVersion));
    return false;
  default:
    Error(FormatStr(IDS_CLI_NOT_LOADED, path.c_str()));
    return false;
  }
}

int Info(const std::vector<std::string>& args)
{
  if (args.size() != 1)
    return Error(FormatStr(IDS_CLI_WRONG_ARGUMENTS, "info"), kUsage);
  TaClientPage client;
  int32_t version = 0;
  if (!Load(client, args[0], version))
    return kFailure;
  const QByteArray json = QJsonDocument(DocumentInfo(client, version)).toJson(QJsonDocument::Indented);
  std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
  return std::fflush(stdout) == 0 ? kSuccess : kFailure;
}

int Resave(const std::vector<std::string>& args)
{
  if (args.size() != 2)
    return Error(FormatStr(IDS_CLI_WRONG_ARGUMENTS, "resave"), kUsage);
  TaClientPage client;
  int32_t version = 0;
  if (!Load(client, args[0], version))
    return kFailure;
  client.SetFilePath(args[1]);
  std::string reason;
  if (SaveDocument(client, false, false, &reason) != kDocumentDone)
    return Error(reason);
  return kSuccess;
}

int Export(const std::vector<std::string>& args)
{
  std::vector<std::string> files;
  int32_t zoom = 100;
  int32_t quality = kDefaultJpegQuality;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--zoom" || arg == "--quality") {
      const bool isZoom = arg == "--zoom";
      const int32_t low = isZoom ? 1 : 0;
      const int32_t high = isZoom ? 1000 : 100;
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], low, high, isZoom ? zoom : quality))
        return Error(FormatStr(IDS_CLI_BAD_NUMBER, arg.c_str(), low, high), kUsage);
      ++i;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Error(FormatStr(IDS_CLI_WRONG_ARGUMENTS, "export"), kUsage);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2)
    return Error(FormatStr(IDS_CLI_WRONG_ARGUMENTS, "export"), kUsage);
  // The type is checked before the document is read.
  if (!IsSheetExportType(files[1])) {
    const std::string extension = std::filesystem::path(files[1]).extension().string();
    return Error(FormatStr(IDS_EXPORT_UNKNOWN_TYPE, extension.c_str()), kUsage);
  }
  TaClientPage client;
  int32_t version = 0;
  if (!Load(client, files[0], version))
    return kFailure;
  std::string reason, warning;
  if (!ExportSheet(client, files[1], zoom, quality, &reason, &warning))
    return Error(reason);
  if (!warning.empty())
    Error(warning);
  return kSuccess;
}

} // namespace

int main(int argc, char** argv)
{
  PrepareHeadlessProcess();
  // Fonts, images and painters need the application object.
  QGuiApplication app(argc, argv);
  RegisterObjectFactories();
  RegisterImageFactories();
  ApplyResourceLanguage();

  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty())
    return Error(LoadStr(IDS_CLI_NO_COMMAND), kUsage);
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(LoadStr(IDS_CLI_USAGE), stdout);
    return kSuccess;
  }
  if (command == "--version") {
    std::printf("vekta-cli %s\n", VEKTA_VERSION);
    return kSuccess;
  }
  if (command == "info")
    return Info(args);
  if (command == "resave")
    return Resave(args);
  if (command == "export")
    return Export(args);
  return Error(FormatStr(IDS_CLI_UNKNOWN_COMMAND, command.c_str()), kUsage);
}
