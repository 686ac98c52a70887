// A single-line box for whole numbers: typed characters (and text an input method commits) go
// through the typing filter, and the text is corrected when the box loses the focus. A paste
// is not filtered; the correction on focus loss takes care of it.
#pragma once

#include "ui/qt/single_line_box.hpp"

namespace proxylist {

class NumberBox final : public SingleLineBox {
    Q_OBJECT

  public:
    // The settings hold the range of the whole numbers the box keeps.
    NumberBox(const EditBoxSettings& settings, QWidget* parent);

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
