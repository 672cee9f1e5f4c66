#pragma once
// The program's icons, drawn in code at any size: the application and caption icons, the
// caption buttons with their pointed-at variants, and the link icon.
#include <QPixmap>
#include <QSize>

namespace zentrel {

// The icon resource at its natural size (IconCatalog), or at `size` when given. An unknown
// resource gives a null pixmap.
QPixmap iconPixmap(int resource, QSize size = QSize());

} // namespace zentrel
