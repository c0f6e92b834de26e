#include "TPreferences.h"

#include "Defaults.h"
#include "StringTable.h"
#include "TClientModuleData.h"
#include "TFichierIni.h"
#include "TPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <string>
#include <utility>

namespace {

constexpr const char* kSectionPreferences = "Preferences";
constexpr const char* kKeyRepeat = "PrefObjetsSerie";
constexpr const char* kKeyFolder = "PrefRepertoireCourant";
constexpr const char* kKeyLanguage = "Langage";
constexpr const char* kSectionWindow = "MainWindow";
constexpr const char* kSectionRecent = "FichiersRecents";

} // namespace

TPreferences::TPreferences(std::string folder, std::string baseName)
    : m_folder(std::move(folder)), m_baseName(std::move(baseName))
{
}

std::string TPreferences::DefaultFolder()
{
  const QString beside = QCoreApplication::applicationDirPath();
  // An installed program (bin/ beside share/doc/vekta) keeps its settings
  // per user even where its folder happens to be writable (as root).
  const bool installed = QFileInfo::exists(QDir(beside).filePath(QStringLiteral("../share/doc/vekta")));
  if (!beside.isEmpty() && !installed && QFileInfo(beside).isWritable())
    return beside.toStdString();
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
}

std::string TPreferences::DefaultBaseName()
{
  const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return name.isEmpty() ? std::string("vekta") : name.toStdString();
}

std::string TPreferences::IniPath() const
{
  return m_folder + "/" + m_baseName + ".ini";
}

std::string TPreferences::DefaultsPath() const
{
  return m_folder + "/" + m_baseName + ".prf";
}

void TPreferences::Read()
{
  std::string folder = QDir::currentPath().toStdString();
  TFichierIni ini;
  if (ini.Read(IniPath().c_str())) {
    int32_t number = 0;
    if (ini.GetInt(kSectionPreferences, kKeyRepeat, number))
      TClientModuleData::RepeatAddObject() = number != 0;
    ini.GetString(kSectionPreferences, kKeyFolder, folder);
    ini.GetInt(kSectionPreferences, kKeyLanguage, m_language);
    ini.GetInt(kSectionWindow, "x", m_window.x);
    ini.GetInt(kSectionWindow, "y", m_window.y);
    ini.GetInt(kSectionWindow, "w", m_window.width);
    ini.GetInt(kSectionWindow, "h", m_window.height);
    for (int32_t i = 0; i < TRecentFiles::kCount; ++i) {
      std::string path;
      if (ini.GetString(kSectionRecent, std::to_string(i).c_str(), path))
        m_recentFiles.Set(i, path);
    }
  }
  // A folder that is gone leaves the current one as it is.
  if (!folder.empty())
    QDir::setCurrent(QString::fromStdString(folder));
  ReadDefaultsFile(DefaultsPath(), &DefaultPage());
}

bool TPreferences::Write(std::string* error) const
{
  std::string reasons;
  auto fail = [&reasons](const std::string& reason) {
    if (!reasons.empty())
      reasons += "\n";
    reasons += reason;
  };
  QDir().mkpath(QString::fromStdString(m_folder));

  TFichierIni ini;
  ini.SetInt(kSectionPreferences, kKeyRepeat, TClientModuleData::RepeatAddObject() ? 1 : 0);
  ini.SetString(kSectionPreferences, kKeyFolder, QDir::currentPath().toStdString().c_str());
  ini.SetInt(kSectionPreferences, kKeyLanguage, m_language);
  ini.SetInt(kSectionWindow, "x", m_window.x);
  ini.SetInt(kSectionWindow, "y", m_window.y);
  ini.SetInt(kSectionWindow, "w", m_window.width);
  ini.SetInt(kSectionWindow, "h", m_window.height);
  for (int32_t i = 0; i < TRecentFiles::kCount; ++i)
    ini.SetString(kSectionRecent, std::to_string(i).c_str(), m_recentFiles.At(i).c_str());
  std::string reason;
  if (!ini.Write(IniPath().c_str(), &reason))
    fail(reason);
  if (!WriteDefaultsFile(DefaultsPath(), &DefaultPage()))
    fail(FormatStr(IDS_PREFERENCES_PRF_NOT_SAVED, DefaultsPath().c_str()));
  if (error)
    *error = reasons;
  return reasons.empty();
}
