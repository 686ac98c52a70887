#include "ui/qt/single_line_box.hpp"

#include <QFocusEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <limits>

#include "ui/qt/box_colours.hpp"

namespace proxylist {
namespace {

// QLineEdit keeps this much room free on either side of its text.
constexpr int text_side_margin = 2;

qsizetype common_prefix(const QString& a, const QString& b) {
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) {
        ++n;
    }
    return n;
}

}  // namespace

SingleLineBox::SingleLineBox(const EditBoxSettings& settings, QWidget* parent)
    : QLineEdit(parent),
      hides_selection_(settings.hides_selection_without_focus),
      scrolls_sideways_(settings.scrolls_sideways) {
    setFrame(settings.sunken_border);
    setAlignment(qt_alignment(settings.alignment) | Qt::AlignVCenter);
    setReadOnly(settings.read_only);
    // QLineEdit's own default limit is 32767 characters; a limit of 0 means none of our own.
    setMaxLength(settings.length_limit > 0 ? settings.length_limit
                                           : std::numeric_limits<int>::max());
    set_box_colours(*this, settings);
    connect(this, &QLineEdit::textChanged, this, &SingleLineBox::note_text);
    if (!scrolls_sideways_) {
        connect(this, &QLineEdit::textEdited, this, &SingleLineBox::refuse_overflow);
    }
}

bool SingleLineBox::fits(const QString& text) const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    // One pixel more for the caret behind the last character.
    return fontMetrics().horizontalAdvance(text) + 1 <= contents.width() - 2 * text_side_margin;
}

void SingleLineBox::note_text(const QString& text) {
    previous_text_ = current_text_;
    current_text_ = text;
}

void SingleLineBox::refuse_overflow(const QString& edited) {
    // A text set by the program may be wider than the box; the user may still shorten it.
    const QFontMetrics metrics = fontMetrics();
    if (fits(edited) ||
        metrics.horizontalAdvance(edited) <= metrics.horizontalAdvance(previous_text_)) {
        return;
    }
    const QString kept = previous_text_;
    const auto caret = static_cast<int>(common_prefix(kept, edited));
    setText(kept);
    setCursorPosition(caret);
}

void SingleLineBox::focusOutEvent(QFocusEvent* event) {
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    QLineEdit::focusOutEvent(event);
    // QLineEdit drops the selection when the focus moves to another control.
    if (!hides_selection_ && start >= 0 && !hasSelectedText()) {
        setSelection(start, length);
    }
}

}  // namespace proxylist
