// A push button whose caption is centred and wraps onto further lines when it is too wide, which
// QPushButton's own drawing never does. Never the default button: Enter clicks nothing.
#pragma once

#include <QPushButton>

namespace proxylist {

class WrappingPushButton final : public QPushButton {
    Q_OBJECT

  public:
    WrappingPushButton(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace proxylist
