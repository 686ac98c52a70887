// A drop-down list that cannot be typed into, with each item of its open list one pixel (or
// the layout's amount) taller than the default item.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

namespace proxylist {

class TallerItemDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    explicit TallerItemDelegate(int extra_height) : extra_height_(extra_height) {}

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override;

  private:
    int extra_height_;
};

class DropDownList final : public QComboBox {
    Q_OBJECT

  public:
    DropDownList(const QStringList& items, int current_item, int extra_item_height,
                 QWidget* parent);
    ~DropDownList() override;

  private:
    // Owned here rather than by the view, which only points at it.
    TallerItemDelegate item_delegate_;
};

}  // namespace proxylist
