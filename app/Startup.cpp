#include "Startup.h"

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

#include <exception>
#include <string>

namespace {

// The smallest window the preferences may ask for.
constexpr int kMinimumSide = 200;

// The document named on the command line, made absolute against the folder
// the program was started in (the preferences change the current folder).
std::string DocumentArgument()
{
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 2 || arguments.at(1).startsWith(QLatin1Char('-')))
    return {};
  return QFileInfo(arguments.at(1)).absoluteFilePath().toStdString();
}

int Run()
{
  RegisterObjectFactories();
  ApplyResourceLanguage();
  // Recordings in progress (metafile export) live in the system's
  // temporary folder.
  SetTempFolder(QDir::tempPath().toStdString());
  const std::string document = DocumentArgument();

  TPreferences preferences(TPreferences::DefaultFolder(), TPreferences::DefaultBaseName());
  preferences.Read();
  PlaceMainWindow(preferences);

  int result = 0;
  {
    TaMainWindow window(preferences);
    window.Widget()->show();
    if (!document.empty())
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

int RunProgram(int argc, char** argv)
{
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(LoadStr(IDS_PROGRAM_NAME)));
  QApplication::setApplicationVersion(QString::fromStdString(ProgramVersion()));
  try {
    return Run();
  } catch (const std::exception& failure) {
    MessageBox(nullptr, LoadStr(IDS_INTERNAL_ERROR_TITLE), failure.what(), MB_OK_ | MB_ICONSTOP_);
    return 1;
  }
}
