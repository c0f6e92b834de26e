#pragma once

#include <QJsonObject>

#include <cstdint>

class TaClientPage;

// What `vekta-cli info` prints about a loaded document: its file version,
// paper, layers, objects (a count per class) and symbol definitions.
QJsonObject DocumentInfo(const TaClientPage& client, int32_t fileVersion);
