#pragma once

// What the tests of point-list objects, curves and sinusoids add to those of
// the other shapes.

#include "ShapeTestSupport.h"

#include <memory>
#include <string>

namespace curves_test {

using shape_test::LeftUnread;
using shape_test::ReadBack;
using shape_test::Written;

// A rectangle as "(left, top, right, bottom)", so that it compares and
// prints readably.
inline std::string Ltrb(const TRect& r)
{
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

// Takes over what a factory made.
template <class T> std::unique_ptr<T> Made(TStreamable* made)
{
  return std::unique_ptr<T>(static_cast<T*>(made));
}

using CurvesTest = shape_test::ShapeViewTest;

} // namespace curves_test
