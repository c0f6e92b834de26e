#pragma once

#include "TRecentFiles.h"

#include <cstdint>
#include <string>

// The user's preferences, kept between runs in two files of one folder,
// both named after the program: the ini file ("Preferences": "Repeat Add
// Object", the current folder and the language; "MainWindow": the window's
// place; "FichiersRecents": the recent files) and the defaults file
// (".prf": the default pen, font with its text colour, page and brush).
//
// "Repeat Add Object" itself is the program-wide flag of the data module;
// the preferences only read and write it.
class TPreferences
{
public:
  struct WindowRect
  {
    int32_t x = 0, y = 0, width = 0, height = 0;
  };

  // folder: where the two files are; baseName: their name without the
  // extension.
  TPreferences(std::string folder, std::string baseName);

  // Beside the executable when that folder is writable and no installed
  // layout (bin/ beside share/doc/vekta) surrounds it, a portable copy;
  // otherwise the user's configuration folder.
  static std::string DefaultFolder();
  // The executable's name without its extension.
  static std::string DefaultBaseName();

  std::string IniPath() const;
  std::string DefaultsPath() const;

  // Reads both files into the preferences and the program-wide defaults,
  // then makes the stored folder the current one. A missing or unreadable
  // file, or a missing entry, keeps what was there before.
  void Read();
  // Writes both files, each replaced only when written completely (the
  // current folder is the process's at that moment). False when either
  // could not be written, with the reasons in error (may be null).
  bool Write(std::string* error) const;

  WindowRect& Window() { return m_window; }
  const WindowRect& Window() const { return m_window; }
  TRecentFiles& RecentFiles() { return m_recentFiles; }
  const TRecentFiles& RecentFiles() const { return m_recentFiles; }
  int32_t Language() const { return m_language; }

private:
  std::string m_folder;
  std::string m_baseName;
  WindowRect m_window;
  TRecentFiles m_recentFiles;
  int32_t m_language = 1;
};
