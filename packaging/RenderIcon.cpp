// Renders the program's SVG icon into the PNG sizes of the hicolor theme,
// at build time, so the icon is drawn once and sharp at every size.
//
//   vekta-render-icon IN.svg OUT.png SIZE

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
  if (argc != 4) {
    std::fputs("usage: vekta-render-icon IN.svg OUT.png SIZE\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const int size = std::atoi(argv[3]);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || size < 1 || size > 1024) {
    std::fprintf(stderr, "vekta-render-icon: cannot render %s at %s\n", argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]))) {
    std::fprintf(stderr, "vekta-render-icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
