#pragma once

#include <string>

// Temporary files of the process: "T<counter>.$$$" in one folder. The
// counter runs from 1 to 99998 and wraps, going on from where the last name
// was made; the first name not taken is created empty and handed out.

// Sets the folder (created when missing); an empty path clears it, and
// names are then made in the current folder. False for a path of 255
// characters or more or a folder that cannot be made.
bool SetTempFolder(const std::string& path);
const std::string& TempFolder();

// A new empty temporary file's name; empty when none could be made.
std::string MakeTempName();

// Removes a temporary file; names that do not end in ".$$$" are never
// touched.
bool RemoveTempFile(const std::string& path);
