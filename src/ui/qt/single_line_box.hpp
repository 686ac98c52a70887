// A single-line edit box made from its row of the layout: border, alignment, colours, length
// limit, read-only state and initial text. Two settings go beyond what QLineEdit does by itself:
// a box that does not scroll sideways takes no more text than its width shows, and a box that
// does not hide its selection keeps it, shown, when the focus leaves.
#pragma once

#include <QLineEdit>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

namespace proxylist {

class SingleLineBox : public QLineEdit {
    Q_OBJECT

  public:
    SingleLineBox(const EditBoxSettings& settings, QWidget* parent);

    [[nodiscard]] bool hides_selection_without_focus() const noexcept { return hides_selection_; }
    [[nodiscard]] bool scrolls_sideways() const noexcept { return scrolls_sideways_; }
    // Whether the text fits inside the box without scrolling.
    [[nodiscard]] bool fits(const QString& text) const;

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void note_text(const QString& text);
    void refuse_overflow(const QString& edited);

    bool hides_selection_;
    bool scrolls_sideways_;
    // The text before the latest change and after it, so that an edit can be taken back.
    QString previous_text_;
    QString current_text_;
};

}  // namespace proxylist
