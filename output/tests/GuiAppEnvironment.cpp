#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Fonts are resolved through the font database, which needs a
// QGuiApplication; one is made for the whole test program (the tests run
// with the offscreen platform).
class GuiAppEnvironment : public ::testing::Environment
{
public:
  void SetUp() override { m_app = std::make_unique<QGuiApplication>(m_argc, m_argv); }
  void TearDown() override { m_app.reset(); }

private:
  int m_argc = 1;
  char m_name[16] = "output_tests";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QGuiApplication> m_app;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

} // namespace
