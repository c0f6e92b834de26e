#pragma once

#include "TPage.h"

#include <memory>
#include <string>

class QPagedPaintDevice;
class QPainter;

// The printer as a page: its paper is the device's printable area in
// logical units of 1/unitsPerInch inch, and its mapping uses the units per
// inch (useResolution), so a page prints at its true size. The process has
// one; the device comes from the front end (a printer, or a PDF file when
// no printer is installed) and stays the front end's.
class TImprimante : public TPage
{
public:
  TImprimante();
  ~TImprimante() override;
  TImprimante(const TImprimante&) = delete;
  TImprimante& operator=(const TImprimante&) = delete;

  static TImprimante& Printer();

  // Takes device as the printer and reads its paper (null forgets it).
  void SetDevice(QPagedPaintDevice* device);
  QPagedPaintDevice* GetDevice() const { return m_device; }

  // A job: StartDoc, then StartPage / EndPage for each sheet, then EndDoc,
  // or AbortDoc at any point. The page is bound to the sheet between
  // StartPage and EndPage only.
  bool StartDoc(const std::string& name);
  bool StartPage();
  bool EndPage();
  bool EndDoc();
  void AbortDoc();
  const std::string& DocName() const { return docName; }

private:
  // Pixels per inch and paper from the device; binds the page to the sheet
  // when one is open.
  void BindDevice();

  QPagedPaintDevice* m_device = nullptr;
  std::unique_ptr<QPainter> m_painter;
  bool m_docStarted = false;
  int32_t m_sheets = 0;
  std::string docName;
};
