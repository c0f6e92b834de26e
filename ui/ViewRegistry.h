#pragma once

class QWidget;
class TVue;

// Which widget shows which view. A view has at most one widget; binding
// another replaces the first. The entry disappears with the widget, so a
// lookup never returns a destroyed widget. Nothing else is kept: the views
// and their widgets are owned elsewhere (by the views that own their
// widgets, by Qt's object tree, or by the caller).
void BindViewWidget(TVue* view, QWidget* widget);
// Forgets the view (its widget is left alone).
void UnbindView(const TVue* view);
// The widget of view, or null.
QWidget* ViewWidget(const TVue* view);
// The top-level window that holds the widget of view, or null.
QWidget* ViewWindow(const TVue* view);
