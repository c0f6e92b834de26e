#pragma once

#include "TPage.h"

#include <cstdio>
#include <memory>
#include <string>

class TMetaFileDevice;

// A page recorded as a placeable Windows metafile. The drawing goes into a
// temporary file as it is made; Close puts the placeable header in front
// and writes the whole over the destination in one step, so an earlier
// file of that name stays whole until the new one is complete.
class TMetaFile : public TPage
{
public:
  // The picture spans (0, 0)-(width, height) logical units, which is the
  // metafile's window. Without a temporary file there is no device: the
  // page draws nothing and Close fails.
  TMetaFile(const std::string& path, int32_t width, int32_t height);
  ~TMetaFile() override;
  TMetaFile(const TMetaFile&) = delete;
  TMetaFile& operator=(const TMetaFile&) = delete;

  bool HasDevice() const { return m_recorder != nullptr; }

  // Ends the recording and writes the file: with placeable, the 22-byte
  // header declaring the page's units per inch first. False when there is
  // no device or a write failed (Error() then says why, when the file is to
  // blame); the temporary file is removed either way.
  bool Close(bool placeable = true);
  const std::string& Error() const { return m_error; }

private:
  struct FileCloser
  {
    void operator()(FILE* file) const { std::fclose(file); }
  };

  std::string fileName;
  std::string tempName;
  std::unique_ptr<FILE, FileCloser> m_temp;
  TMetaFileDevice* m_recorder = nullptr; // owned by the page while bound
  int32_t m_scale = 1;
  std::string m_error;
};
