#include "ui/qt/list_box.hpp"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>
#include <algorithm>

#include "ui/qt/box_colours.hpp"

namespace proxylist {
namespace {

constexpr QChar carriage_return = u'\r';
constexpr QChar line_feed = u'\n';
constexpr QChar lone_line_feed_shown = QChar::LineSeparator;
constexpr QChar lone_carriage_return_shown = u'\u240D';

}  // namespace

QString list_box_display_text(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == carriage_return && i + 1 < text.size() && text[i + 1] == line_feed) {
            // A paragraph break once the document takes the text in.
            shown.append(line_feed);
            ++i;
        } else if (c == carriage_return) {
            shown.append(lone_carriage_return_shown);
        } else if (c == line_feed) {
            shown.append(lone_line_feed_shown);
        } else {
            shown.append(c);
        }
    }
    return shown;
}

QString list_box_text_from_display(const QString& raw_document_text) {
    QString text;
    text.reserve(raw_document_text.size());
    for (const QChar c : raw_document_text) {
        if (c == QChar::ParagraphSeparator) {
            text.append(u"\r\n");
        } else if (c == lone_line_feed_shown) {
            text.append(line_feed);
        } else if (c == lone_carriage_return_shown) {
            text.append(carriage_return);
        } else {
            text.append(c);
        }
    }
    return text;
}

ListBox::ListBox(const EditBoxSettings& settings, QWidget* parent)
    : QPlainTextEdit(parent),
      takes_enter_(settings.enter_inserts_line_break),
      length_limit_(std::max(settings.length_limit, 0)) {
    setFrameStyle(settings.sunken_border ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    setReadOnly(settings.read_only);
    set_box_colours(*this, settings);
    // An edit box's scroll bar stays in place, greyed while there is nothing to scroll.
    setVerticalScrollBarPolicy(settings.scroll_bars == ScrollBars::vertical
                                   ? Qt::ScrollBarAlwaysOn
                                   : Qt::ScrollBarAlwaysOff);
    // The box scrolls sideways with the caret, but never shows a bar for it.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(qt_alignment(settings.alignment));
    document()->setDefaultTextOption(option);
    // Proxy addresses have no spaces; a long one still has to wrap at the edge.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setLineWrapMode(settings.scrolls_sideways ? QPlainTextEdit::NoWrap
                                              : QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
}

QString ListBox::list_text() const {
    // The raw text keeps every character as stored; toPlainText() would turn no-break spaces
    // into spaces and line separators into line feeds.
    return list_box_text_from_display(document()->toRawText());
}

void ListBox::set_list_text(const QString& text) {
    setPlainText(list_box_display_text(text));
    moveCursor(QTextCursor::Start);
}

qsizetype ListBox::room_for(const QString& text) const {
    if (length_limit_ == 0) {
        return text.size();
    }
    const qsizetype held = list_text().size();
    const qsizetype replaced = list_box_text_from_display(textCursor().selectedText()).size();
    return std::clamp<qsizetype>(length_limit_ - (held - replaced), 0, text.size());
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (!takes_enter_ || isReadOnly())) {
        // Left to the window, where Enter clicks nothing.
        event->ignore();
        return;
    }
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    const bool typing =
        enter || (!shortcut && !event->text().isEmpty() && event->text().front().isPrint());
    if (typing) {
        const QString typed = enter ? QStringLiteral("\r\n") : event->text();
        if (room_for(typed) < typed.size()) {
            event->accept();
            return;
        }
    }
    // Shift+Enter would insert a line separator, which reads back as a lone LF; every Enter is
    // a CR LF line break here.
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        insertPlainText(QString(line_feed));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ListBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const qsizetype room = room_for(commit);
    if (room == commit.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(commit.left(room), event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    event->accept();
}

void ListBox::insertFromMimeData(const QMimeData* source) {
    if (length_limit_ == 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Every line end of a pasted text becomes a CR LF line break in the box.
    QString pasted = source->text();
    pasted.replace(QStringLiteral("\r\n"), QString(line_feed));
    pasted.replace(carriage_return, line_feed);
    pasted.replace(line_feed, QStringLiteral("\r\n"));
    QString kept = pasted.left(room_for(pasted));
    if (kept.endsWith(carriage_return)) {
        kept.chop(1);  // Half a line break.
    }
    insertPlainText(kept);
    ensureCursorVisible();
}

}  // namespace proxylist
