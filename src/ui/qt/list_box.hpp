// 编辑框4: the multi-line box that shows the list. Its text, as the rest of the program sees it,
// has CR LF line breaks; a lone CR or a lone LF in that text is kept as it is, so that what is
// set into the box comes back unchanged when it is read.
//
// On screen a CR LF pair is a line break (a paragraph of the document). A lone LF is shown as a
// line break inside the paragraph (U+2028, LINE SEPARATOR), as most editors show it. A lone CR
// is shown as the visible symbol ␍ (U+240D). Neither character can come from code page 936
// text, so they never stand for anything else; a user who pastes one of them gets the line end
// it stands for.
#pragma once

#include <QPlainTextEdit>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

namespace proxylist {

// CR LF text as the box holds it on screen.
[[nodiscard]] QString list_box_display_text(const QString& text);
// The box's raw document text (paragraphs separated by U+2029) back as CR LF text.
[[nodiscard]] QString list_box_text_from_display(const QString& raw_document_text);

// Made from its row of the layout: border, scroll bar, alignment, colours, wrapping, Enter,
// length limit and read-only state. The length limit counts the characters of the CR LF text,
// as a single-line box counts its characters; it holds for what the user types, pastes or
// commits through an input method, not for a text the program sets.
class ListBox final : public QPlainTextEdit {
    Q_OBJECT

  public:
    ListBox(const EditBoxSettings& settings, QWidget* parent);

    // What the box holds, with CR LF line breaks.
    [[nodiscard]] QString list_text() const;
    // Shows exactly this text; the caret goes to the start.
    void set_list_text(const QString& text);

    [[nodiscard]] bool enter_inserts_line_break() const noexcept { return takes_enter_; }
    // 0: no limit.
    [[nodiscard]] int length_limit() const noexcept { return length_limit_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // How many characters of `text` still fit under the length limit, in place of the
    // selection.
    [[nodiscard]] qsizetype room_for(const QString& text) const;

    bool takes_enter_;
    int length_limit_;
};

}  // namespace proxylist
