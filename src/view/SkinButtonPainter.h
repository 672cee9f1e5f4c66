#pragma once
// Paints a skinned or shaded button from its state, in the order the kit defines: frame,
// background (or texture), edges, icon, text, focus rectangle.
#include "ui/SkinButton.h"

#include <QString>

class QPainter;
class QRect;

namespace zentrel {

void paintSkinButton(QPainter& p, const QRect& rect, const SkinButton& skin,
                     const SkinButton::DrawState& state, const QString& text);

} // namespace zentrel
