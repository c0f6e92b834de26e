#pragma once

#include <array>
#include <cstdint>
#include <memory>

// One colour of three 8-bit channels.
struct OctColour
{
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const OctColour&, const OctColour&) = default;
};

// One node of the colour tree. A node of level L sorts colours into its
// children by bit 7 - L of each channel, so the root splits on the most
// significant bits.
struct OctNode
{
  uint32_t level = 0;
  bool isLeaf = false;
  bool inReducibleList = false;
  uint32_t pixelCount = 0;
  // 64 bits: a leaf of one colour may hold every pixel of the largest image.
  uint64_t sumRed = 0;
  uint64_t sumGreen = 0;
  uint64_t sumBlue = 0;
  uint32_t paletteIndex = 0;
  uint32_t childCount = 0;
  std::array<std::unique_ptr<OctNode>, 8> children;
  // The reducible list of the node's level (not owning).
  OctNode* next = nullptr;
  OctNode* previous = nullptr;
};

// Reduces an image to at most maxColors colours with an octree: every
// pixel is sorted into the tree; whenever it holds more leaves than
// colours, the interior node of the deepest reducible level that holds the
// fewest pixels becomes a leaf of their average. The image is reached
// through the four operations a derived class gives; pixels are visited row
// by row, left to right.
class TOctree
{
public:
  TOctree();
  virtual ~TOctree();
  TOctree(const TOctree&) = delete;
  TOctree& operator=(const TOctree&) = delete;

  // maxColors is clamped to 2..256. False when an operation fails; the
  // pixel indices are then written as far as the mapping got.
  bool Quantize(int32_t maxColors = 256, bool measureError = false);

  int32_t ColorCount() const { return m_colorCount; }
  const OctColour* PaletteColors() const { return m_paletteColors.get(); }

protected:
  virtual bool GetSize(int32_t& width, int32_t& height) = 0;
  virtual bool GetPixel(int32_t x, int32_t y, OctColour& colour) = 0;
  virtual bool SetPixelIndex(int32_t x, int32_t y, uint8_t index) = 0;
  virtual bool SetPalette(const OctColour* colours, int32_t count) = 0;

private:
  std::unique_ptr<OctNode> MakeNode(uint32_t level);
  void Insert(const OctColour& colour);
  void ReduceOnce();
  void Link(OctNode* node);
  void Unlink(OctNode* node);
  // Deletes node's subtree below it, unlinking and counting what goes.
  void DeleteChildren(OctNode& node);
  void AssignPalette(OctNode& node);
  uint32_t IndexOf(const OctColour& colour) const;
  void DeleteTree();

  int32_t m_leafLevel = 8;
  int32_t m_leafCount = 0;
  std::array<OctNode*, 8> m_reducible{};
  int32_t m_height = 0;
  int32_t m_width = 0;
  int32_t m_maxColors = 256;
  int32_t m_colorCount = 0;
  // Error statistics of a reduction; kept for callers that measure it.
  double m_errorSum = 0;
  double m_errorMax = 0;
  std::unique_ptr<OctNode> m_root;
  std::unique_ptr<OctColour[]> m_paletteColors;
};
