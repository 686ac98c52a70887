#include "ui/qt/visual_style.hpp"

#include <QApplication>
#include <QStyleFactory>
#include <memory>

#include "ui/qt/accent_style.hpp"

namespace proxylist {
namespace {

QString name_of_system_style() {
    QStyle* style = QApplication::style();
    // Started while a style was on: the system style is the one underneath it.
    if (auto* accent = qobject_cast<AccentStyle*>(style)) {
        style = accent->baseStyle();
    }
    return style->name();
}

}  // namespace

QtVisualStyle::QtVisualStyle() : system_style_(name_of_system_style()) {}

int QtVisualStyle::current_style() {
    const auto* accent = qobject_cast<const AccentStyle*>(QApplication::style());
    return accent != nullptr ? accent->style_number() : 0;
}

void QtVisualStyle::switch_on(int style) {
    if (style >= 1 && style <= 3) {
        if (current_style() == style) {
            return;
        }
        // QApplication takes the style over and deletes the one it replaces.
        QApplication::setStyle(std::make_unique<AccentStyle>(system_style_, style).release());
        return;
    }
    if (current_style() == 0) {
        return;
    }
    std::unique_ptr<QStyle> system(QStyleFactory::create(system_style_));
    if (system == nullptr) {
        system.reset(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    QApplication::setStyle(system.release());
}

}  // namespace proxylist
