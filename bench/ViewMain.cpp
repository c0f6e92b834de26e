// vekta-bench-view: how long the document window keeps its user waiting on
// a large page. The window draws its page image while the event loop waits,
// so the time each step takes is the time the window stops answering:
//
//   open     reading the document, then its first picture
//   zoom     the whole view again at 300 %
//   scroll   three lines down (a strip is drawn, the rest moves)
//   page     a screen down (all of it drawn)
//   edit     the area an edited object repaints (300 x 200 pixels)
//
// Each step is taken --runs times (3 unless told) and the longest is shown,
// in milliseconds, one Markdown row per document:
//
//   vekta-bench-view [--runs R] DOC.vk1 ...
//
// bench/view.sh makes the documents and prints the table.
#include "DocumentFile.h"
#include "ImageFactories.h"
#include "ObjectFactories.h"
#include "TClientWidget.h"
#include "TWindow.h"
#include "TaClientPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 900;

double Milliseconds(const std::function<void()>& step)
{
  QElapsedTimer timer;
  timer.start();
  step();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Key(QWidget* widget, int key)
{
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

struct Times
{
  double open = 0, zoom = 0, scroll = 0, page = 0, edit = 0;
  void Keep(const Times& t)
  {
    open = std::max(open, t.open);
    zoom = std::max(zoom, t.zoom);
    scroll = std::max(scroll, t.scroll);
    page = std::max(page, t.page);
    edit = std::max(edit, t.edit);
  }
};

bool Measure(const std::string& path, Times& times)
{
  TaClientPage client;
  TWindow frame(0, 0, kWidth, kHeight, "Vekta", nullptr);
  frame.CreateStatusBar();
  // The frame owns the widget from here on.
  auto* widget = new TClientWidget(client);
  frame.SetClient(&client);
  frame.Widget()->show();
  QApplication::processEvents();
  bool loaded = false;
  times.open = Milliseconds([&] {
    loaded = LoadDocument(client, path.c_str()) != 0;
    widget->InvalidateArea(nullptr);
    widget->PageImage();
  });
  if (!loaded)
    return false;
  times.zoom = Milliseconds([&] {
    client.SetZoom(300);
    widget->PageImage();
  });
  times.scroll = Milliseconds([&] {
    Key(widget, Qt::Key_Down);
    widget->PageImage();
  });
  times.page = Milliseconds([&] {
    Key(widget, Qt::Key_PageDown);
    widget->PageImage();
  });
  times.edit = Milliseconds([&] {
    const QRect area(400, 300, 300, 200);
    widget->InvalidateArea(&area);
    widget->PageImage();
  });
  QApplication::processEvents();
  return true;
}

} // namespace

int main(int argc, char** argv)
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  RegisterObjectFactories();
  RegisterImageFactories();
  int runs = 3;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else
      paths.push_back(arg);
  }
  if (paths.empty()) {
    std::fputs("usage: vekta-bench-view [--runs R] DOC.vk1 ...\n", stderr);
    return 2;
  }
  std::printf("| document | open ms | zoom 300 %% ms | scroll ms | page down ms | edit ms |\n");
  std::printf("|---|---:|---:|---:|---:|---:|\n");
  for (const std::string& path : paths) {
    Times longest;
    for (int run = 0; run < runs; ++run) {
      Times times;
      if (!Measure(path, times)) {
        std::fprintf(stderr, "%s: cannot be opened\n", path.c_str());
        return 1;
      }
      longest.Keep(times);
    }
    std::printf("| %s | %.0f | %.0f | %.0f | %.0f | %.0f |\n",
                std::filesystem::path(path).filename().string().c_str(), longest.open, longest.zoom,
                longest.scroll, longest.page, longest.edit);
  }
  return 0;
}
