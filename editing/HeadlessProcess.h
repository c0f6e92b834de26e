#pragma once

// Readies a program that draws without a screen (the converter, the
// benchmarks) before it makes its QGuiApplication: the offscreen platform
// unless the caller chose another, and only Qt's critical and fatal messages
// on stderr, so that platform notes do not mix with the program's own output;
// temporary files in the system's temporary folder.
void PrepareHeadlessProcess();
