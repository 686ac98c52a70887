// A single-line box for whole numbers: typed characters (and text an input method commits) go
// through the typing filter, and the text is corrected when the box loses the focus. A paste
// is not filtered; the correction on focus loss takes care of it.
#pragma once

#include <QLineEdit>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

namespace proxylist {

class NumberBox final : public QLineEdit {
    Q_OBJECT

  public:
    NumberBox(WholeNumberRange range, QWidget* parent);

    [[nodiscard]] WholeNumberRange range() const noexcept { return range_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void correct_text();

    WholeNumberRange range_;
};

}  // namespace proxylist
