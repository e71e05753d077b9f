#pragma once
// The layout rule's boxes of a page's own controls: each page reads the boxes of the controls
// it keeps and places them again, so the rule never reaches into a page.
#include <QWidget>

#include "ui/layout_rule.h"

namespace orvelo::ui {

inline Box BoxOf(const QWidget* w) { return {w->x(), w->y(), w->width(), w->height()}; }
inline void Place(QWidget* w, const Box& b) { w->setGeometry(b.left, b.top, b.width, b.height); }

}  // namespace orvelo::ui
