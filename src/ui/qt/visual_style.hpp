// The visual-style component on Qt: style 1, 2 or 3 makes an AccentStyle the application's
// style, which restyles every widget now and every widget made later and repaints them; any
// other number gives the system style back.
#pragma once

#include <QString>

#include "app/visual_style.hpp"

namespace proxylist {

class QtVisualStyle final : public VisualStyle {
  public:
    // Notes the system style that "off" returns to. Needs the QApplication.
    QtVisualStyle();

    void switch_on(int style) override;

    // 1 to 3 while a style is on, 0 while the system style draws.
    [[nodiscard]] static int current_style();
    [[nodiscard]] const QString& system_style() const noexcept { return system_style_; }

  private:
    QString system_style_;
};

}  // namespace proxylist
