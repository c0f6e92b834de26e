#pragma once

#include "TPage.h"

#include <QDialog>

class TData;

// The picture viewer: a frameless window as large as the screen with a
// black background, showing one object (a copy made for it) fitted to the
// window with paint mode 32. Any key or a right click closes it; dragging
// with the left button sizes the picture about its centre.
class TApercu : public QDialog
{
public:
  // page gives the units the object is measured in.
  TApercu(TData& object, const TPage& page, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  TData& m_object;
  TPage m_page;
  bool m_fitted = false; // fitted to the window once, then sized by the user
  QPoint m_dragFrom;     // where the left button went down; null when it is up
};
