#include "DocumentInfo.h"

#include "ClassTable.h"
#include "ImageFactories.h"
#include "TDataGroupSymbol.h"
#include "TImage.h"
#include "TOutStream.h"
#include "TaClientPage.h"

#include <QJsonArray>
#include <QString>

namespace {

// The unit factor as the document file shows it (a float written with six
// significant digits), so 0.01 reads 0.01 and not its binary neighbour.
double StoredFactor(float factor)
{
  TOutStream os;
  os << factor;
  return QString::fromStdString(os.Data()).toDouble();
}

} // namespace

QJsonObject DocumentInfo(const TaClientPage& client, int32_t fileVersion)
{
  const TPage& page = *client.GetPage();
  QJsonObject paper;
  paper["width"] = page.GetPaperWidth();
  paper["height"] = page.GetPaperHeight();
  paper["unitsPerInch"] = page.GetUnitsPerInch();
  paper["unitFactor"] = StoredFactor(page.GetUnitFactor());
  paper["decimals"] = page.GetDecimals();
  paper["numberFormat"] = page.GetNumberFormat();

  const TClientModuleLayer& layerModule = client.GetLayerModule();
  QJsonArray names;
  for (int32_t i = 0; i < TClientModuleLayer::kLayerCount; ++i)
    names.append(QString::fromUtf8(layerModule.GetName(i)));
  QJsonObject layers;
  layers["visible"] = layerModule.GetVisible();
  layers["active"] = layerModule.GetActive();
  layers["protected"] = layerModule.GetProtected();
  layers["names"] = names;

  QJsonObject objects;
  for (int32_t i = 0; i < client.ObjectCount(); ++i) {
    const char* name = GetClassName(client.ObjectAtIndex(i)->ClassId());
    const QString key = QString::fromLatin1(name ? name : "?");
    objects[key] = objects.value(key).toInt() + 1;
  }

  const TClientModuleSym& symbolModule = client.GetSymbolModule();
  QJsonArray symbols;
  for (int32_t i = 0; i < symbolModule.GetDefinitionCount(); ++i) {
    const std::string_view name = symbolModule.GetDefinition(i)->GetName();
    symbols.append(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }

  // Every picture the page shows, with whether its file could be read.
  QJsonArray images;
  for (int32_t i = 0; i < client.ObjectCount(); ++i)
    ForEachImage(client.ObjectAtIndex(i), [&images](TImage& image) {
      QJsonObject entry;
      entry["file"] = QString::fromStdString(image.GetFileName());
      entry["loaded"] = image.HasPicture();
      if (image.HasPicture()) {
        entry["width"] = image.GetImageWidth();
        entry["height"] = image.GetImageHeight();
        entry["bits"] = image.GetBitsPerPixel();
        entry["metafile"] = image.IsMetafile();
      } else {
        entry["error"] = QString::fromStdString(image.LastErrorText());
      }
      images.append(entry);
    });

  QJsonObject info;
  info["fileVersion"] = fileVersion;
  info["paper"] = paper;
  info["layers"] = layers;
  info["objectCount"] = client.ObjectCount();
  info["objects"] = objects;
  info["symbols"] = symbols;
  info["images"] = images;
  return info;
}
