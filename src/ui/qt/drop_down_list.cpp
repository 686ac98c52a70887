#include "ui/qt/drop_down_list.hpp"

#include <QAbstractItemView>

namespace proxylist {

QSize TallerItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(0, extra_height_);
}

DropDownList::DropDownList(const QStringList& items, int current_item, int extra_item_height,
                           QWidget* parent)
    : QComboBox(parent), item_delegate_(extra_item_height) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(items);
    setCurrentIndex(current_item);
    setItemDelegate(&item_delegate_);
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

DropDownList::~DropDownList() {
    // The view must not reach for the delegate while the combo box takes itself apart.
    view()->setItemDelegate(nullptr);
}

}  // namespace proxylist
