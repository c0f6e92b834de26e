#pragma once

#include <QStringList>

#include <string>
#include <vector>

class TPreferences;

// The program from start to end: the class table, the language, the default
// page, the preferences, the main window at its place (opening each document
// named on the command line in a tab of its own), the message loop, and the
// preferences written back. Answers the exit code; "--version" only prints
// the version, without a display.
int RunProgram(int argc, char** argv);

// The documents named on a command line (arguments, the program's name
// first): every argument that does not start with "-", made absolute
// against the folder the program was started in.
std::vector<std::string> DocumentArguments(const QStringList& arguments);

// The main window's place when the preferences give none that a screen
// shows: the desktop's work area.
void PlaceMainWindow(TPreferences& preferences);
