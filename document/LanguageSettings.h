#pragma once

// Applies the program's user-interface language (string resource 1): with
// "en_US" the date and time names are English and numbers are written with
// a "." separator; otherwise the names are French and the separator stays
// ",". Called once at start-up by every program that shows or writes
// formatted numbers, so that the program and its tools agree.
void ApplyResourceLanguage();
