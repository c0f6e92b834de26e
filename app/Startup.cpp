#include "Startup.h"

#include "ImageFactories.h"
#include "LanguageSettings.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ObjectFactories.h"
#include "ProgramInfo.h"
#include "StringTable.h"
#include "TPreferences.h"
#include "TVueWidget.h"
#include "TaMainWindow.h"
#include "TempFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <string>

namespace {

// The smallest window the preferences may ask for.
constexpr int kMinimumSide = 200;

int Run()
{
  RegisterObjectFactories();
  RegisterImageFactories();
  ApplyResourceLanguage();
  // Recordings in progress (metafile export) live in the system's
  // temporary folder.
  SetTempFolder(QDir::tempPath().toStdString());
  // Made absolute now: the preferences change the current folder.
  const std::vector<std::string> documents = DocumentArguments(QCoreApplication::arguments());

  TPreferences preferences(TPreferences::DefaultFolder(), TPreferences::DefaultBaseName());
  preferences.Read();
  PlaceMainWindow(preferences);

  int result = 0;
  {
    TaMainWindow window(preferences);
    window.Widget()->show();
    for (const std::string& document : documents)
      window.OpenDocumentFile(document);
    result = QApplication::exec();
  }

  std::string error;
  if (!preferences.Write(&error))
    MessageBox(nullptr, LoadStr(IDS_PROGRAM_NAME), FormatStr(IDS_PREFERENCES_NOT_SAVED, error.c_str()),
               MB_OK_ | MB_ICONSTOP_);
  return result;
}

} // namespace

void PlaceMainWindow(TPreferences& preferences)
{
  TPreferences::WindowRect& place = preferences.Window();
  const QRect wanted(place.x, place.y, place.width, place.height);
  bool shown = false;
  for (const QScreen* screen : QGuiApplication::screens())
    shown = shown || screen->availableGeometry().intersects(wanted);
  if (shown && wanted.width() >= kMinimumSide && wanted.height() >= kMinimumSide)
    return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  place = {area.x(), area.y(), area.width(), area.height()};
}

std::vector<std::string> DocumentArguments(const QStringList& arguments)
{
  std::vector<std::string> documents;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (!arguments.at(i).startsWith(QLatin1Char('-')))
      documents.push_back(QFileInfo(arguments.at(i)).absoluteFilePath().toStdString());
  }
  return documents;
}

int RunProgram(int argc, char** argv)
{
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--version") {
      std::printf("%s %s\n", LoadStr(IDS_PROGRAM_NAME), ProgramVersion().c_str());
      return 0;
    }
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(LoadStr(IDS_PROGRAM_NAME)));
  // Ties the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vekta"));
  QApplication::setApplicationVersion(QString::fromStdString(ProgramVersion()));
  try {
    return Run();
  } catch (const std::exception& failure) {
    MessageBox(nullptr, LoadStr(IDS_INTERNAL_ERROR_TITLE), failure.what(), MB_OK_ | MB_ICONSTOP_);
    return 1;
  }
}
