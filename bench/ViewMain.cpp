// vekta-bench-view: how long the document window keeps its user waiting on
// a large page. A large page is drawn behind the window's back, so each step
// gives three times: the longest the event loop was held at once (the window
// not answering), how long until the first band of the new picture was
// shown, and how long until the picture was complete:
//
//   open     reading the document (the window waits for it), then its
//            first picture
//   zoom     the whole view again at 300 %
//   scroll   three lines down (a strip is drawn, the rest moves)
//   page     a screen down (all of it drawn)
//   edit     the area an edited object repaints (300 x 200 pixels)
//
// Each step is taken --runs times (3 unless told) and the longest is shown,
// in milliseconds, one Markdown row per document:
//
//   vekta-bench-view [--runs R] [--waiting] DOC.vk1 ...
//
// --waiting draws every page while the window waits, as small pages are.
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
#include <QEventLoop>
#include <QKeyEvent>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

// One step: the longest the event loop was held, and the time until the
// picture was whole.
struct Step
{
  double held = 0, first = 0, whole = 0;
  void Keep(const Step& s)
  {
    held = std::max(held, s.held);
    first = std::max(first, s.first);
    whole = std::max(whole, s.whole);
  }
};

// Takes action and paints the window as the screen would, then runs the
// event loop, as the program does, until the window has its whole picture.
// Meanwhile another thread posts a call to the loop every few milliseconds
// and the time each waits to be run is the time the loop was held.
Step Take(TClientWidget* widget, const std::function<void()>& action)
{
  QElapsedTimer total;
  total.start();
  Step step;
  step.held = Milliseconds([&] {
    action();
    widget->repaint();
  });
  if (widget->Rendering()) {
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::mutex lock;
    double longest = 0;
    const int64_t bands = widget->BandsShown();
    std::thread pinger([&] {
      while (!done.load()) {
        QElapsedTimer posted;
        posted.start();
        QMetaObject::invokeMethod(
            &loop,
            [&, posted]() {
              {
                std::lock_guard hold(lock);
                longest = std::max(longest, static_cast<double>(posted.nsecsElapsed()) / 1e6);
              }
              if (step.first == 0 && widget->BandsShown() > bands)
                step.first = static_cast<double>(total.nsecsElapsed()) / 1e6;
              if (!widget->Rendering())
                loop.quit();
            },
            Qt::QueuedConnection);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    loop.exec();
    done.store(true);
    pinger.join();
    QApplication::processEvents();
    std::lock_guard hold(lock);
    step.held = std::max(step.held, longest);
  }
  // What was put in reaches the screen.
  step.held = std::max(step.held, Milliseconds([widget] { widget->repaint(); }));
  step.whole = static_cast<double>(total.nsecsElapsed()) / 1e6;
  if (step.first == 0)
    step.first = step.whole;
  return step;
}

struct Times
{
  double read = 0;
  Step open, zoom, scroll, page, edit;
  void Keep(const Times& t)
  {
    read = std::max(read, t.read);
    open.Keep(t.open);
    zoom.Keep(t.zoom);
    scroll.Keep(t.scroll);
    page.Keep(t.page);
    edit.Keep(t.edit);
  }
};

bool g_waiting = false;

bool Measure(const std::string& path, Times& times)
{
  TaClientPage client;
  TWindow frame(0, 0, kWidth, kHeight, "Vekta", nullptr);
  frame.CreateStatusBar();
  // The frame owns the widget from here on.
  auto* widget = new TClientWidget(client);
  if (g_waiting)
    widget->SetBackgroundFrom(std::numeric_limits<int32_t>::max());
  frame.SetClient(&client);
  frame.Widget()->show();
  QApplication::processEvents();
  bool loaded = false;
  times.read = Milliseconds([&] { loaded = LoadDocument(client, path.c_str()) != 0; });
  if (!loaded)
    return false;
  times.open = Take(widget, [&] { widget->InvalidateArea(nullptr); });
  times.open.held = std::max(times.open.held, times.read);
  times.open.first += times.read;
  times.open.whole += times.read;
  times.zoom = Take(widget, [&] { client.SetZoom(300); });
  times.scroll = Take(widget, [&] { Key(widget, Qt::Key_Down); });
  times.page = Take(widget, [&] { Key(widget, Qt::Key_PageDown); });
  times.edit = Take(widget, [&] {
    const QRect area(400, 300, 300, 200);
    widget->InvalidateArea(&area);
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
    else if (arg == "--waiting")
      g_waiting = true;
    else
      paths.push_back(arg);
  }
  if (paths.empty()) {
    std::fputs("usage: vekta-bench-view [--runs R] [--waiting] DOC.vk1 ...\n", stderr);
    return 2;
  }
  // Each step: held / first band / whole, in milliseconds.
  std::printf("| document | read ms | open | zoom 300 %% | scroll | page down | edit |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
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
    const auto cell = [](const Step& step) {
      return std::to_string(std::lround(step.held)) + " / " + std::to_string(std::lround(step.first)) +
             " / " + std::to_string(std::lround(step.whole));
    };
    std::printf("| %s | %.0f | %s | %s | %s | %s | %s |\n",
                std::filesystem::path(path).filename().string().c_str(), longest.read,
                cell(longest.open).c_str(), cell(longest.zoom).c_str(), cell(longest.scroll).c_str(),
                cell(longest.page).c_str(), cell(longest.edit).c_str());
  }
  return 0;
}
