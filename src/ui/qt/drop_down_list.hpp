// A drop-down list made from its row of the layout: its items (sorted when the row says so), the
// current item, whether it can be typed into, its colours, the height of the items of its open
// list and that list's scroll bar. The open list is never taller than the room the row gives
// it: the height the control is created with, less its closed height.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

// moc cannot read the control names, which are not ASCII; it needs none of these types.
#ifndef Q_MOC_RUN
#include "app/layout.hpp"
#endif

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
    DropDownList(const ComboBoxSettings& settings, QWidget* parent);
    ~DropDownList() override;

    // The most the open list may take, in pixels.
    [[nodiscard]] int open_list_room() const;

    void showPopup() override;

  private:
    // Owned here rather than by the view, which only points at it.
    TallerItemDelegate item_delegate_;
    int height_with_list_;
};

}  // namespace proxylist
