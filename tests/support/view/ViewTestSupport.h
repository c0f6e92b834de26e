#pragma once

#include "Defaults.h"
#include "Messages.h"
#include "TClient.h"
#include "TData.h"
#include "TDataContainer.h"
#include "TScriptedInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// An object that offers chosen menu entries, takes layer masks and keeps an
// angle, so tests can drive the base behaviour through it.
class TestObject : public TData
{
public:
  TestObject(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t maskA = 0, uint32_t maskB = 0x10,
             uint32_t typeName = 0)
      : m_maskA(maskA), m_maskB(maskB), m_typeName(typeName)
  {
    Assign(TRect(l, t, r, b));
  }

  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    switch (message) {
    case MSG_MASK_A:
      return m_maskA;
    case MSG_MASK_B:
      return m_maskB;
    case MSG_TYPE_NAME:
      return m_typeName;
    case MSG_GET_ANGLE:
      return static_cast<uint32_t>(angle);
    case MSG_SET_ANGLE:
      angle = a;
      angleCommand = b;
      return 1;
    default:
      return TData::Message(message, a, b, p);
    }
  }
  bool Notify(uint16_t command, TRect* p) override
  {
    notified.push_back(command);
    return TData::Notify(command, p);
  }

  int32_t angle = 0;
  int32_t angleCommand = 0;
  std::vector<uint16_t> notified;

private:
  uint32_t m_maskA, m_maskB, m_typeName;
};

// A selection carrier: a class-34 object holding objects it does not own.
class TestCarrier : public TData, public TDataContainer
{
public:
  explicit TestCarrier(std::vector<TData*> children) : m_children(std::move(children)) {}
  bool IsA(int32_t id) const override { return id == kTDataGroup || TData::IsA(id); }
  int32_t ChildCount() const override { return static_cast<int32_t>(m_children.size()); }
  TData* ChildAt(int32_t i) const override
  {
    return i >= 0 && i < ChildCount() ? m_children[static_cast<size_t>(i)] : nullptr;
  }

private:
  std::vector<TData*> m_children;
};

// A page view that remembers the commands it was sent and picks one chosen
// object everywhere.
class TestClient : public TClient
{
public:
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    received.push_back({message, p});
    return TClient::Message(message, a, b, p);
  }
  TData* ObjectAt(int32_t, int32_t) override { return picked; }

  struct Received
  {
    uint32_t message;
    void* object;
  };
  std::vector<Received> received;
  TData* picked = nullptr;
};

// The process-wide defaults, put back after each test that changes them.
class DefaultsGuard
{
public:
  DefaultsGuard() : m_pen(DefaultPen()), m_brush(DefaultBrush()), m_text(DefaultTextColor()) {}
  ~DefaultsGuard()
  {
    DefaultPen() = m_pen;
    DefaultBrush() = m_brush;
    DefaultTextColor() = m_text;
  }

private:
  TPen m_pen;
  TBrush m_brush;
  uint32_t m_text;
};

// A page view on a scripted 800 x 1000 window showing an 800 x 1000 paper
// at zoom 100 (one unit per pixel), with whole units as user units.
class ViewTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    client.GetPage()->SetPaperSize(800, 1000);
    client.GetPage()->SetUnitFactor(1.0f);
    client.GetPage()->SetDecimals(0);
    input.Attach(&client);
  }

  TestClient client;
  TScriptedInput input;
};
