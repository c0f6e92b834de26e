#include "TOctree.h"

#include <algorithm>

namespace {

uint32_t ChildIndex(const OctColour& colour, uint32_t level)
{
  const uint32_t shift = 7 - level;
  return ((colour.red >> shift) & 1u) << 2 | ((colour.green >> shift) & 1u) << 1 |
         ((colour.blue >> shift) & 1u);
}

} // namespace

TOctree::TOctree() : m_paletteColors(std::make_unique<OctColour[]>(256)) {}

TOctree::~TOctree()
{
  DeleteTree();
}

std::unique_ptr<OctNode> TOctree::MakeNode(uint32_t level)
{
  auto node = std::make_unique<OctNode>();
  node->level = level;
  if (static_cast<int32_t>(level) >= m_leafLevel) {
    node->isLeaf = true;
    ++m_leafCount;
  }
  return node;
}

void TOctree::Link(OctNode* node)
{
  OctNode*& head = m_reducible[node->level];
  node->previous = nullptr;
  node->next = head;
  if (head)
    head->previous = node;
  head = node;
  node->inReducibleList = true;
}

void TOctree::Unlink(OctNode* node)
{
  if (!node->inReducibleList)
    return;
  if (node->previous)
    node->previous->next = node->next;
  else
    m_reducible[node->level] = node->next;
  if (node->next)
    node->next->previous = node->previous;
  node->next = node->previous = nullptr;
  node->inReducibleList = false;
}

void TOctree::DeleteChildren(OctNode& node)
{
  for (std::unique_ptr<OctNode>& child : node.children) {
    if (!child)
      continue;
    DeleteChildren(*child);
    // A deeper list may still hold the child; no later reduction reads it,
    // but it must not point at freed memory.
    Unlink(child.get());
    if (child->isLeaf)
      --m_leafCount;
    child.reset();
  }
  node.childCount = 0;
}

void TOctree::DeleteTree()
{
  if (m_root) {
    DeleteChildren(*m_root);
    Unlink(m_root.get());
    m_root.reset();
  }
  m_reducible.fill(nullptr);
  m_leafCount = 0;
}

void TOctree::Insert(const OctColour& colour)
{
  OctNode* node = m_root.get();
  for (;;) {
    node->sumRed += colour.red;
    node->sumGreen += colour.green;
    node->sumBlue += colour.blue;
    ++node->pixelCount;
    if (node->isLeaf || static_cast<int32_t>(node->level) >= m_leafLevel)
      return;
    std::unique_ptr<OctNode>& child = node->children[ChildIndex(colour, node->level)];
    if (!child) {
      child = MakeNode(node->level + 1);
      ++node->childCount;
      if (node->childCount > 1 && !node->inReducibleList)
        Link(node);
    }
    node = child.get();
  }
}

void TOctree::ReduceOnce()
{
  int32_t level = m_leafLevel - 1;
  while (level >= 0 && !m_reducible[static_cast<size_t>(level)])
    --level;
  if (level < 0)
    return;
  // The fewest pixels; on a tie the first in the list, which became
  // reducible last.
  OctNode* chosen = m_reducible[static_cast<size_t>(level)];
  for (OctNode* node = chosen->next; node; node = node->next)
    if (node->pixelCount < chosen->pixelCount)
      chosen = node;
  Unlink(chosen);
  DeleteChildren(*chosen);
  chosen->isLeaf = true;
  ++m_leafCount;
  if (static_cast<int32_t>(chosen->level) < m_leafLevel - 1)
    m_leafLevel = static_cast<int32_t>(chosen->level) + 1;
}

void TOctree::AssignPalette(OctNode& node)
{
  if (node.isLeaf || static_cast<int32_t>(node.level) == m_leafLevel) {
    // More entries than the palette holds cannot arise from the reduction
    // rule; should they, the last entry takes them.
    if (m_colorCount < 256 && node.pixelCount > 0) {
      m_paletteColors[static_cast<size_t>(m_colorCount)] = {
          static_cast<uint8_t>(node.sumRed / node.pixelCount),
          static_cast<uint8_t>(node.sumGreen / node.pixelCount),
          static_cast<uint8_t>(node.sumBlue / node.pixelCount)};
      node.paletteIndex = static_cast<uint32_t>(m_colorCount++);
    } else {
      node.paletteIndex = static_cast<uint32_t>(std::max(m_colorCount - 1, 0));
    }
    return;
  }
  for (std::unique_ptr<OctNode>& child : node.children)
    if (child)
      AssignPalette(*child);
}

uint32_t TOctree::IndexOf(const OctColour& colour) const
{
  const OctNode* node = m_root.get();
  while (!node->isLeaf && static_cast<int32_t>(node->level) != m_leafLevel) {
    const OctNode* child = node->children[ChildIndex(colour, node->level)].get();
    if (!child)
      return 0; // every colour mapped was sorted in, so its path exists
    node = child;
  }
  return node->paletteIndex;
}

bool TOctree::Quantize(int32_t maxColors, bool measureError)
{
  m_errorSum = m_errorMax = 0;
  m_maxColors = std::clamp(maxColors, 2, 256);
  m_colorCount = 0;
  std::fill_n(m_paletteColors.get(), 256, OctColour{});
  DeleteTree();
  m_leafLevel = 8;
  if (!GetSize(m_width, m_height))
    return false;

  m_root = MakeNode(0);
  OctColour colour;
  for (int32_t y = 0; y < m_height; ++y) {
    for (int32_t x = 0; x < m_width; ++x) {
      if (!GetPixel(x, y, colour)) {
        DeleteTree();
        return false;
      }
      Insert(colour);
      if (m_leafCount > m_maxColors)
        ReduceOnce();
    }
  }

  AssignPalette(*m_root);
  if (!SetPalette(m_paletteColors.get(), m_colorCount)) {
    DeleteTree();
    return false;
  }
  bool ok = true;
  for (int32_t y = 0; y < m_height && ok; ++y) {
    for (int32_t x = 0; x < m_width && ok; ++x) {
      ok = GetPixel(x, y, colour);
      if (!ok)
        break;
      const uint32_t index = IndexOf(colour);
      if (measureError) {
        const OctColour& got = m_paletteColors[index];
        const double dr = got.red - colour.red, dg = got.green - colour.green, db = got.blue - colour.blue;
        const double error = dr * dr + dg * dg + db * db;
        m_errorSum += error;
        m_errorMax = std::max(m_errorMax, error);
      }
      ok = SetPixelIndex(x, y, static_cast<uint8_t>(index));
    }
  }
  DeleteTree();
  return ok;
}
