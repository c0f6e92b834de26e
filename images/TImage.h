#pragma once

#include "TData.h"

#include <cstdint>
#include <string>

class TImageBuffer;

// A picture on the page: the path of a picture file and how to show it.
// The pixels live in a TImageBuffer shared through the process-wide cache
// by every image that shows the same file, so the object itself stays small
// and the file is read once. A picture that cannot be found or read is
// shown as its frame with "???"; the path is kept and written back as it
// was, so nothing is lost when the file comes back.
class TImage : public TData
{
public:
  static constexpr int32_t kVersion = 1;

  enum Flags : uint16_t {
    kSizingMask = 3,
    kResetSourceOnRelease = 4,
    kTransparent = 8, // white pixels let what is below show through
    kViewerCopy = 16, // lives in the picture viewer
    kKeepFrame = 32,  // proportional mode leaves the frame as it is
  };
  enum Sizing : int32_t { kNatural = 0, kStretched = 1, kProportional = 2, kNoPicture = 3 };
  // The error word of a string resource (the low 16 bits) in lastError.
  static constexpr int32_t kStringError = 0x20000000;
  static constexpr const char* kPlaceholder = "???";

  TImage();
  TImage(int32_t x, int32_t y, int32_t width, int32_t height);
  ~TImage() override;
  TImage(const TImage&) = delete;
  TImage& operator=(const TImage&) = delete;

  // Without a client a default object (for readers); with one the user
  // places and sizes the frame, then chooses the picture.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool Resize(int32_t dx, int32_t dy) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;

  // Shows the picture of path: the cached buffer of that file, or the file
  // read now. Looks next to the document when the path itself is gone.
  // False (lastError says why) when no picture could be shown.
  bool Load(const std::string& path);
  // Lets go of the picture (the path stays).
  void ReleaseBuffer();
  bool SetSizingMode(int32_t mode);
  // Shows the whole picture again.
  void ResetSource();
  // Moves (CM_OBJ_POSITION_IN_IMAGE) or sizes (CM_OBJ_SIZE_IN_IMAGE) the
  // part of the picture shown, along the dominant axis of (dx, dy); true
  // when it changed.
  bool MoveSource(uint32_t which, int32_t dx, int32_t dy);

  const std::string& GetFileName() const { return fileName; }
  void SetFileName(std::string name) { fileName = std::move(name); }
  uint16_t GetFlags() const { return imageFlags; }
  void SetFlags(uint16_t flags) { imageFlags = flags; }
  int32_t GetSizingMode() const { return imageFlags & kSizingMask; }
  bool HasPicture() const { return buffer != nullptr; }
  bool IsMetafile() const;
  const TImageBuffer* GetBuffer() const { return buffer; }
  int32_t GetImageWidth() const { return imageWidth; }
  int32_t GetImageHeight() const { return imageHeight; }
  int32_t GetBitsPerPixel() const { return bitsPerPixel; }
  TRect GetSource() const { return TRect(srcX, srcY, srcX + srcW, srcY + srcH); }
  void SetSource(int32_t x, int32_t y, int32_t w, int32_t h);
  // The text of the "Informations" box, and of lastError alone.
  std::string InfoText() const;
  std::string LastErrorText() const;

private:
  // Clamps the source rectangle to the picture and, in proportional mode,
  // gives the frame the source's aspect ratio (its height or its width
  // following).
  void Normalize(bool heightFollows);
  bool TakeBuffer(TImageBuffer* shared);
  void PaintPicture(TPage* page, uint8_t mode);
  bool ChangeFile(TDataOwner* client);
  void ShowInformations(TDataOwner* client) const;

  uint16_t imageFlags = 2;
  std::string fileName;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  int32_t bitsPerPixel = 24;
  int32_t srcX = 0;
  int32_t srcY = 0;
  int32_t srcW = 0;
  int32_t srcH = 0;
  TImageBuffer* buffer = nullptr; // one reference held while set
};
