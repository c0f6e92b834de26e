#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TUserInput;

// The system clipboard, read in one direction only: a bitmap or a metafile
// picture that another program left there can become the file of a new
// image. (Copy and paste of drawing objects never use it.)
class TClipboard
{
public:
  // What Formats reports.
  enum Format : uint32_t {
    kText = 1,
    kOemText = 2,
    kUnicodeText = 4,
    kBitmap = 8,
    kMetafile = 16,
    kEnhancedMetafile = 32,
  };
  // What AskClipboardImage answers besides the user's No (7) and Cancel (2).
  static constexpr int32_t kMadeFile = 6;
  // The size a metafile gets when nothing in it tells its size.
  static constexpr int16_t kDefaultMetafileSide = 200;

  TClipboard() = default;
  ~TClipboard();
  TClipboard(const TClipboard&) = delete;
  TClipboard& operator=(const TClipboard&) = delete;

  // False without a graphical session (the converter has none).
  bool Open();
  bool IsOpen() const { return m_open; }
  bool Empty();
  uint32_t Formats() const;
  // The bitmap as a PNG file; false when there is none or it cannot be
  // written (the file on disk then stays as it was).
  bool SaveBitmap(const std::string& path) const;
  // The metafile picture as a placeable metafile; false otherwise.
  bool SaveMetafile(const std::string& path) const;

  // The metafile bytes on the clipboard (with or without a placeable
  // header), empty when there are none.
  std::vector<uint8_t> MetafileBytes() const;
  // Gives a plain metafile a placeable header: its size from the first
  // window-extent record with both values positive, else kDefaultMetafile-
  // Side square. A metafile that has one is returned as it is; an empty
  // result for bytes that are no metafile.
  static std::vector<uint8_t> MakePlaceable(const std::vector<uint8_t>& metafile);

  // Offers the clipboard's picture when a new image's file is chosen: asks
  // whether to use it, lets the user save it (path receives the file) and
  // whether to empty the clipboard. kMadeFile when path holds a new file;
  // otherwise the first answer (No, Cancel) or 0 when there was nothing to
  // offer or the file was not made.
  static int32_t AskClipboardImage(TUserInput& input, std::string& path);

private:
  bool m_open = false;
};
