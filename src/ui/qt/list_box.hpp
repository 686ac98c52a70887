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

namespace proxylist {

// CR LF text as the box holds it on screen.
[[nodiscard]] QString list_box_display_text(const QString& text);
// The box's raw document text (paragraphs separated by U+2029) back as CR LF text.
[[nodiscard]] QString list_box_text_from_display(const QString& raw_document_text);

class ListBox final : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit ListBox(QWidget* parent);

    // What the box holds, with CR LF line breaks.
    [[nodiscard]] QString list_text() const;
    // Shows exactly this text; the caret goes to the start.
    void set_list_text(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace proxylist
