#include "ui/qt/list_box.hpp"

#include <QKeyEvent>
#include <QTextDocument>

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

ListBox::ListBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Proxy addresses have no spaces; a long one still has to wrap at the edge.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

void ListBox::keyPressEvent(QKeyEvent* event) {
    // Shift+Enter would insert a line separator, which reads back as a lone LF; every Enter is
    // a CR LF line break here.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        insertPlainText(QString(line_feed));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace proxylist
