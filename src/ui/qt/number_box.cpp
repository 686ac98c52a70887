#include "ui/qt/number_box.hpp"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "app/number_box.hpp"

namespace proxylist {
namespace {

QString typed_text_kept(const QString& typed) {
    const QByteArray utf8 = typed.toUtf8();
    return QString::fromStdString(number_box_typed_text(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

// Delete and Backspace carry a character code in Qt, and so may Ctrl or Alt with a letter; they
// are editing keys and shortcuts (copy, cut, paste, select all), not typing.
bool is_typing(const QKeyEvent& event) {
    if (event.text().isEmpty() || event.key() == Qt::Key_Delete ||
        event.key() == Qt::Key_Backspace) {
        return false;
    }
    return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

NumberBox::NumberBox(const EditBoxSettings& settings, QWidget* parent)
    : SingleLineBox(settings, parent), range_(settings.whole_number.value_or(WholeNumberRange{})) {}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (!is_typing(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    const QString kept = typed_text_kept(typed);
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Dropped silently; whatever part passes goes in as if typed alone.
    if (!kept.isEmpty()) {
        insert(kept);
    }
    event->accept();
}

void NumberBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const QString kept = typed_text_kept(commit);
    if (kept == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    // A context menu takes the focus only for a moment; the user may be pasting through it.
    if (event->reason() != Qt::PopupFocusReason) {
        correct_text();
    }
    SingleLineBox::focusOutEvent(event);
}

void NumberBox::correct_text() {
    const QByteArray utf8 = text().toUtf8();
    const int selection = selectionStart();
    const int start = selection >= 0 ? selection : cursorPosition();
    const auto correction = number_box_focus_loss(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
        static_cast<std::size_t>(start), range_);
    if (!correction) {
        return;
    }
    setText(QString::fromStdString(correction->text));
    setCursorPosition(static_cast<int>(correction->caret));
}

}  // namespace proxylist
