#pragma once

class TPreferences;

// The program from start to end: the class table, the language, the default
// page, the preferences, the main window at its place (opening the document
// named by a first argument that does not start with "-"), the message loop,
// and the preferences written back. Answers the exit code.
int RunProgram(int argc, char** argv);

// The main window's place when the preferences give none that a screen
// shows: the desktop's work area.
void PlaceMainWindow(TPreferences& preferences);
