#pragma once

#include "TImageBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The picture readers. Each takes a whole file already in memory and makes
// a complete buffer, or nothing and the reason (a string id): a file that
// fails never leaves a half-made buffer behind. Every size, depth, offset
// and length is checked against the file before memory is allocated or
// written, so any input is safe.
struct ImageReadResult
{
  std::unique_ptr<TImageBuffer> buffer; // null when the file was refused
  uint32_t error = 0;                   // string id of the reason when refused
};

enum class PictureKind { kUnknown, kBmp, kPcx, kJpeg, kPng, kGif, kWmf };

// The reader a file name asks for, by its extension (any case): .bmp, .pcx,
// .jpg and .jpe, .png, .gif, .wmf.
PictureKind KindOfPath(const std::string& path);

ImageReadResult ReadBmp(const uint8_t* data, size_t size);
ImageReadResult ReadPcx(const uint8_t* data, size_t size);
ImageReadResult ReadJpeg(const uint8_t* data, size_t size);
ImageReadResult ReadPng(const uint8_t* data, size_t size);
ImageReadResult ReadGif(const uint8_t* data, size_t size);
// A placeable metafile: the 22-byte header, then the metafile itself.
ImageReadResult ReadWmf(const uint8_t* data, size_t size);

// Whether path names a regular file (links followed): only those are
// read, as a pipe or a device named like a picture could block the reader
// or never end.
bool IsPictureFile(const std::string& path);

// Reads the file and runs the reader of that kind; the buffer is named
// after path. A file larger than any picture the readers accept is refused
// unread.
ImageReadResult ReadPictureFile(const std::string& path, PictureKind kind);
