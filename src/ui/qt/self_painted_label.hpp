// A label that paints itself: a fill in the window's background colour and its text once, on
// one line, centred vertically. It takes no part in the visual style and never takes focus. It
// is a QLabel so that the control it names (its buddy) is announced as labelled by it.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

namespace proxylist {

class SelfPaintedLabel final : public QLabel {
    Q_OBJECT

  public:
    SelfPaintedLabel(const QString& text, Qt::Alignment horizontal, const QColor& text_colour,
                     QWidget* parent);

    [[nodiscard]] const QColor& text_colour() const noexcept { return text_colour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor text_colour_;
};

}  // namespace proxylist
