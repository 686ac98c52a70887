// A label that paints itself: a fill in the window's background colour and its text once, on
// one line, centred vertically. It takes no part in the visual style and never takes focus.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace proxylist {

class SelfPaintedLabel final : public QWidget {
    Q_OBJECT

  public:
    SelfPaintedLabel(const QString& text, Qt::Alignment horizontal, const QColor& text_colour,
                     QWidget* parent);

    [[nodiscard]] const QString& text() const noexcept { return text_; }
    [[nodiscard]] Qt::Alignment alignment() const noexcept { return alignment_; }
    [[nodiscard]] const QColor& text_colour() const noexcept { return text_colour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    Qt::Alignment alignment_;
    QColor text_colour_;
};

}  // namespace proxylist
