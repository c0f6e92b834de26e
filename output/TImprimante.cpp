#include "TImprimante.h"

#include "Geometry.h"
#include "PageBinding.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// The longest job name kept.
constexpr size_t kMaxDocName = 31;

} // namespace

TImprimante::TImprimante()
{
  SetUseResolution(1);
}

TImprimante::~TImprimante()
{
  AbortDoc();
}

TImprimante& TImprimante::Printer()
{
  static TImprimante printer;
  return printer;
}

void TImprimante::SetDevice(QPagedPaintDevice* device)
{
  if (device != m_device)
    AbortDoc();
  m_device = device;
  if (m_device)
    BindDevice();
}

void TImprimante::BindDevice()
{
  const int32_t ppiX = std::max(1, m_device->logicalDpiX());
  const int32_t ppiY = std::max(1, m_device->logicalDpiY());
  int32_t width = m_device->width() * 100 / ppiX;
  int32_t height = m_device->height() * 100 / ppiY;
  if (GetUnitsPerInch() != 100) {
    width = MulDivRound(width, GetUnitsPerInch(), 100);
    height = MulDivRound(height, GetUnitsPerInch(), 100);
  }
  SetPixelsPerInch(ppiX, ppiY);
  SetPaperSize(width, height);
  SetViewSize(width, height);
  if (m_painter && m_painter->isActive())
    BindPage(*this, m_painter.get(), kPrinter);
}

bool TImprimante::StartDoc(const std::string& name)
{
  if (!m_device)
    return false;
  AbortDoc();
  docName = name.substr(0, kMaxDocName);
  m_docStarted = true;
  m_sheets = 0;
  return true;
}

bool TImprimante::StartPage()
{
  if (!m_docStarted)
    return false;
  if (m_sheets == 0) {
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_device))
      return false;
  } else if (!m_device->newPage()) {
    return false;
  }
  ++m_sheets;
  // A sheet starts with the device's state anew.
  BindDevice();
  return true;
}

bool TImprimante::EndPage()
{
  Release();
  return m_painter && m_painter->isActive();
}

bool TImprimante::EndDoc()
{
  Release();
  const bool ok = m_docStarted && m_painter && m_painter->isActive() && m_painter->end();
  m_painter.reset();
  m_docStarted = false;
  return ok;
}

void TImprimante::AbortDoc()
{
  Release();
  if (m_painter && m_painter->isActive())
    m_painter->end();
  m_painter.reset();
  m_docStarted = false;
}
