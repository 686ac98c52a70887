#include "ui/qt/box_colours.hpp"

#include <QPalette>

namespace proxylist {

QColor qcolor(Colour colour) {
    return {colour.red, colour.green, colour.blue};
}

Qt::Alignment qt_alignment(TextAlignment alignment) {
    return alignment == TextAlignment::centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

void set_box_colours(QWidget& box, const EditBoxSettings& settings) {
    const QColor text = qcolor(settings.text_colour);
    const QColor background = qcolor(settings.background);
    QPalette palette = box.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Base, background);
    }
    if (settings.hides_selection_without_focus) {
        palette.setColor(QPalette::Inactive, QPalette::Highlight, background);
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    }
    box.setPalette(palette);
}

}  // namespace proxylist
