// A whole document file: read it as the program opens it, draw it small,
// write it as SVG (which must be well-formed XML, whatever the document
// holds), write it back. Nothing may crash, leak, take unbounded work or act
// undefined.

#include "FuzzSupport.h"

#include "DocumentFile.h"
#include "SheetExport.h"
#include "TOutStream.h"
#include "TPageMem.h"
#include "TaClientPage.h"

#include <QXmlStreamReader>

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string& path = ScratchFile(std::string_view(reinterpret_cast<const char*>(data), size), ".vk1");
  TaClientPage client;
  LoadReport report;
  if (LoadDocument(client, path.c_str(), &report) != 1)
    return 0;
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    client.ObjectAtIndex(i)->GetLayers();
  TPageMem image(client.GetPage()->GetPaperWidth(), client.GetPage()->GetPaperHeight(), 5);
  if (image.HasBitmap())
    RenderSheet(client, image);
  std::string svg;
  bool complete = true;
  if (RenderSvgSheet(client, "fuzz", svg, complete)) {
    QXmlStreamReader reader(QByteArray::fromStdString(svg));
    while (!reader.atEnd())
      reader.readNext();
    if (reader.hasError())
      std::abort();
  }
  TOutStream os;
  client.GetSymbolModule().WriteSymbolSection(os);
  WriteObjectList(client, os);
  return 0;
}
