#pragma once

// What the fuzz targets share: a headless Qt process made once, a scratch
// file per process for readers that take a path, and the line mutator that
// knows how documents are built.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Readies the process once (libFuzzer's LLVMFuzzerInitialize, defined with
// it): the offscreen platform, the application object fonts and painters
// need, and the object factories.
void InitFuzzProcess();

// Writes data to this process's scratch file and answers its path.
const std::string& ScratchFile(std::string_view data, const char* extension);

// A mutation that keeps a document a document: numbers swapped for
// extremes, lines dropped, doubled or moved, records copied inside groups
// and symbols. Falls back to libFuzzer's own mutations now and then. Linked
// in (LineMutator.cpp) it is the fuzzer's LLVMFuzzerCustomMutator.
size_t MutateLines(uint8_t* data, size_t size, size_t maxSize, unsigned int seed);
