// A push button made from its row of the layout. Its caption is centred and, when the row says
// so, wraps onto further lines when it is too wide, which QPushButton's own drawing never does.
// It never becomes the default button by taking the focus.
#pragma once

#include <QPushButton>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

namespace proxylist {

class PushButton final : public QPushButton {
    Q_OBJECT

  public:
    PushButton(const QString& caption, const ButtonSettings& settings, QWidget* parent);

    [[nodiscard]] bool caption_wraps() const noexcept { return caption_wraps_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool caption_wraps_;
};

}  // namespace proxylist
