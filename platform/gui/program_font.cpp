#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "platform/gui/registry.h"

namespace gui::detail {

// Sizes and positions are given in pixels for a small 8-point sans font with narrow metrics. The
// desktop's usual DejaVu Sans is about an eighth wider and cuts labels and list entries off;
// Liberation Sans (fonts-liberation2) has the metrics the pixel sizes were made for. Without it
// the desktop's own family stands, at the same size.
void applyProgramFont()
{
    const QString family = QStringLiteral("Liberation Sans");
    QFont font = QApplication::font();
    if (QFontDatabase::families().contains(family))
        font.setFamily(family);
    font.setPointSize(8);
    QApplication::setFont(font);
}

}  // namespace gui::detail
