#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "StringIds.h"

// Every user-visible text is looked up here by its id. An unknown id gives
// an empty text (and HasString tells them apart).
const char* LoadStr(uint32_t id);
bool HasString(uint32_t id);
// printf-style formatting of a string resource.
std::string FormatStr(uint32_t id, ...);
// Ids that appear more than once in the table (a build mistake; tested).
std::vector<uint32_t> DuplicateStringIds();
