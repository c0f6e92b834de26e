#include "ToolIcons.h"

#include "CommandIds.h"
#include "DarkPalette.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

// Every toolbar picture is drawn on a 24 x 24 grid and rendered at these
// screen scales, so it is sharp on every screen.
constexpr int kGrid = 24;
constexpr int kScales[] = {1, 2, 3, 4};
constexpr int kProgramSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The pictures' outline and accent colours as the files have them (for a
// light desktop), and what they become on a dark one: every picture then
// stands out from the toolbar it sits on.
constexpr const char* kInk = "#2c3e50";
constexpr const char* kInkOnDark = "#dde5ee";
constexpr const char* kAccent = "#2f6fb8";
constexpr const char* kAccentOnDark = "#5b9be0";

// The picture's file, recoloured for the desktop's palette.
QByteArray PictureFor(const QString& path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QByteArray svg = file.readAll();
  if (IsDarkPalette(QGuiApplication::palette())) {
    svg.replace(kInk, kInkOnDark);
    svg.replace(kAccent, kAccentOnDark);
  }
  return svg;
}

void AddRendering(QIcon& icon, QSvgRenderer& renderer, int size, qreal scale)
{
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    renderer.render(&painter);
  }
  pixmap.setDevicePixelRatio(scale);
  icon.addPixmap(pixmap);
}

const char* PictureName(uint16_t command)
{
  switch (command) {
  case CM_NEW:
    return "new";
  case CM_OPEN:
    return "open";
  case CM_CLOSE:
    return "close";
  case CM_SAVE:
    return "save";
  case CM_SAVE_ALL:
    return "save-all";
  case CM_MOVE:
    return "move";
  case CM_COPY_PASTE:
    return "copy-paste";
  case CM_DELETE:
    return "delete";
  case CM_UNDO:
    return "undo";
  case CM_REDO:
    return "redo";
  case CM_NEW_TEXT:
    return "text";
  case CM_NEW_LINE:
    return "line";
  case CM_NEW_POLYLINE:
    return "polyline";
  case CM_NEW_RECTANGLE:
    return "rectangle";
  case CM_NEW_ROUNDRECT:
    return "round-rectangle";
  case CM_NEW_CIRCLE:
    return "circle";
  case CM_NEW_IMAGE:
    return "image";
  case CM_NEW_BEZIER:
    return "bezier";
  case CM_NEW_POLYGON:
    return "polygon";
  case CM_NEW_SINUSOID:
    return "sinusoid";
  case CM_NEW_SYMBOL:
    return "symbol";
  case CM_NEW_DIMENSION:
    return "dimension";
  case CM_NEW_ARROW:
    return "arrow";
  case CM_NEW_TIME:
    return "time";
  case CM_NEW_DATE:
    return "date";
  case CM_NEW_FILENAME:
    return "file-name";
  default:
    return nullptr;
  }
}

} // namespace

QIcon ToolIcon(uint16_t command)
{
  const char* name = PictureName(command);
  if (!name)
    return QIcon();
  QSvgRenderer renderer(PictureFor(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name))));
  if (!renderer.isValid())
    return QIcon();
  QIcon icon;
  for (const int scale : kScales)
    AddRendering(icon, renderer, kGrid * scale, scale);
  return icon;
}

QIcon ProgramIcon()
{
  QSvgRenderer renderer(QStringLiteral(":/icons/vekta.svg"));
  QIcon icon;
  if (!renderer.isValid())
    return icon;
  for (const int size : kProgramSizes)
    AddRendering(icon, renderer, size, 1);
  return icon;
}
