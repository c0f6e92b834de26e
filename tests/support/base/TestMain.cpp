// The main() of every test program: fonts, images and painters need a
// QGuiApplication, so one lives for the whole run (a QApplication for the
// programs that test widgets). Tests run with the offscreen platform unless
// the caller chose another.
#ifdef VEKTA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TestApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
