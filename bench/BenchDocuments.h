#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

class TaClientPage;

// Generated documents shared by the benchmarks: each size is built once per
// run and kept, and written once to a temporary file for the loading
// benchmarks (the files go when the run ends).

// The view holding the generated document of count mixed objects, read
// from its file.
TaClientPage& BenchDocument(int32_t count);
// The path of that document as a file; simpleOnly holds only lines,
// rectangles and circles.
const std::string& BenchDocumentFile(int32_t count, bool simpleOnly = false);
// A path in the run's temporary folder.
std::string BenchTempPath(const std::string& name);

// The document sizes the benchmarks run at: 1 000, 10 000 and 100 000
// objects, and 1 000 000 too when VEKTA_BENCH_MILLION=1.
std::vector<int64_t> DocumentCounts();
// One run per document size.
void DocumentSizes(benchmark::internal::Benchmark* b);
