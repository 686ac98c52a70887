// The look of visual styles 1 to 3: light, flat controls with rounded corners and one accent
// colour per style (1 slate, 2 lake blue, 3 pine green). Edit boxes, drop-down lists with
// their open lists, and push buttons are drawn here; everything else, labels included, keeps
// the look of the system style underneath.
#pragma once

#include <QColor>
#include <QProxyStyle>

class QStyleOptionSlider;

namespace proxylist {

class AccentStyle final : public QProxyStyle {
    Q_OBJECT

  public:
    // `system_style` names the style that draws what this one leaves alone.
    AccentStyle(const QString& system_style, int style_number);

    [[nodiscard]] int style_number() const noexcept { return style_number_; }
    [[nodiscard]] const QColor& accent() const noexcept { return accent_; }

    void polish(QPalette& palette) override;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw_field(QPainter* painter, const QStyleOption& option, bool fill) const;
    void draw_button_panel(QPainter* painter, const QStyleOption& option) const;
    void draw_scroll_bar(QPainter* painter, const QStyleOptionSlider& option,
                         const QWidget* widget) const;
    void draw_combo_box(QPainter* painter, const QStyleOptionComplex& option,
                        const QWidget* widget) const;

    int style_number_;
    QColor accent_;
};

// The accent of style 1, 2 or 3.
[[nodiscard]] QColor accent_colour(int style_number);

}  // namespace proxylist
